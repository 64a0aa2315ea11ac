#include "change_steps.h"

#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

// The user's file under the name the batch gave it: recorded without its
// time, which is the file's own and no sign of a file the batch made.
FileIdentity withoutTime(const FileIdentity& file)
{
    return FileIdentity{file.device, file.inode, file.size, 0, 0};
}

// Whether `present` has the ctime the plan saw, or the one this batch's own
// link gave it. A file rewritten in place with its mtime put back (`rsync
// --inplace -t`) keeps its size and mtime but not its ctime, which no one can
// set back. A plan without a ctime (0) is judged without it, and so is a file
// linked by this batch whose ctime after the link is unknown.
bool sameStatusChange(const StepContext& context, const FileIdentity& present, const FileIdentity& planned)
{
    const std::pair<int64_t, int64_t> now{present.changedSeconds, present.changedNanoseconds};
    if (planned.changedSeconds == 0 && planned.changedNanoseconds == 0)
        return true;
    if (now == std::pair<int64_t, int64_t>{planned.changedSeconds, planned.changedNanoseconds})
        return true;
    const auto linked = context.linkedTimes.find({present.device, present.inode});
    return linked != context.linkedTimes.end() && (!linked->second || *linked->second == now);
}

// Keeps the ctime that the link `to` of `change` gave its file, for the
// later changes of the same file (sameStatusChange).
void noteLinkedTime(StepContext& context, int toFd, const Change& change)
{
    auto& linkedTime = context.linkedTimes[{change.identity.device, change.identity.inode}];
    if (FileAt linked; context.disk.statusIn(toFd, change.to, linked) == 0 && linked.identity.sameFile(change.identity))
        linkedTime = {linked.identity.changedSeconds, linked.identity.changedNanoseconds};
    else
        linkedTime.reset();
}

// Checks that `from` is still the file of the plan; "" when it is.
std::string whyNotThePlannedFile(StepContext& context, int fd, const Change& change)
{
    Disk& disk = context.disk;
    FileAt present;
    present.error = disk.statusIn(fd, change.from, present);
    if (present.error == ENOENT)
        return "the file is no longer there";
    if (present.error != 0)
        return reasonOf(present.error);
    if (!present.regular)
        return "the name is no longer that of a regular file";
    if (!present.identity.sameFile(change.identity))
        return "another file has that name now";
    if (present.identity != change.identity || !sameStatusChange(context, present.identity, change.identity))
        return "the file changed since the changes were planned";
    return "";
}

bool nameIsTaken(Disk& disk, int fd, const std::string& name, std::string& why)
{
    FileAt taken;
    const int error = disk.statusIn(fd, name, taken);
    why = error == 0 ? "another file has that name" : error == ENOENT ? "" : reasonOf(error);
    return error != ENOENT;
}

StepResult renamed(StepContext& context, size_t step, JournalLine& line, int fromFd, int toFd)
{
    const Change& change = line.change;
    const Announce placing{step, &line, JournalState::Placing};
    const int error = renameSafely(context, fromFd, change.from, toFd, change.to, line.temporary, &placing);
    if (error != 0)
        return StepResult::failed(reasonOf(error));
    line.made = withoutTime(change.identity);
    line.state = JournalState::Made;
    return record(context, step, line);
}

// The copy under its temporary name, recorded, then given its own name.
StepResult copied(StepContext& context, size_t step, JournalLine& line, int fromFd, int toFd)
{
    const Change& change = line.change;
    StepResult result = copyToTemporary(context, fromFd, change.from, change.identity, toFd, line.temporary, line.made);
    if (!result.failure.empty())
        return result;
    line.state = JournalState::Copied;
    if (result = record(context, step, line); !result.failure.empty()) {
        removeIfStill(context, toFd, line.temporary, line.made);
        return result;
    }
    const Announce placing{step, &line, JournalState::Placing};
    if (const int error = renameSafely(context, toFd, line.temporary, toFd, change.to, "", &placing); error != 0) {
        removeIfStill(context, toFd, line.temporary, line.made);
        return StepResult::failed(reasonOf(error));
    }
    // Only a copy whose name is on the disk may stand for a moved original.
    if (const int error = context.disk.sync(toFd); error != 0 && change.kind == ChangeKind::Move)
        return StepResult::failed("the copy is made but not yet safe on the disk: " + reasonOf(error));
    return StepResult::made();
}

