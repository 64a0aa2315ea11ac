#include "changes.h"

#include "core/foundation/atomic_write.h"
#include "core/foundation/path_join.h"
#include "core/repair/change_steps.h"
#include "core/repair/collection_area.h"
#include "core/repair/collection_lock.h"
#include "core/repair/plain_name.h"

#include <cerrno>
#include <climits>
#include <optional>

namespace tokenade {
namespace {

enum class Seen { Undone, DoneBefore, NeverMade, Failed };

struct Undo {
    Seen seen;
    std::string reason;
    bool stops = false;
};

Undo failed(std::string reason)
{
    return Undo{Seen::Failed, std::move(reason)};
}

// What `name` stands for in `fd` (nothing in a folder that is gone); a
// lookup that fails for another reason than a missing name sets `problem`,
// for the undo must not act on what it could not see.
FileAt at(Disk& disk, int fd, const std::string& name, Undo& problem)
{
    FileAt found;
    found.error = fd < 0 || name.empty() ? ENOENT : disk.statusIn(fd, name, found);
    if (found.error != 0 && found.error != ENOENT && problem.reason.empty())
        problem = Undo{Seen::Failed, "cannot look up " + name + ": " + reasonOf(found.error)};
    return found;
}

bool isFile(const FileAt& found, const FileIdentity& identity)
{
    return found.error == 0 && found.regular && found.identity.sameFile(identity);
}

bool isCopy(const FileAt& found, const FileIdentity& copy)
{
    return found.error == 0 && found.regular && copy != FileIdentity{} && sameCopy(found.identity, copy);
}

// Recorded as made: a copy recorded only as copied may never have taken its name.
bool wasMade(const JournalLine& line)
{
    return line.state == JournalState::Made || line.state == JournalState::Restoring ||
           line.state == JournalState::Returning;
}

// Nothing there that the batch made: as before, or never changed.
Undo untouched(const JournalLine& line)
{
    return Undo{wasMade(line) ? Seen::DoneBefore : Seen::NeverMade, ""};
}

Undo notThere(const FileAt& found)
{
    return failed(found.error == ENOENT ? "the file is no longer there"
                  : found.error != 0    ? reasonOf(found.error)
                                        : "another file has that name now");
}

// A file of the size and modification time recorded of the batch's file, but
// under another number: what the batch's own file looks like on a drive
// mounted again, for exFAT and FAT through FUSE number their files anew.
bool onlyNumberDiffers(const FileAt& found, const FileIdentity& recorded)
{
    const FileIdentity& file = found.identity;
    return found.error == 0 && found.regular && !file.sameFile(recorded) && file.size == recorded.size &&
           (recorded.modifiedSeconds != 0 || recorded.modifiedNanoseconds != 0) &&
           file.modifiedSeconds == recorded.modifiedSeconds && file.modifiedNanoseconds == recorded.modifiedNanoseconds;
}

// Such a file cannot be told from another that happens to match, so undo
// leaves it, and says why and what the user can do instead.
Undo notSure(const std::string& byHand)
{
    return failed("it has the size and time of the batch's file but another file number, as after an exFAT or FAT "
                  "drive is mounted again: undo cannot be sure it is the same file and leaves it; if it is, " +
                  byHand + " by hand");
}

// A folder the undo may have to look into: -1 when it is gone.
int folderOrNone(StepContext& context, const std::string& folder, Undo& problem)
{
    int error = 0;
    const int fd = context.folders.open(folder, error);
    if (fd < 0 && error != ENOENT)
        problem = failed("cannot open the folder " + folder + ": " + reasonOf(error));
    return fd;
}

// A file under the batch's temporary name is the batch's own: removed.
bool removedTemporary(StepContext& context, int fd, const JournalLine& line, Undo& problem)
{
    if (!at(context.disk, fd, line.temporary, problem).regular)
        return false;
    if (const int error = context.disk.unlink(fd, line.temporary); error != 0 && error != ENOENT) {
        problem = failed("cannot remove " + line.temporary + ": " + reasonOf(error));
        return false;
    }
    return true;
}

// An empty file left under a name by a batch killed between announcing a
// placeholder there and renaming over it: removed, for it holds nothing and
// stands in the way of the file that had or was to have the name.
void removePlaceholder(StepContext& context, const JournalLine& line, Undo& problem)
{
    const bool forward = line.state == JournalState::Placing;
    if (!forward && line.state != JournalState::Returning)
        return;
    const Change& change = line.change;
    const int fd = folderOrNone(context, forward ? change.toFolder : change.folder, problem);
    const std::string& name = forward ? change.to : change.from;
    const FileAt found = at(context.disk, fd, name, problem);
    const FileIdentity& file = found.identity;
    if (found.error != 0 || !found.regular || file.size != 0 || found.links != 1 || file.sameFile(change.identity) ||
        file.sameFile(line.made) || file.sameFile(line.restored))
        return;
    if (const int error = context.disk.unlink(fd, name); error != 0 && error != ENOENT)
        problem = failed("cannot remove the placeholder " + name + ": " + reasonOf(error));
}

Undo undoRename(StepContext& context, size_t step, JournalLine& line)
{
    const Change& change = line.change;
    Undo problem{Seen::Failed, ""};
    const int fd = folderOrNone(context, change.folder, problem);
    if (fd < 0)
        return problem.reason.empty() ? failed("the folder is no longer there") : problem;
    FileAt temporary = at(context.disk, fd, line.temporary, problem);
    FileAt renamed = at(context.disk, fd, change.to, problem);
    FileAt original = at(context.disk, fd, change.from, problem);
    if (!problem.reason.empty())
        return problem;
    // A link whose unlink did not follow leaves the file with two names: the
    // temporary one goes while another name holds the file, then the new one
    // while the old one does.
    if (isFile(temporary, change.identity) && temporary.links > 1 &&
        (isFile(renamed, change.identity) || isFile(original, change.identity))) {
        if (const int error = context.disk.unlink(fd, line.temporary); error != 0)
            return failed("cannot remove " + line.temporary + ": " + reasonOf(error));
        temporary = FileAt{ENOENT};
        renamed = at(context.disk, fd, change.to, problem);
        original = at(context.disk, fd, change.from, problem);
        if (!problem.reason.empty())
            return problem;
    }
    if (isFile(renamed, change.identity) && renamed.links > 1 && isFile(original, change.identity)) {
        const int error = context.disk.unlink(fd, change.to);
        return error == 0 ? Undo{Seen::Undone, ""} : failed(reasonOf(error));
    }
    // Cut short between the two renames of a case-only rename.
    const bool halfway = isFile(temporary, change.identity);
    const std::string& now = halfway ? line.temporary : change.to;
    if (halfway)
        renamed = temporary;
    if (isFile(renamed, change.identity)) {
        const Announce returning{step, &line, JournalState::Returning};
        const int error = renameSafely(context, fd, now, fd, change.from, halfway ? "" : line.temporary, &returning);
        return error == 0 ? Undo{Seen::Undone, ""} : failed(reasonOf(error));
    }
    if (isFile(original, change.identity))
        return untouched(line);
    if (original.error == ENOENT && onlyNumberDiffers(renamed, change.identity))
        return notSure("rename it back to " + change.from);
    return notThere(renamed);
}

Undo undoCopy(StepContext& context, const JournalLine& line)
{
    const Change& change = line.change;
    Undo problem{Seen::Failed, ""};
    const int fd = folderOrNone(context, change.toFolder, problem);
    if (!problem.reason.empty())
        return problem;
    const bool removed = removedTemporary(context, fd, line, problem);
    if (!problem.reason.empty())
        return problem;
    const FileAt target = at(context.disk, fd, change.to, problem);
    if (!problem.reason.empty())
        return problem;
    if (target.error == ENOENT)
        return removed ? Undo{Seen::Undone, ""} : untouched(line);
    if (change.kind == ChangeKind::Copy && isCopy(target, line.made)) {
        const int error = context.disk.unlink(fd, change.to);
        return error == 0 ? Undo{Seen::Undone, ""} : failed(reasonOf(error));
    }
    if (change.kind == ChangeKind::Copy && target.identity.sameFile(line.made))
        return failed("the copy has changed since it was made: kept");
    if (change.kind == ChangeKind::Link && isFile(target, change.identity)) {
        const int from = folderOrNone(context, change.folder, problem);
        const FileAt original = at(context.disk, from, change.from, problem);
        if (!problem.reason.empty())
            return problem;
        if (!isFile(original, change.identity) || target.links < 2)
            return failed("the original is no longer there, so the link is the file's only name: kept");
        const int error = context.disk.unlink(fd, change.to);
        return error == 0 ? Undo{Seen::Undone, ""} : failed(reasonOf(error));
    }
    if (!wasMade(line))
        return untouched(line);
    return change.kind == ChangeKind::Copy && onlyNumberDiffers(target, line.made)
               ? notSure("delete it")
               : failed("another file has that name now");
}

// A move across file systems goes back the way it came: a copy under the
// temporary name in the old folder, recorded, given the old name, and then
// the moved copy removed.
Undo copyBack(StepContext& context, size_t step, JournalLine& line, int fromFd, int toFd, const FileAt& moved)
{
    const Change& change = line.change;
    StepResult result =
        copyToTemporary(context, toFd, change.to, moved.identity, fromFd, line.temporary, line.restored);
    if (!result.failure.empty())
        return Undo{Seen::Failed, result.failure, result.stopsBatch};
    line.state = JournalState::Restoring;
    if (result = record(context, step, line); !result.failure.empty()) {
        removeIfStill(context, fromFd, line.temporary, line.restored);
        return Undo{Seen::Failed, result.failure, true};
    }
    const Announce returning{step, &line, JournalState::Returning};
    if (const int error = renameSafely(context, fromFd, line.temporary, fromFd, change.from, "", &returning);
        error != 0) {
        removeIfStill(context, fromFd, line.temporary, line.restored);
        return failed(reasonOf(error));
    }
    if (const int error = context.disk.sync(fromFd); error != 0)
        return failed("the file is back but not yet safe on the disk: " + reasonOf(error));
    const int error = removeIfStill(context, toFd, change.to, line.made);
    return error == 0 ? Undo{Seen::Undone, ""} : failed("the file is back; its copy stays: " + reasonOf(error));
}

Undo undoMove(StepContext& context, size_t step, JournalLine& line)
{
    const Change& change = line.change;
    Undo problem{Seen::Failed, ""};
    const int fromFd = folderOrNone(context, change.folder, problem);
    const int toFd = problem.reason.empty() ? folderOrNone(context, change.toFolder, problem) : -1;
    if (!problem.reason.empty())
        return problem;
    if (fromFd < 0)
        return failed("the folder it came from is no longer there");
    removedTemporary(context, toFd, line, problem);
    const FileAt moved = at(context.disk, toFd, change.to, problem);
    const FileAt original = at(context.disk, fromFd, change.from, problem);
    if (!problem.reason.empty())
        return problem;
    if (isFile(moved, change.identity)) {
        const Announce returning{step, &line, JournalState::Returning};
        const int error = renameSafely(context, toFd, change.to, fromFd, change.from, "", &returning);
        return error == 0 ? Undo{Seen::Undone, ""} : failed(reasonOf(error));
    }
    const bool back = isFile(original, change.identity) || isCopy(original, line.restored);
    if (!back)
        removedTemporary(context, fromFd, line, problem);
    if (!problem.reason.empty())
        return problem;
    if (isCopy(moved, line.made)) {
        if (!back && original.error == ENOENT)
            return copyBack(context, step, line, fromFd, toFd, moved);
        if (back) {
            const int error = removeIfStill(context, toFd, change.to, line.made);
            return error == 0 ? Undo{Seen::Undone, ""} : failed(reasonOf(error));
        }
    }
    if (!back && original.error == ENOENT &&
        (onlyNumberDiffers(moved, change.identity) || onlyNumberDiffers(moved, line.made)))
        return notSure("move it back to " + joinPath(change.folder, change.from));
    return back ? untouched(line) : notThere(original.error == 0 ? original : moved);
}

Undo undoFolder(StepContext& context, const JournalLine& line)
{
    const Change& change = line.change;
    Undo problem{Seen::Failed, ""};
    const int parent = folderOrNone(context, change.toFolder, problem);
    const FileAt folder = at(context.disk, parent, change.to, problem);
    if (!problem.reason.empty() || folder.error == ENOENT)
        return problem.reason.empty() ? untouched(line) : problem;
    if (line.made != FileIdentity{} && !folder.identity.sameFile(line.made))
        return failed("another folder has that name now");
    const int error = context.disk.removeFolder(parent, change.to);
    if (error == ENOTEMPTY || error == EEXIST)
        return failed("the folder is not empty");
    return error == 0 ? Undo{Seen::Undone, ""} : failed(reasonOf(error));
}

Undo undoOne(StepContext& context, size_t step, JournalLine& line)
{
    Undo problem{Seen::Failed, ""};
    removePlaceholder(context, line, problem);
    if (!problem.reason.empty())
        return problem;
    switch (line.change.kind) {
    case ChangeKind::Rename: return undoRename(context, step, line);
    case ChangeKind::Copy:
    case ChangeKind::Link: return undoCopy(context, line);
    case ChangeKind::Move: return undoMove(context, step, line);
    case ChangeKind::Folder: return undoFolder(context, line);
    }
    return failed("not a change this program makes");
}

// What undo does to a file that went elsewhere: the way back. A copy, a
// link or a folder is named as it was made: undo removes it.
Change reversed(const Change& change)
{
    if (change.kind != ChangeKind::Rename && change.kind != ChangeKind::Move)
        return change;
    return Change{change.kind, change.toFolder, change.to, change.folder, change.from, change.identity};
}

// A journal may be written by hand: only what lies inside its collection
// (and where it set files aside), under plain names, is ever touched.
bool isInside(const JournalLine& line, const CollectionArea& area)
{
    return area.admits(line.change) &&
           (line.temporary.empty() || !whyNotAPlainName(line.temporary, NAME_MAX).has_value());
}

std::string collectionOf(const JournalRead& journal)
{
    if (!journal.collection.empty() || journal.lines.empty())
        return journal.collection;
    return collectionOfFolder(journal.lines.front().change.toFolder);
}

}  // namespace

ChangeBatch undoChanges(const std::string& journalPath, const ChangeOptions& options)
{
    Disk& disk = options.disk ? *options.disk : systemDisk();
    ChangeBatch batch;
    JournalRead journal = readJournal(journalPath, disk);
    if (!journal.problem.empty()) {
        batch.notStarted = journal.problem + "; nothing was undone";
        return batch;
    }
    batch.journalPath = journalPath;
    LockAttempt lock = lockCollection(disk, options.journalFolder, collectionOf(journal));
    if (!lock.lock) {
        batch.notStarted = lock.problem + "; nothing was undone";
        batch.heldBy = lock.heldBy;
        return batch;
    }
    // A batch may have appended to the journal until it let go of the lock:
    // read it again now that none can, for its torn tail is about to be cut.
    if (journal = readJournal(journalPath, disk); !journal.problem.empty()) {
        batch.notStarted = journal.problem + "; nothing was undone";
        return batch;
    }
    std::optional<JournalFile> file;
    if (journal.version >= 2 && !(file = openJournal(disk, journalPath, journal.length, batch.notStarted))) {
        batch.notStarted += "; nothing was undone";
        return batch;
    }

    const std::string collection = collectionOf(journal);
    const CollectionArea area(collection, journal.setAsideFolder);
    OpenFolders folders(disk);
    StepContext context{disk, folders, file ? &*file : nullptr, options, {}, ""};
    context.progress.files = journal.lines.size();
    const std::vector<JournalLine> before = journal.lines;
    std::vector<std::optional<ChangeOutcome>> outcomes(journal.lines.size());
    // Last first: when a batch freed a name and then gave it to another file
    // (x to y, then z to x), x must go back to z before y can become x again.
    for (size_t i = journal.lines.size(); i-- > 0 && batch.stopped.empty();) {
        JournalLine& line = journal.lines[i];
        if (options.stop.stop_requested()) {
            batch.stopped = "stopped on request";
            break;
        }
        ++context.progress.filesDone;
        if (line.state == JournalState::Refused)
            continue;
        if (line.state == JournalState::Undone) {
            outcomes[i] = ChangeOutcome{reversed(line.change), ChangeResult::DoneBefore, ""};
            continue;
        }
        const JournalLine was = line;
        const Undo undo = isInside(line, area) ? undoOne(context, i + 1, line)
                                               : failed("it lies outside the collection " + collection + ": left as it is");
        if (undo.stops || !context.stopped.empty())
            batch.stopped = context.stopped.empty() ? undo.reason : context.stopped;
        if (undo.seen == Seen::NeverMade && line.state == JournalState::Skipped)
            continue;
        line.state = undo.seen == Seen::Undone || undo.seen == Seen::DoneBefore ? JournalState::Undone
                     : undo.seen == Seen::NeverMade                             ? JournalState::Skipped
                                                                                : line.state;
        line.note = undo.seen == Seen::Failed      ? "not undone: " + undo.reason
                    : undo.seen == Seen::NeverMade ? "not made: the batch was cut short"
                                                   : "";
        if (line != was) {
            if (const StepResult recorded = record(context, i + 1, line);
                !recorded.failure.empty() && batch.stopped.empty())
                batch.stopped = recorded.failure;
        }
        if (undo.seen == Seen::NeverMade)
            continue;
        const ChangeResult result = undo.seen == Seen::Undone       ? ChangeResult::Made
                                    : undo.seen == Seen::DoneBefore ? ChangeResult::DoneBefore
                                                                    : ChangeResult::Skipped;
        outcomes[i] = ChangeOutcome{reversed(line.change), result, undo.reason};
        if (options.progress)
            options.progress(context.progress);
    }
    for (auto& outcome : outcomes) {
        if (outcome)
            batch.outcomes.push_back(std::move(*outcome));
    }
    if (file) {
        if (const std::string why = file->sync(); !why.empty() && batch.stopped.empty())
            batch.stopped = why;
    } else if (journal.lines != before) {
        if (const auto failure = writeFileAtomically(journalPath, journalText(journal.lines), kJournalMode))
            batch.notRecorded = "cannot record the undo in the journal " + failure->path + ": " + failure->reason;
    }
    return batch;
}

}  // namespace tokenade
