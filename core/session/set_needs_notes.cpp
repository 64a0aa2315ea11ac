#include "set_needs_notes.h"

#include "core/content/sets/set_needs.h"
#include "core/foundation/path_join.h"

#include <string>
#include <unordered_map>

namespace tokenade {

void addNeedsNotes(ContentHoldings& holdings, const BasisAndArchives& found)
{
    if (!found.read.basis || !found.read.basis->sets || !holdings.result)
        return;
    const ContentBasis& basis = *found.read.basis;
    const IdentifiedArchives& identified = found.identified;
    const CollectionNeeds needs = judgeNeeds(basis, identified);
    std::unordered_map<std::string, std::string> notes;  // by the archive's path below the collection
    for (size_t i = 0; i < identified.found.size(); ++i) {
        std::string note = unmetText(*basis.dat, needs.unmet[i]);
        if (needs.neededBy[i] > 0)
            note += (note.empty() ? "" : ", ") + neededText(needs.neededBy[i]);
        if (!note.empty())
            notes.emplace(identified.archives.pathOf(identified.archives.archives[i]), std::move(note));
    }
    const AuditResult& result = *holdings.result;
    for (const CategoryId category : {CategoryId::Valid, CategoryId::Unknown}) {
        for (const ResultEntry& entry : result.list(category)) {
            const auto note = notes.find(joinPath(result.folderOf(entry), entry.name()));
            if (note == notes.end())
                continue;
            std::string& words = holdings.words[&entry];
            words += (words.empty() ? "" : ", ") + note->second;
        }
    }
}

}  // namespace tokenade
