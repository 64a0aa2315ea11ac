#pragma once

#include "core/content/collection_identity.h"
#include "core/results/audit_result.h"
#include "core/summary/system_counts.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// The table of systems the window shows beside the ROM results, with what
// it needs to tell which names a part of a row counts. It keeps alive the
// ROM result it was made of and, by DAT, the identification.
struct SystemsTable {
    SystemSummary summary;
    std::shared_ptr<const AuditResult> result;
    std::shared_ptr<const BasisAndArchives> content;  // by DAT only
    // By DAT: the game of each name of Valid, Missing and Unknown (gamesOfEntries).
    std::array<std::vector<uint32_t>, 3> games;
};

// By folder: cheap, a pass over the found names.
SystemsTable systemsByFolder(std::shared_ptr<const AuditResult> result);
// By DAT: judges the needs of every listed set, so it belongs on a job.
// `content` must hold a basis.
SystemsTable systemsByDat(std::shared_ptr<const AuditResult> result, std::shared_ptr<const BasisAndArchives> content);

// The names that a part of a row stands for in the ROM results: the
// category it counts and the positions in that category's list, or every
// name of the category for the All row.
struct SystemScope {
    CategoryId category = CategoryId::Valid;
    std::string system;  // the row's folder, "the DAT “Arcade”" or "no DAT"; "" for the whole collection
    std::optional<std::vector<uint32_t>> positions;  // ascending; nothing: all of them
    std::shared_ptr<const AuditResult> of;  // the result whose lists the positions are in
};

// The category a count is of: only valid, missing and unknown are names of
// the ROM results; the counts by content are of archives and games.
std::optional<CategoryId> categoryOfCount(SystemCount count);
// The scope of `count` in row `row` of `table`; nothing when the count is
// not one of names or not known in that row.
std::optional<SystemScope> scopeOf(const SystemsTable& table, size_t row, SystemCount count);

// What the window says above the names of a system: "Showing 12 of 2,404
// names of romsConsoles/Genesis." and, with a filter's text typed, "… that
// contain “mario”." (while it still looks: "so far").
std::string systemSummary(std::string_view system, size_t shown, size_t total, std::string_view typed, bool done);

// Of `matches` (ascending), those inside `scope` (ascending).
std::vector<uint32_t> withinScope(const std::vector<uint32_t>& matches, const std::vector<uint32_t>& scope);

}  // namespace tokenade
