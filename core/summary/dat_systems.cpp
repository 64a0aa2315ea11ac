#include "system_summary.h"

#include "core/content/sets/set_needs.h"
#include "core/foundation/path_join.h"

#include <algorithm>
#include <unordered_map>

namespace tokenade {
namespace {

// The table being counted: a row per DAT, the NoDat row and the All row.
class DatTable {
public:
    explicit DatTable(const DatIndex& dat) : dat_(dat)
    {
        const size_t dats = std::max<size_t>(1, dat.origins.size());
        for (uint16_t one = 0; one < dats; ++one)
            rows_.push_back({SystemKind::Dat, std::string(dat.datName(one))});
    }

    // Once in each DAT that lists `game`, and once in All; NoDat for no game.
    void add(uint32_t game, SystemCount count)
    {
        ++all_[count];
        if (game == kNoGame) {
            ++noDat_[count];
            return;
        }
        for (const uint16_t one : dat_.datsOf(game))
            ++rows_[one][count];
    }

    SystemSummary done() &&
    {
        SystemSummary summary{true, std::move(rows_)};
        summary.systems.push_back(std::move(noDat_));
        summary.systems.push_back(std::move(all_));
        return summary;
    }

private:
    const DatIndex& dat_;
    std::vector<SystemCounts> rows_;
    SystemCounts noDat_{SystemKind::NoDat, ""};
    SystemCounts all_{SystemKind::All, ""};
};

// The game an archive holds, or has most of; of a tie, the first.
uint32_t gameHeld(const Identification& one)
{
    if (one.game == kNoGame && one.state == ContentState::Ambiguous && !one.tied.empty())
        return one.tied.front();
    return one.game;
}

// The names of a category, each counted for the game gamesOfEntries gives it.
void countEntries(const AuditResult& result, CategoryId category, SystemCount count, const ContentBasis& basis,
                  const IdentifiedArchives& identified, DatTable& table)
{
    for (const uint32_t game : gamesOfEntries(result, category, basis, identified))
        table.add(game, count);
}

void countSets(const ContentBasis& basis, const IdentifiedArchives& identified, DatTable& table)
{
    const CollectionNeeds needs = judgeNeeds(basis, identified);
    for (size_t i = 0; i < identified.found.size(); ++i) {
        const Identification& one = identified.found[i];
        const bool runs = needs.unmet[i].empty();
        if (one.state == ContentState::RightName && runs)
            table.add(one.game, SystemCount::Correct);
        if (one.state == ContentState::Incomplete)
            table.add(one.game, SystemCount::Incomplete);
        if (!runs)
            table.add(one.game, SystemCount::NeedsOther);
    }
}

void countGamesOffTheList(const DatIndex& dat, const GameLines& lines, DatTable& table)
{
    for (uint32_t game = 0; game < dat.games.size(); ++game) {
        const DatGame& one = dat.games[game];
        if (lines.lineOfGame[game] == kNoLine && one.runnable && !one.isDevice)
            table.add(game, SystemCount::NotOnList);
    }
}

}  // namespace

SystemSummary summarizeByDat(const AuditResult& result, const ContentBasis& basis, const IdentifiedArchives& identified)
{
    DatTable table(*basis.dat);
    countEntries(result, CategoryId::Valid, SystemCount::Valid, basis, identified, table);
    countEntries(result, CategoryId::Missing, SystemCount::Missing, basis, identified, table);
    countEntries(result, CategoryId::Unknown, SystemCount::Unknown, basis, identified, table);
    countSets(basis, identified, table);
    countGamesOffTheList(*basis.dat, *basis.lines, table);
    return std::move(table).done();
}

std::vector<uint32_t> gamesOfEntries(const AuditResult& result, CategoryId category, const ContentBasis& basis,
                                     const IdentifiedArchives& identified)
{
    const ResultList& entries = result.list(category);
    std::vector<uint32_t> games;
    games.reserve(entries.size());
    if (category != CategoryId::Unknown) {
        for (const ResultEntry& entry : entries) {
            const uint32_t line = basis.lines->lineNamed(entry.name());
            games.push_back(line == kNoLine ? kNoGame : basis.lines->gameOfLine[line]);
        }
        return games;
    }
    std::unordered_map<std::string, size_t> archiveAt;
    for (size_t i = 0; i < identified.found.size(); ++i)
        archiveAt.emplace(identified.archives.pathOf(identified.archives.archives[i]), i);
    for (const ResultEntry& entry : entries) {
        // An archive the reading did not meet (gone since the scan) holds nothing known.
        const auto at = archiveAt.find(joinPath(result.folderOf(entry), entry.name()));
        games.push_back(at == archiveAt.end() ? kNoGame : gameHeld(identified.found[at->second]));
    }
    return games;
}

}  // namespace tokenade
