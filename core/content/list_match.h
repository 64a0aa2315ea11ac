#pragma once

#include "core/content/dat_index.h"
#include "core/sources/roms_list.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

inline constexpr uint32_t kNoLine = UINT32_MAX;

// How a DAT game met a list line.
enum class LineMeeting : uint8_t {
    None,     // the game is not on the list
    Key,      // the line reads as the game's description or name, letter case aside
    NearKey,  // the one line whose near key is the game's, and the one game with that near key
};

// Which DAT games the lines of a supported roms list are for. Every vector
// is indexed as its comment says; views point into the DAT and the list,
// which must outlive it.
struct GameLines {
    std::vector<uint32_t> lineOfGame;      // per game: its line, or kNoLine
    std::vector<LineMeeting> meetingOfGame;  // per game
    std::vector<uint32_t> gameOfLine;      // per line: the first game met, or kNoGame
    std::vector<std::string> expectedName;  // per line: the archive name it expects ("Dr.zip" for "Dr. Mario")
    size_t linesKnown = 0;                 // lines some game meets

    // The line an archive of this name stands for by name, as the audit
    // matches names; kNoLine for none. The first of lines alike.
    uint32_t lineNamed(std::string_view archiveName) const;
    // The game whose name or description, as an archive name, is this one;
    // kNoGame for none. A DAT's short names ("smb3e.zip") are found so.
    uint32_t gameNamed(std::string_view archiveName) const;

    // Items (lines, games) by the hash of a key, smallest item first among
    // equal hashes; a hit is confirmed against the key itself.
    using KeyHashes = std::vector<std::pair<uint64_t, uint32_t>>;
    KeyHashes lineKeys;  // unicodeKey(expected name) of each line
    KeyHashes gameKeys;  // unicodeKey(name or description + ".zip") of each game
    const DatIndex* dat = nullptr;
};

// Meets each game of `dat` with the line of `lines` (a list's lines, in file
// order) whose title, the line without an extension such as ".zip", has the
// key of the game's description or else of its name. Failing both, a game
// meets a line by near key when that near key is one line's and one game's
// among those not met by key, so that "Alpha (Europe)" never meets
// "Alpha (USA)". Games not met are not on the list.
GameLines matchGamesToList(const DatIndex& dat, std::span<const std::string_view> lines);

// A list line without its extension when it has one that looks like one
// ("alpha.zip" -> "alpha"); other lines whole ("Dr. Mario (Japan, USA)").
std::string_view lineTitle(std::string_view line);

}  // namespace tokenade
