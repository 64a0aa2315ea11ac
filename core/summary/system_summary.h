#pragma once

#include "core/content/collection_identity.h"
#include "core/results/audit_result.h"
#include "core/summary/system_counts.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tokenade {

// The system a found file's folder belongs to: the rom folder and its first
// subfolder ("romsConsoles/Genesis/A-F" gives "romsConsoles/Genesis", "roms"
// stays "roms").
std::string_view systemOfFolder(std::string_view folder);

// The table of a ROM audit by folder: a row per system that holds a valid
// or unknown archive, then the All row with the audit's three counts. The
// missing games are counted in the All row only, since no folder holds them.
SystemSummary summarizeByFolder(const AuditResult& result);

// The table of a ROM audit by DAT, the collection's archives identified
// against the DATs (`identified`, of `basis`): a row per DAT, then NoDat and
// All. A list line counts for the DATs of the game it is for, an unknown
// archive for those of the game it holds (most of), each game, line and
// archive of two DATs in both; the All row counts each once. Valid, missing
// and unknown are the audit's, by name; the others by content. Judges the
// needs of the listed sets (judgeNeeds) itself.
SystemSummary summarizeByDat(const AuditResult& result, const ContentBasis& basis,
                             const IdentifiedArchives& identified);

// The game each name of a category of `result` (Valid, Missing or Unknown)
// counts for by DAT, in the list's order: a list line's game, or the game an
// unknown archive holds (most of); kNoGame for what no DAT knows. The rows
// of summarizeByDat count by the same rule.
std::vector<uint32_t> gamesOfEntries(const AuditResult& result, CategoryId category, const ContentBasis& basis,
                                     const IdentifiedArchives& identified);

}  // namespace tokenade
