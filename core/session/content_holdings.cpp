#include "content_holdings.h"

#include "core/foundation/grouped_count.h"
#include "core/foundation/path_join.h"
#include "core/results/report_text.h"

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
        return partsHeld(one, [&](uint32_t game) { return title(basis, game); });
    case ContentState::Ambiguous: {
        std::string words = "holds ";
        for (size_t i = 0; i < one.tied.size(); ++i)
            words += (i == 0 ? "" : " or ") + title(basis, one.tied[i]);
        return words;
    }
    case ContentState::NotAZip:
        return "not a zip";
    case ContentState::NotInDat:
        return "no rom of the DAT";  // read, unlike an archive that has no words
    default:
        return {};
    }
}

// Each archive of `identified` by its path below the collection.
std::unordered_map<std::string, size_t> archivesByPath(const IdentifiedArchives& identified)
{
    std::unordered_map<std::string, size_t> byPath;
    for (size_t i = 0; i < identified.found.size(); ++i)
        byPath.emplace(identified.archives.pathOf(identified.archives.archives[i]), i);
    return byPath;
}

// What keeps an archive's directory from being read, in a few words.
std::string unreadableWords(const ZipDirectory& contents)
{
    switch (contents.problem) {
    case ZipProblem::CutShort: return "is cut short";
    case ZipProblem::Empty: return "is empty";
    case ZipProblem::NotAZip: return "is not a zip";
    default: return "cannot be read: " + contents.reason;
    }
}

}  // namespace

std::vector<AuditWarning> contentWarnings(const AuditResult& result, const BasisAndArchives& found)
{
    std::vector<AuditWarning> warnings;
    if (!found.read.basis)
        return warnings;
    if (auto wrong = wrongContentWarning(*found.read.basis, found.identified))
        warnings.push_back(std::move(*wrong));
    const IdentifiedArchives& identified = found.identified;
    const auto byPath = archivesByPath(identified);
    AuditWarning unreadable{WarningKind::WrongContent, "", 0, {}};
    for (const ResultEntry& entry : result.list(CategoryId::Valid)) {
        const auto at = byPath.find(joinPath(result.folderOf(entry), entry.name()));
        if (at == byPath.end() || identified.found[at->second].state != ContentState::NotAZip)
            continue;
        if (++unreadable.count <= 3)
            unreadable.examples.push_back(
                "\"" + displayName(entry.name()) + "\" " +
                unreadableWords(identified.archives.archives[at->second].contents));
    }
    if (unreadable.count != 0) {
        const bool one = unreadable.count == 1;
        unreadable.message = groupedCount(unreadable.count) + (one ? " valid archive" : " valid archives") +
                             " cannot be read as a zip: " + (one ? "its name" : "their names") +
                             " match the list, but what " + (one ? "it holds" : "they hold") + " is not known.";
        warnings.push_back(std::move(unreadable));
    }
    return warnings;
}

ContentHoldings unknownHoldings(std::shared_ptr<const AuditResult> result, const BasisAndArchives& found)
{
    ContentHoldings holdings{std::move(result), {}, {}};
    if (!found.read.basis)
        return holdings;
    const IdentifiedArchives& identified = found.identified;
    const auto byPath = archivesByPath(identified);
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
