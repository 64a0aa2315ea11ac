#pragma once

#include "core/repair/change.h"
#include "core/repair/disk.h"

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

namespace tokenade {

// How far a batch has come, after each change and during each copy.
struct ChangeProgress {
    size_t filesDone = 0;
    size_t files = 0;
    uint64_t bytesDone = 0;  // copied so far
    uint64_t bytes = 0;      // to copy in all (moves on one file system copy nothing)
};

// What a batch works with. The journal folder and the collection are
// required; everything else may be left as it is.
struct ChangeOptions {
    std::string journalFolder;  // renameJournalFolder() for the user's own
    std::string collection;     // the Tokenade directory: locked while the batch runs, named in the journal
    Disk* disk = nullptr;       // systemDisk() when null
    // Called on the batch's thread; must not block for long.
    std::function<void(const ChangeProgress&)> progress;
    // Checked between files: a copy under way is finished first.
    std::stop_token stop;
    // Where a set-aside outside the collection puts its files (a real path),
    // recorded in the journal: "" when files stay inside the collection.
    std::string setAsideFolder = {};
};

enum class ChangeResult {
    Made,        // done (by undoChanges: reversed)
    DoneBefore,  // undoChanges only: already as it was before the batch
    Skipped,     // tried, or not reached, and left as it was; `reason` says why
    Refused,     // applyChanges only: never tried (a name that cannot be, a folder that is not absolute)
};

struct ChangeOutcome {
    Change change;
    ChangeResult result = ChangeResult::Skipped;
    std::string reason;  // for Skipped and Refused: the system's words for its error, or ours
};

// What a batch (or its undoing) did, one outcome per change in the order of
// the journal (Folder changes included). `notStarted`: nothing was changed,
// and why (another batch holds the collection, the journal cannot be
// written, not enough space for the copies, an unusable journal to undo).
// `stopped`: the batch ended before its last change, and why (a stop
// request, a full disk, a journal that could not be written any more); the
// changes not reached are Skipped with that reason. `heldBy` says who holds
// the collection when that kept the batch from starting.
struct ChangeBatch {
    std::string journalPath;
    std::string notStarted;
    std::string stopped;
    std::string heldBy;
    std::string notRecorded;  // version 1 journals: the undo was made but could not be written back
    std::vector<ChangeOutcome> outcomes;

    // True when every change was made (or, for an undo, is undone).
    bool complete() const;
};

// Makes `changes`, in order, never replacing or losing a file:
// - The collection, which must exist, is locked (lockCollection, in the
//   user's journal folder whatever `journalFolder` is) for the whole batch,
//   and what batches on it cut short left behind is removed
//   (removeLeftovers).
// - A change whose folders are not absolute or whose names are not plain
//   names (whyNotAPlainName) is refused; so is a rename to its own name, and
//   a change of a file outside the collection (CollectionArea; a move may go
//   to `setAsideFolder`, a copy may come from anywhere).
// - The folders the files go to that do not exist yet are made first, each
//   as a Folder change of its own, so that undo removes them again; never
//   the collection itself nor a folder outside it and the set-aside folder.
// - The sizes of the copies that take space of their own (not reflinks on a
//   file system that shares blocks) are compared with the free space where
//   they go; when it is short nothing is done.
// - The journal of the whole batch, with a temporary name for every change
//   that may need one, is written and flushed to disk before the first change.
// - Each change happens only when its file is still the regular file of its
//   identity (not a link, not another file of that name, not changed: its
//   ctime too where the plan has one, but for this batch's own links), and
//   only where nothing has the new name. A copy is written under its
//   temporary name in the folder it goes to (a reflink where the file system
//   can), flushed, checked against its source (size and mtime unchanged),
//   recorded, then renamed to its name without replacing; a move across file
//   systems does the same and unlinks the original only once the copy is on
//   disk. A case-only rename, or one on a file system that folds case, goes
//   through its temporary name. Where the file system refuses the no-replace
//   rename, a hard link and an unlink do it; without either (exFAT, FAT), a
//   rename over an empty placeholder made exclusively under the new name and
//   announced in the journal first.
// - A change that fails is skipped, named, and the others go on; a full disk
//   or a journal that cannot be written stops the batch. A temporary file
//   left behind (a failed removal) is in the journal, and undo removes it.
// The source of a copy or a link is never changed.
ChangeBatch applyChanges(const std::vector<Change>& changes, const ChangeOptions& options);

// Undoes the journal at `journalPath`, last change first, as far as the
// files show that each was made, whatever the journal says of it: a renamed
// or moved file goes back only when it is still the same file and its old
// name is free; a copy is removed only while it is still the copy (device,
// inode, size and mtime), a hard link only while the original has its name
// (a file of the recorded size and mtime under another number, as on an
// exFAT drive mounted again, is left, with what to do by hand); a
// folder the batch made only when it is empty; a file left under a
// temporary name is put back or removed, an empty placeholder announced in
// the journal removed. Only paths inside the journal's collection and its
// set-aside folder are touched (CollectionArea); a change elsewhere is
// skipped with the reason. Nothing is ever replaced. Each
// reversal is appended to the journal, so that undoing twice is harmless
// (DoneBefore) and an undo cut short can be run again. The collection named
// in the journal (for version 1 journals: the one above the first folder,
// collectionOfFolder) is locked meanwhile; `options.collection` is not used.
// A journal that cannot be read (readJournal), is damaged or is of a newer
// version changes nothing (`notStarted` says which line and why); a last record torn by a
// batch that was killed is passed over, and cut off before undo appends.
ChangeBatch undoChanges(const std::string& journalPath, const ChangeOptions& options);

}  // namespace tokenade
