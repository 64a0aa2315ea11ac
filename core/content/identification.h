#pragma once

#include "core/content/dat_index.h"
#include "core/content/list_match.h"
#include "core/content/sets/set_matching.h"
#include "core/content/zip_directory.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// What identification concluded about one archive.
enum class ContentState : uint8_t {
    RightName,    // holds the game of its list line, under the name that line expects
    AnotherName,  // holds a game of the list under another name: the line's name is the rename it needs
    AnotherGame,  // its name says another game than the one it holds ("Alpha (USA).zip holds Beta (Japan)")
    NotOnList,    // holds a DAT game that no list line is for
    Ambiguous,    // holds as many roms of several games, and the list does not single one out
    Incomplete,   // has some, not all, of the roms of a game ("3 of 4 roms of G")
    NotInDat,     // none of its files is a rom of the DAT
    NotAZip,      // its directory could not be read (ZipDirectory::problem says why)
};

// The outcome for one archive. `game` and `line` index the DAT's games and
// the list's lines.
struct Identification {
    ContentState state = ContentState::NotInDat;
    uint32_t game = kNoGame;       // the game held; for Incomplete, the one it has most of
    uint32_t line = kNoLine;       // the line `game` is for, when it is on the list
    uint32_t namedLine = kNoLine;  // AnotherGame: the line its name stands for, if any
    uint32_t namedGame = kNoGame;  // AnotherGame: the game its name says, when the DAT knows it
    uint32_t matched = 0;          // how many of `game`'s files it has
    uint32_t needed = 0;           // how many `game` has
    // Incomplete: the game most of the files outside `game` belong to, when
    // some do (an archive holding parts of two games names both).
    uint32_t alsoGame = kNoGame;
    uint32_t alsoMatched = 0;
    uint32_t alsoNeeded = 0;
    std::vector<uint32_t> tied;    // Ambiguous: the games tied, in DAT order
    std::vector<uint32_t> extras;  // files left over beside a whole game, by index in the directory
    // With a DAT of families: the forms in which it holds `game` (for
    // Incomplete, the form it has most of), and in a merged parent's
    // archive the clones it holds as well. 0 and empty otherwise.
    SetFormMask forms = 0;
    std::vector<uint32_t> clonesHeld;

    // Holds a whole game, exactly or with extras: the archives a rename or
    // a fill may take. Nothing ambiguous or incomplete ever is.
    bool holdsGame() const
    {
        return state == ContentState::RightName || state == ContentState::AnotherName ||
               state == ContentState::AnotherGame || state == ContentState::NotOnList;
    }
    bool exact() const { return holdsGame() && extras.empty(); }
};

// Identifies archives against one DAT and, through `lines`, one list; keeps
// references to both, which must outlive it. Thread-safe once made.
class ContentMatcher {
public:
    // `sets`, when given, makes archives judged as sets of machines and must
    // outlive the matcher too.
    ContentMatcher(const DatIndex& dat, const GameLines& lines, const SetRules* sets = nullptr)
        : dat_(dat), lines_(lines), sets_(sets)
    {
    }

    // What the archive named `name` (its file name, no folder) holds, judged
    // by the sizes and CRCs of its files alone; entry names do not matter.
    // A game is held when every one of its matchable files is among the
    // archive's; of the games held, the one with the most files wins, and a
    // tie goes to the one game of the tie that is on the list, if exactly
    // one is. Without a game held whole, the game it has most files of makes
    // it Incomplete.
    // With set rules, a game is a machine's set in one of the `allowed` forms
    // (see matchSets): a split clone, a BIOS game without its BIOS or a merged
    // parent with its clones is held whole; a tie between machines goes to
    // the one on the list, else to the one the archive is named for.
    Identification identify(std::string_view name, const ZipDirectory& contents,
                            SetFormMask allowed = kAnySetForm) const;

private:
    struct Count {
        uint32_t game;
        uint32_t matched;
    };
    std::vector<Count> countMatches(const ZipDirectory& contents) const;
    Identification identifyWhole(std::string_view name, const ZipDirectory& contents,
                                 const std::vector<Count>& counts) const;
    Identification identifySet(std::string_view name, const ZipDirectory& contents, const std::vector<Count>& counts,
                               SetFormMask allowed) const;
    void findSecondGame(const ZipDirectory& contents, Identification& found) const;
    void judgeName(std::string_view name, const std::vector<uint32_t>& held, Identification& found) const;

    const DatIndex& dat_;
    const GameLines& lines_;
    const SetRules* sets_;
};

// "3 of 4 roms of A" for an Incomplete archive, and ", 1 of 2 roms of B"
// when it holds parts of a second game; `title` names a game.
std::string partsHeld(const Identification& one, const std::function<std::string(uint32_t)>& title);

// "right name", "another name", ...: the state as the command line writes it.
std::string_view contentStateKey(ContentState state);

}  // namespace tokenade