StepResult makeFile(StepContext& context, size_t step, JournalLine& line)
{
    const Change& change = line.change;
    StepResult result;
    const int fromFd = openFolderFor(context, change.folder, result);
    const int toFd = fromFd < 0 ? -1 : openFolderFor(context, change.toFolder, result);
    if (toFd < 0)
        return result;
    if (std::string why = whyNotThePlannedFile(context, fromFd, change); !why.empty())
        return StepResult::failed(why);
    std::string why;
    if (change.kind != ChangeKind::Rename && nameIsTaken(context.disk, toFd, change.to, why))
        return StepResult::failed(why);

    switch (change.kind) {
    case ChangeKind::Rename: return renamed(context, step, line, fromFd, toFd);
    case ChangeKind::Link: {
        if (const int error = context.disk.link(fromFd, change.from, toFd, change.to); error != 0)
            return StepResult::failed(reasonOf(error));
        noteLinkedTime(context, toFd, change);
        line.made = withoutTime(change.identity);
        line.state = JournalState::Made;
        return record(context, step, line);
    }
    case ChangeKind::Copy:
        if (result = copied(context, step, line, fromFd, toFd); !result.failure.empty())
            return result;
        line.state = JournalState::Made;
        return record(context, step, line);
    case ChangeKind::Move: {
        const Announce placing{step, &line, JournalState::Placing};
        const int error = renameSafely(context, fromFd, change.from, toFd, change.to, "", &placing);
        if (error == 0) {
            line.made = withoutTime(change.identity);
            line.state = JournalState::Made;
            return record(context, step, line);
        }
        if (error != EXDEV)
            return StepResult::failed(reasonOf(error));
        // Another file system: a copy there first, the original unlinked once
        // the copy is safe; else the copy goes again and the original stays.
        result = copied(context, step, line, fromFd, toFd);
        if (result.failure.empty() && !(why = whyNotThePlannedFile(context, fromFd, change)).empty())
            result = StepResult::failed(why);
        if (result.failure.empty()) {
            const int unlinked = context.disk.unlink(fromFd, change.from);
            // An unlink that reports a failure after doing its work has moved the file all the same.
            if (unlinked != 0 && whyNotThePlannedFile(context, fromFd, change).empty())
                result = StepResult::failed(reasonOf(unlinked));
        }
        if (!result.failure.empty()) {
            if (line.made != FileIdentity{})
                removeIfStill(context, toFd, change.to, line.made);
            return result;
        }
        line.state = JournalState::Made;
        return record(context, step, line);
    }
    case ChangeKind::Folder: break;
    }
    return StepResult::failed("not a change of a file");
}

StepResult makeFolder(StepContext& context, size_t step, JournalLine& line)
{
    const Change& change = line.change;
    StepResult result;
    const int parent = openFolderFor(context, change.toFolder, result);
    if (parent < 0)
        return result;
    if (const int error = context.disk.makeFolder(parent, change.to); error != 0)
        return StepResult::failed(error == EEXIST ? "something has that name already" : reasonOf(error),
                                  error == ENOSPC);
    FileAt made;
    if (context.disk.statusIn(parent, change.to, made) == 0)
        line.made = FileIdentity{made.identity.device, made.identity.inode, 0, 0, 0};
    line.state = JournalState::Made;
    return record(context, step, line);
}

}  // namespace

StepResult makeChange(StepContext& context, size_t step, JournalLine& line)
{
    StepResult result = line.change.kind == ChangeKind::Folder ? makeFolder(context, step, line)
                                                               : makeFile(context, step, line);
    if (!context.stopped.empty())
        return StepResult::failed(context.stopped, true);
    if (!result.failure.empty() && line.state != JournalState::Made) {
        line.state = JournalState::Skipped;
        line.note = result.failure;
        // The record of a failure may fail too; the batch stops then all the same.
        const StepResult recorded = record(context, step, line);
        if (!recorded.failure.empty())
            result.stopsBatch = true;
    }
    return result;
}

}  // namespace tokenade
