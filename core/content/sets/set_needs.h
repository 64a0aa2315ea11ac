#pragma once

#include "core/content/collection_identity.h"
#include "core/content/sets/set_rules.h"
#include "core/results/audit_warning.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tokenade {

// How an archive that a set needs beside its own stands in a collection.
// The emulator looks for a parent's, a BIOS's or a device's roms in the
// archive named for that machine, so that archive is the one judged.
enum class NeedState : uint8_t {
    Present,     // every rom the set takes from it is there (or in the set's own archive)
    Missing,     // no archive is named for it
    Incomplete,  // the archive named for it has some of those roms, not all
    Wrong,       // the archive named for it has none of them, or is no zip
};
std::string_view needStateKey(NeedState state);  // "present", "missing", "incomplete", "wrong"

struct NeedJudged {
    SetNeed need;
    NeedState state = NeedState::Present;
};

// What the needs of the listed sets make of a collection's archives.
struct CollectionNeeds {
    // Per archive (as identified.found): the needs not met of the listed
    // set it holds whole, parent first, then BIOS, then devices; empty for
    // an archive of no listed set and for a set that can run.
    std::vector<std::vector<NeedJudged>> unmet;
    // Per archive: how many listed sets need the machine it is named for,
    // when the list leaves that machine out (a BIOS, a device, a parent the
    // list does not name); 0 otherwise.
    std::vector<uint32_t> neededBy;
};

// Judges the needs of every listed set against the archives of the
// collection. Empty vectors (of the archives' size) without set rules.
// A listed set held whole needs what it needs in the form its archive is
// in; one not held whole may come in any form, and counts for each archive
// it needs in one of them, so that nothing a set might run on passes for
// unneeded.
CollectionNeeds judgeNeeds(const ContentBasis& basis, const IdentifiedArchives& identified);

// "needs pgm.zip (BIOS), missing, and needs namco51.zip (device), wrong".
std::string unmetText(const DatIndex& dat, std::span<const NeedJudged> unmet);
// "needed by 3 listed sets".
std::string neededText(uint32_t count);

// That listed sets held whole cannot run for an archive they need beside
// their own, with how many and a few examples ("\"orlegend.zip\" needs
// pgm.zip (BIOS), missing"); nothing when every one can.
std::optional<AuditWarning> unmetNeedsWarning(const ContentBasis& basis, const IdentifiedArchives& identified,
                                              const CollectionNeeds& needs);

}  // namespace tokenade
