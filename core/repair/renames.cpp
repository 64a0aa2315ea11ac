#include "renames.h"

#include "core/repair/collection_lock.h"
#include "core/repair/journal_files.h"

namespace tokenade {

RenameBatch applyRenames(const std::vector<Rename>& plan, const std::string& journalFolder)
{
    std::vector<Change> changes;
    for (const Rename& rename : plan)
        changes.push_back(renameChange(rename));
    const std::string collection = plan.empty() ? std::string("/") : collectionOfFolder(plan.front().folder);
    return applyChanges(changes, ChangeOptions{journalFolder, collection, nullptr, {}, {}});
}

RenameBatch undoRenames(const std::string& journalPath)
{
    return undoChanges(journalPath, ChangeOptions{renameJournalFolder(), "", nullptr, {}, {}});
}

}  // namespace tokenade
