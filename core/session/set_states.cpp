#include "core/session/content_holdings.h"

#include "core/content/sets/archive_judgement.h"
#include "core/content/sets/judgement_text.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/path_join.h"

namespace tokenade {

void addSetStates(ContentHoldings& holdings, const BasisAndArchives& found, const IdentifyInputs& inputs)
{
    if (!found.read.basis || !found.read.basis->sets)
        return;
    const ContentBasis& basis = *found.read.basis;
    const IdentifiedArchives& identified = found.identified;
    std::unordered_map<std::string, size_t> byPath;
    for (size_t i = 0; i < identified.found.size(); ++i)
        byPath.emplace(identified.archives.pathOf(identified.archives.archives[i]), i);
    // A tooltip taller than the screen shows nothing of its end.
    constexpr size_t kLinesShown = 12;
    for (const CategoryId id : {CategoryId::Valid, CategoryId::Unknown}) {
        for (const ResultEntry& entry : holdings.result->list(id)) {
            const auto at = byPath.find(joinPath(holdings.result->folderOf(entry), entry.name()));
            if (at == byPath.end())
                continue;
            const std::optional<SetJudgement> judgement =
                judgeArchive(basis, identified, at->second, inputs.directory, inputs.setForms);
            if (!judgement)
                continue;
            const ZipDirectory& contents = identified.archives.archives[at->second].contents;
            std::string detail = judgementSummary(*basis.dat, *judgement);
            const std::vector<std::string> lines = judgementLines(*basis.dat, *judgement, contents);
            for (size_t i = 0; i < std::min(lines.size(), kLinesShown); ++i)
                detail += "\n" + lines[i];
            if (lines.size() > kLinesShown)
                detail += "\nand " + groupedCount(lines.size() - kLinesShown) + " more";
            holdings.details.emplace(&entry, std::move(detail));
            if (judgement->state == SetState::Correct)
                continue;
            std::string& words = holdings.words[&entry];
            words += (words.empty() ? "set " : "; set ") + std::string(basis.dat->games[judgement->machine].name) + ": " +
                     std::string(setStateKey(judgement->state));
        }
    }
}

}  // namespace tokenade
