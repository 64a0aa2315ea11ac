#pragma once

#include "core/repair/changes.h"
#include "core/repair/rename.h"

#include <string>
#include <vector>

namespace tokenade {

using RenameResult = ChangeResult;
using RenameOutcome = ChangeOutcome;
using RenameBatch = ChangeBatch;

// A batch of renames in the user's journal folder: applyChanges of the
// renames, the collection being the one above their folders
// (collectionOfFolder).
RenameBatch applyRenames(const std::vector<Rename>& plan, const std::string& journalFolder);

// undoChanges of the journal at `journalPath`, of any kind, its lock kept in
// the user's journal folder.
RenameBatch undoRenames(const std::string& journalPath);

}  // namespace tokenade
