#pragma once

#include "core/results/audit_result.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// Narrows a result list to the names that contain a typed text. A name
// matches exactly when the key of the text (unicodeKey) lies inside the key
// of the name, as the audit compares names (letter case and composed or
// decomposed accents aside), and loosely when it does so only once accents
// and width are dropped from both too (looseKey: "pokemon" finds "Pokémon",
// "ｆｕｌｌ" finds "FULL"). A cut name also matches by its whole list line
// ("mario" finds "Dr.zip" of "Dr. Mario"). The exact matches come first,
// each kind in the list's order.
//
// It works a slice at a time (step), so that a million names never keep the
// window waiting. The keys of the list's non-ASCII names are made once, the
// first time they are compared, and kept until the list changes (an ASCII
// name's keys, its lower case, cost next to nothing and are made each time).
// Typing more of the same text compares again only the names that matched.
// The filter keeps the list it works on alive and only reads it: a list that
// is never changed once handed over, such as one of a result snapshot.
class NameFilter {
public:
    // Starts over on `names` for `typed`, with the list lines of its cut
    // names, if any. An empty text, or no list, leaves the filter inactive:
    // every name is shown. The same list again (the same object) keeps the
    // keys made of it.
    void start(std::shared_ptr<const ResultList> names, std::string_view typed,
               std::shared_ptr<const CutLines> cutLines = nullptr);
    // Drops the list and what is kept of it.
    void forget();

    // Compares names until every one is compared or `budget` has passed;
    // true when every one is compared.
    bool step(std::chrono::steady_clock::duration budget);

    bool isActive() const { return names_ != nullptr && !needle_.empty(); }
    bool isDone() const;
    // Positions in the list of the names that matched so far, exactly and
    // loosely, each ascending.
    const std::vector<uint32_t>& matches() const { return matches_; }
    const std::vector<uint32_t>& looseMatches() const { return looseMatches_; }
    // What the window says above the matches: "Showing 12 of 2,404 names
    // that contain “mario”." (an inactive filter says nothing).
    std::string summary() const;

private:
    enum class Match { No, Exact, Loose };
    Match matchOf(uint32_t index);
    Match matchOfNameOnly(uint32_t index);
    void keepKeysUpTo(uint32_t index);

    std::shared_ptr<const ResultList> names_;
    std::shared_ptr<const CutLines> cutLines_;
    std::string typed_;
    std::string needle_;       // the key of typed_
    std::string looseNeedle_;  // its loose key
    bool needleIsAscii_ = true;
    bool looseIsAscii_ = true;
    bool looseDiffers_ = false;  // the loose key finds more than the key: an accent or a wide letter typed
    // What is left to compare: candidates_ from candidateNext_ on, then the
    // list from tailNext_ on. All in ascending order, so the matches are too.
    std::vector<uint32_t> candidates_;
    size_t candidateNext_ = 0;
    size_t tailNext_ = 0;
    std::vector<uint32_t> matches_;
    std::vector<uint32_t> looseMatches_;
    // The kept keys of name i, its key then its loose key:
    // keys_[keyEnds_[i-1], looseStarts_[i]) and keys_[looseStarts_[i],
    // keyEnds_[i]); empty for an ASCII name.
    std::string keys_;
    std::vector<size_t> keyEnds_;
    std::vector<size_t> looseStarts_;
    std::string lowered_;  // room to lower an ASCII name's case in
};

}  // namespace tokenade
