#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// What a row of the table of systems counts.
// - Valid, Missing: the list's games whose archive the audit found by name,
//   or did not; Unknown: the archives it found that no line names.
// - With DATs, by the content of the archives: Correct, archives holding
//   their listed set whole under the name its line expects, with every
//   parent, BIOS and device it needs; Incomplete, archives holding some,
//   not all, of a game's roms; NeedsOther, listed sets held whole that
//   cannot run for a parent, BIOS or device missing, incomplete or wrong;
//   NotOnList, the DAT's games (devices and what cannot run alone aside)
//   that no line is for.
enum class SystemCount : uint8_t { Valid, Missing, Unknown, Correct, Incomplete, NeedsOther, NotOnList };
inline constexpr size_t kSystemCountKinds = 7;

// A column of the table: what it counts, its key in JSON and CSV, its
// header in text, and whether it needs DATs.
struct SystemColumn {
    SystemCount count;
    std::string_view key;
    std::string_view header;
    bool byContent;
};

// In the order every output shows them.
inline constexpr std::array<SystemColumn, kSystemCountKinds> kSystemColumns{{
    {SystemCount::Valid, "valid", "valid", false},
    {SystemCount::Missing, "missing", "missing", false},
    {SystemCount::Unknown, "unknown", "unknown", false},
    {SystemCount::Correct, "correct", "correct", true},
    {SystemCount::Incomplete, "incomplete", "incomplete", true},
    {SystemCount::NeedsOther, "needs_other", "needs parent/BIOS/device", true},
    {SystemCount::NotOnList, "not_on_list", "not on list", true},
}};

// What a row stands for.
// - Folder: a rom folder ("roms"), or one of its first-level subfolders
//   ("romsConsoles/Genesis") with everything below it.
// - Dat: one DAT of those read.
// - NoDat: the list's games that no DAT knows and the unknown archives that
//   hold nothing of any DAT.
// - All: the whole collection, as the audit sees its rom folders: the only
//   row of a table by folder that knows the missing games.
enum class SystemKind : uint8_t { Folder, Dat, NoDat, All };
std::string_view systemKindKey(SystemKind kind);  // "folder", "dat", "no dat", "all"

// One row of the table.
struct SystemCounts {
    SystemKind kind = SystemKind::Folder;
    std::string name;  // the folder below the Tokenade directory, or the DAT's name; "" for NoDat and All
    std::array<size_t, kSystemCountKinds> counts{};

    size_t& operator[](SystemCount count) { return counts[static_cast<size_t>(count)]; }
    size_t operator[](SystemCount count) const { return counts[static_cast<size_t>(count)]; }
};

// Whether a count means anything in a row of this kind: a folder cannot
// tell which of the missing games were to be its own, nor can what no DAT
// knows be judged by content. A count that does not is 0 and is shown as
// unknown, never as 0.
bool isKnown(SystemKind kind, SystemCount count);

// The table: the folders in byte order, or the DATs in the order read and
// then the NoDat row; the All row last.
struct SystemSummary {
    bool byDat = false;  // the content columns are shown only by DAT
    std::vector<SystemCounts> systems;
};

}  // namespace tokenade
