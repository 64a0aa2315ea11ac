#include "systems_table.h"

#include "core/foundation/grouped_count.h"
#include "core/summary/system_summary.h"

#include <algorithm>
#include <iterator>

namespace tokenade {
namespace {

constexpr std::array<CategoryId, 3> kNamedCategories{CategoryId::Valid, CategoryId::Missing, CategoryId::Unknown};

size_t slotOf(CategoryId category)
{
    return static_cast<size_t>(std::find(kNamedCategories.begin(), kNamedCategories.end(), category) -
                               kNamedCategories.begin());
}

std::vector<uint32_t> inFolderSystem(const AuditResult& result, CategoryId category, std::string_view system)
{
    std::vector<uint32_t> positions;
    const ResultList& entries = result.list(category);
    for (uint32_t i = 0; i < entries.size(); ++i) {
        if (systemOfFolder(result.folderOf(entries[i])) == system)
            positions.push_back(i);
    }
    return positions;
}

// A row of a DAT is the DAT of its place among the rows, as summarizeByDat
// lists them; the NoDat row takes the names no DAT knows.
std::vector<uint32_t> inDatSystem(const SystemsTable& table, CategoryId category, size_t row)
{
    const DatIndex& dat = *table.content->read.basis->dat;
    const bool noDat = table.summary.systems[row].kind == SystemKind::NoDat;
    const std::vector<uint32_t>& games = table.games[slotOf(category)];
    std::vector<uint32_t> positions;
    for (uint32_t i = 0; i < games.size(); ++i) {
        if (games[i] == kNoGame) {
            if (noDat)
                positions.push_back(i);
            continue;
        }
        if (noDat)
            continue;
        const std::vector<uint16_t> dats = dat.datsOf(games[i]);
        if (std::find(dats.begin(), dats.end(), row) != dats.end())
            positions.push_back(i);
    }
    return positions;
}

}  // namespace

SystemsTable systemsByFolder(std::shared_ptr<const AuditResult> result)
{
    SystemsTable table;
    table.summary = summarizeByFolder(*result);
    table.result = std::move(result);
    return table;
}

SystemsTable systemsByDat(std::shared_ptr<const AuditResult> result, std::shared_ptr<const BasisAndArchives> content)
{
    SystemsTable table;
    const ContentBasis& basis = *content->read.basis;
    table.summary = summarizeByDat(*result, basis, content->identified);
    for (const CategoryId category : kNamedCategories)
        table.games[slotOf(category)] = gamesOfEntries(*result, category, basis, content->identified);
    table.result = std::move(result);
    table.content = std::move(content);
    return table;
}

std::optional<CategoryId> categoryOfCount(SystemCount count)
{
    switch (count) {
    case SystemCount::Valid: return CategoryId::Valid;
    case SystemCount::Missing: return CategoryId::Missing;
    case SystemCount::Unknown: return CategoryId::Unknown;
    default: return std::nullopt;
    }
}

std::optional<SystemScope> scopeOf(const SystemsTable& table, size_t row, SystemCount count)
{
    const std::optional<CategoryId> category = categoryOfCount(count);
    if (!category || !table.result || row >= table.summary.systems.size())
        return std::nullopt;
    const SystemCounts& counts = table.summary.systems[row];
    if (!isKnown(counts.kind, count))
        return std::nullopt;
    SystemScope scope{*category, counts.name, std::nullopt, table.result};
    if (counts.kind == SystemKind::Folder)
        scope.positions = inFolderSystem(*table.result, *category, counts.name);
    else if (counts.kind != SystemKind::All)
        scope.positions = inDatSystem(table, *category, row);
    if (counts.kind == SystemKind::Dat)
        scope.system = "the DAT \u201C" + counts.name + "\u201D";
    if (counts.kind == SystemKind::NoDat)
        scope.system = "no DAT";
    return scope;
}

std::string systemSummary(std::string_view system, size_t shown, size_t total, std::string_view typed, bool done)
{
    std::string text = "Showing " + groupedCount(shown) + " of " + groupedCount(total) + (done ? "" : " so far,") +
                       " names of " + std::string(system);
    if (!typed.empty())
        text += " that contain \u201C" + std::string(typed) + "\u201D";
    return text + (done ? "." : "\u2026");
}

std::vector<uint32_t> withinScope(const std::vector<uint32_t>& matches, const std::vector<uint32_t>& scope)
{
    std::vector<uint32_t> kept;
    std::set_intersection(matches.begin(), matches.end(), scope.begin(), scope.end(), std::back_inserter(kept));
    return kept;
}

}  // namespace tokenade
