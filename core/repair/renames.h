#pragma once

#include "core/repair/rename.h"

#include <string>
#include <vector>

namespace tokenade {

enum class RenameResult {
    Made,        // renamed (by undoRenames: renamed back)
    DoneBefore,  // undoRenames only: already back under its old name
    Skipped,     // tried and left as it was; `reason` says why
    Refused,     // applyRenames only: never tried, a name is not a plain name
};

struct RenameOutcome {
    Rename rename;
    RenameResult result = RenameResult::Skipped;
    std::string reason;  // for Skipped and Refused: the system's words for its error, or ours
};

// What a batch of renames (or of their undoing) did, one outcome per rename,
// in the order of the journal. When `notStarted` is set nothing was renamed
// and it says why. When `notRecorded` is set the renames listed were done but
// the journal could not be updated; it says why. undoRenames still finds the
// renames that were made by the files themselves.
struct RenameBatch {
    std::string journalPath;
    std::string notStarted;
    std::string notRecorded;
    std::vector<RenameOutcome> outcomes;
};

// Makes the renames of `plan`, never replacing or losing a file:
// - A rename whose folder is not absolute, whose `from` or `to` is not a plain
//   name (whyNotAPlainName), or whose `to` is its `from` is refused.
// - A journal of the whole plan is written into a new file in `journalFolder`
//   (createJournal) and flushed to disk before the first rename; when it
//   cannot be, nothing is renamed.
// - Each rename, in order, happens only when `from` is still the regular file
//   of the plan's identity (not a link, not another file of that name, not
//   changed), and only when nothing has the name `to`: an existing file,
//   folder or link is never replaced. A rename that fails for any reason is
//   skipped and the others go on.
// - The journal is then rewritten atomically with each rename's state.
// Renames stay within their folder. The folder's last component must not be
// a symbolic link. Between the check of `from` and the rename another program
// could still swap the file; the rename never replaces, so nothing is lost.
RenameBatch applyRenames(const std::vector<Rename>& plan, const std::string& journalFolder);

// Undoes the renames the journal at `journalPath` records as made, last first:
// a file is renamed back only when its new name is still the same file (device
// and inode) and its old name is free, never replacing anything. A rename
// already undone (by an earlier undo or by hand) counts as DoneBefore; renames
// that were refused or skipped are not listed. The outcomes name each rename as
// done by the undo (`from` is the new name, `to` the old one), in journal
// order. The journal is rewritten with the renames undone, so that undoing
// twice is harmless. A batch that was cut short (lines still "planned") is
// undone as far as its files show it was made.
RenameBatch undoRenames(const std::string& journalPath);

}  // namespace tokenade
