#include "name_filter.h"

#include "core/audit/near_key.h"
#include "core/foundation/ascii.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/unicode_key.h"

#include <algorithm>
#include <iterator>

namespace tokenade {
namespace {

// Names are compared between clock readings in runs of this many.
constexpr int kNamesBetweenClockReadings = 256;

bool contains(std::string_view text, std::string_view needle)
{
    return text.find(needle) != std::string_view::npos;
}

}  // namespace

void NameFilter::start(std::shared_ptr<const ResultList> names, std::string_view typed,
                       std::shared_ptr<const CutLines> cutLines)
{
    const std::string needle = unicodeKey(typed);
    const std::string looseNeedle = looseKey(typed);
    const bool narrower = names == names_ && !needle_.empty() && contains(needle, needle_) &&
                          contains(looseNeedle, looseNeedle_);
    if (names != names_)
        forget();
    names_ = std::move(names);
    cutLines_ = std::move(cutLines);
    if (narrower) {
        // Only what matched so far can match now, and what was not compared yet.
        std::vector<uint32_t> next;
        std::merge(matches_.begin(), matches_.end(), looseMatches_.begin(), looseMatches_.end(),
                   std::back_inserter(next));
        next.insert(next.end(), candidates_.begin() + static_cast<std::ptrdiff_t>(candidateNext_), candidates_.end());
        candidates_ = std::move(next);
    } else {
        candidates_.clear();
        tailNext_ = 0;
    }
    candidateNext_ = 0;
    matches_.clear();
    looseMatches_.clear();
    typed_ = std::string(typed);
    needle_ = needle;
    looseNeedle_ = looseNeedle;
    needleIsAscii_ = isAscii(needle_);
    looseIsAscii_ = isAscii(looseNeedle_);
    looseDiffers_ = looseNeedle_ != needle_;
}

void NameFilter::forget()
{
    names_.reset();
    cutLines_.reset();
    needle_.clear();
    looseNeedle_.clear();
    candidates_.clear();
    candidateNext_ = 0;
    tailNext_ = 0;
    matches_.clear();
    looseMatches_.clear();
    keys_.clear();
    keyEnds_.clear();
    looseStarts_.clear();
}

bool NameFilter::isDone() const
{
    return !isActive() || (candidateNext_ >= candidates_.size() && tailNext_ >= names_->size());
}

bool NameFilter::step(std::chrono::steady_clock::duration budget)
{
    const auto until = std::chrono::steady_clock::now() + budget;
    int sinceReading = 0;
    while (!isDone()) {
        const uint32_t index = candidateNext_ < candidates_.size() ? candidates_[candidateNext_++]
                                                                   : static_cast<uint32_t>(tailNext_++);
        const Match match = matchOf(index);
        if (match != Match::No)
            (match == Match::Exact ? matches_ : looseMatches_).push_back(index);
        if (++sinceReading == kNamesBetweenClockReadings) {
            sinceReading = 0;
            if (std::chrono::steady_clock::now() >= until)
                break;
        }
    }
    return isDone();
}

// Names are compared in ascending order, so the kept keys only ever grow at their end.
void NameFilter::keepKeysUpTo(uint32_t index)
{
    std::string key;
    while (keyEnds_.size() <= index) {
        const std::string_view name = (*names_)[keyEnds_.size()].name();
        if (!isAscii(name)) {
            unicodeKeyInto(name, key);
            keys_ += key;
        }
        looseStarts_.push_back(keys_.size());
        if (!isAscii(name))
            keys_ += looseKey(name);
        keyEnds_.push_back(keys_.size());
    }
}

NameFilter::Match NameFilter::matchOf(uint32_t index)
{
    const Match byName = matchOfNameOnly(index);
    if (byName != Match::No || !cutLines_ || cutLines_->empty())
        return byName;
    const auto line = cutLines_->find(&(*names_)[index]);
    if (line == cutLines_->end())
        return Match::No;
    if (contains(unicodeKey(line->second), needle_))
        return Match::Exact;
    return contains(looseKey(line->second), looseNeedle_) ? Match::Loose : Match::No;
}

NameFilter::Match NameFilter::matchOfNameOnly(uint32_t index)
{
    keepKeysUpTo(index);
    const size_t begin = index == 0 ? 0 : keyEnds_[index - 1];
    const size_t loose = looseStarts_[index];
    const size_t end = keyEnds_[index];
    if (begin != end) {
        const std::string_view keys(keys_);
        if (contains(keys.substr(begin, loose - begin), needle_))
            return Match::Exact;
        return contains(keys.substr(loose, end - loose), looseNeedle_) ? Match::Loose : Match::No;
    }
    // An ASCII name's keys are its lower case, which holds nothing but ASCII.
    const std::string_view name = (*names_)[index].name();
    asciiLowerInto(name, lowered_);
    if (needleIsAscii_ && contains(lowered_, needle_))
        return Match::Exact;
    return looseDiffers_ && looseIsAscii_ && contains(lowered_, looseNeedle_) ? Match::Loose : Match::No;
}

std::string NameFilter::summary() const
{
    if (!isActive())
        return {};
    const std::string counts =
        "Showing " + groupedCount(matches_.size() + looseMatches_.size()) + " of " + groupedCount(names_->size());
    if (!isDone())
        return counts + " so far, looking for names that contain \u201C" + typed_ + "\u201D\u2026";
    return counts + " names that contain \u201C" + typed_ + "\u201D.";
}

}  // namespace tokenade
