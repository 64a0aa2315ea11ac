#include "content_holdings.h"

#include "core/foundation/path_join.h"

namespace tokenade {
namespace {

std::string title(const ContentBasis& basis, uint32_t game)
{
    return std::string(gameTitle(basis.dat->games[game]));
}

std::string wordsFor(const ContentBasis& basis, const Identification& one)
{
    if (one.holdsGame())
        return "holds " + title(basis, one.game);
    switch (one.state) {
    case ContentState::Incomplete:
        return std::to_string(one.matched) + " of " + std::to_string(one.needed) + " roms of " + title(basis, one.game);
    case ContentState::Ambiguous: {
        std::string words = "holds ";
        for (size_t i = 0; i < one.tied.size(); ++i)
            words += (i == 0 ? "" : " or ") + title(basis, one.tied[i]);
        return words;
    }
    case ContentState::NotAZip:
        return "not a zip";
    default:
        return {};
    }
}

}  // namespace

ContentHoldings unknownHoldings(std::shared_ptr<const AuditResult> result, const BasisAndArchives& found)
{
    ContentHoldings holdings{std::move(result), {}};
    if (!found.read.basis)
        return holdings;
    const IdentifiedArchives& identified = found.identified;
    std::unordered_map<std::string, size_t> byPath;
    for (size_t i = 0; i < identified.found.size(); ++i)
        byPath.emplace(identified.archives.pathOf(identified.archives.archives[i]), i);
    for (const ResultEntry& entry : holdings.result->list(CategoryId::Unknown)) {
        const auto at = byPath.find(joinPath(holdings.result->folderOf(entry), entry.name()));
        if (at == byPath.end())
            continue;
        std::string words = wordsFor(*found.read.basis, identified.found[at->second]);
        if (!words.empty())
            holdings.words.emplace(&entry, std::move(words));
    }
    return holdings;
}

}  // namespace tokenade
