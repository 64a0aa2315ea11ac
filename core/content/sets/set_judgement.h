#pragma once

#include "core/content/sets/set_rules.h"
#include "core/content/zip_directory.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// How a required rom of a set stands in the archive judged.
// - Correct: an entry of its size and CRC, under any name.
// - Missing: no such entry, and none of its name.
// - Wrong: no such entry, but one of its name (or of the name its `merge`
//   gives) with another size or CRC: the file is there, badly.
enum class RomState : uint8_t { Correct, Missing, Wrong };
// How a whole set stands: every required rom and disk correct; correct with
// a bad dump among them (no better can be had); some missing or wrong; not a
// single file of it found.
enum class SetState : uint8_t { Correct, BestAvailable, Incorrect, NotFound };

std::string_view romStateKey(RomState state);  // "correct", "missing", "wrong"
std::string_view setStateKey(SetState state);  // "correct", "best available", "incorrect", "not found"

inline constexpr uint32_t kNoEntry = UINT32_MAX;

struct RomVerdict {
    uint32_t rom = 0;      // into DatIndex::roms
    uint32_t machine = 0;  // the machine whose entry lists it
    RomState state = RomState::Missing;
    uint32_t entry = kNoEntry;  // the archive's entry it was found as (Correct, Wrong)
};

// A disk (CHD) of the set, beside its archive.
// - Present: a CHD whose header gives the DAT's SHA-1 (or any, when the DAT
//   gives none).
// - Missing: no file of its name in any place it is looked for.
// - Wrong: a CHD whose header gives another SHA-1.
// - Unreadable: a file of its name whose header cannot be read.
enum class DiskState : uint8_t { Present, Missing, Wrong, Unreadable };
std::string_view diskStateKey(DiskState state);  // "present", "missing", "wrong", "unreadable"

struct DiskVerdict {
    uint32_t disk = 0;  // into DatIndex::disks
    DiskState state = DiskState::Missing;
    bool required = true;  // neither "nodump" nor optional
    std::string path;      // the file read, "" when Missing
    std::string sha1;      // Wrong: the SHA-1 its header gives
    std::string reason;    // Unreadable: why
};

// One set judged rom by rom against one archive.
struct SetJudgement {
    uint32_t machine = kNoGame;
    SetForm form = SetForm::Split;
    std::vector<RomVerdict> roms;    // each required rom once, in the set's order
    std::vector<uint32_t> leftOver;  // the archive's entries that are no rom of the set, by index
    std::vector<DiskVerdict> disks;  // see judgeDisks; empty until added
    SetState state = SetState::NotFound;

    size_t count(RomState state) const;
    size_t count(DiskState state) const;
};

// Judges `machine`'s set in `form` (SetRules::contents) against the entries
// of an archive. A rom is looked for by size and CRC under any name, then by
// its name (or its `merge` name, ASCII letters in any case) among the entries
// that are no rom of the set by content; an entry counts for one rom only
// when names say so, and a file the set lists twice is judged once. Roms not
// required (never dumped, optional) are not judged, but an entry that is one
// of them, by content or by name, is not left over. The state counts the
// roms only; addDisks folds in the disks. Entry names "" (from the cache)
// only lose the Wrong ones, which are then Missing.
SetJudgement judgeSet(const SetRules& rules, uint32_t machine, SetForm form, const ZipDirectory& archive);

// Adds the disks' verdicts to a judgement and settles its state again: a
// required disk not present makes the set incorrect (not found only when
// nothing of it, rom or disk, is there at all), a bad dump's best available.
void addDisks(const SetRules& rules, SetJudgement& judgement, std::vector<DiskVerdict> disks);

}  // namespace tokenade
