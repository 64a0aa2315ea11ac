#include "change_steps.h"

#include "core/foundation/unicode_key.h"

#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

constexpr uint64_t kCopyPiece = uint64_t{8} << 20;

bool isFile(const FileAt& found, const FileIdentity& identity)
{
    return found.error == 0 && found.regular && found.identity.sameFile(identity);
}

FileAt statusIn(Disk& disk, int fd, const std::string& name)
{
    FileAt found;
    found.error = disk.statusIn(fd, name, found);
    return found;
}

// The no-replace rename for file systems that refuse its flag: a hard link
// under the new name, then, once both names are seen to be the one file with
// one link more, removal of the old name. Whatever fails, the file keeps the
// old name unless the new one is seen to hold it: a link or an unlink that
// reports a failure after doing its work must not lose the file or leave it
// with two names unseen. A second name that cannot be looked at stays, and
// undo removes it while the old name holds the file.
int renameByLinking(Disk& disk, int fromFd, const std::string& from, int toFd, const std::string& to)
{
    const FileAt before = statusIn(disk, fromFd, from);
    if (before.error != 0)
        return before.error;
    if (!before.regular)
        return EINVAL;  // a folder cannot be linked
    const int linkError = disk.link(fromFd, from, toFd, to);
    if (linkError == EEXIST)
        return linkError;
    const FileAt linked = statusIn(disk, toFd, to);
    const FileAt old = statusIn(disk, fromFd, from);
    const bool twoNames = isFile(linked, before.identity) && linked.links > before.links;
    if (linkError != 0 && !twoNames)
        return linkError == EPERM || linkError == EOPNOTSUPP ? ENOTSUP : linkError;
    if (twoNames && isFile(old, before.identity)) {
        const int error = disk.unlink(fromFd, from);
        if (error != 0 && isFile(statusIn(disk, fromFd, from), before.identity))
            disk.unlink(toFd, to);
        return error;
    }
    if (isFile(old, before.identity) && (linked.error == 0 || linked.error == ENOENT))
        disk.unlink(toFd, to);  // made by the link, and not the file under a second name
    return old.error != 0 ? old.error : linked.error != 0 ? linked.error : EIO;
}

// The last way that never replaces a file, for file systems with neither a
// no-replace rename nor hard links (exFAT and FAT through FUSE): an empty
// placeholder made exclusively under the new name, announced in the journal
// first, then the file renamed over it. Nothing but the placeholder, while it
// is still the empty file made here, is ever replaced.
int renameOverPlaceholder(StepContext& context, int fromFd, const std::string& from, int toFd, const std::string& to,
                          const Announce* announce)
{
    Disk& disk = context.disk;
    const FileAt before = statusIn(disk, fromFd, from);
    if (before.error != 0)
        return before.error;
    if (!before.regular)
        return EINVAL;
    if (announce) {
        announce->line->state = announce->state;
        if (const StepResult recorded = record(context, announce->step, *announce->line); !recorded.failure.empty()) {
            context.stopped = recorded.failure;
            return EIO;
        }
    }
    int fd = -1;
    if (const int error = disk.createFile(toFd, to, 0600, fd); error != 0) {
        // Made all the same by a call that then failed: ours, and empty.
        const FileAt made = statusIn(disk, toFd, to);
        if (error != EEXIST && made.error == 0 && made.regular && made.identity.size == 0 && made.links == 1)
            disk.unlink(toFd, to);
        // exFAT through FUSE says a name it cannot hold (a ":") is not there.
        return error == ENOENT || error == EINVAL ? EILSEQ : error;
    }
    FileAt placeholder;
    int error = disk.status(fd, placeholder);
    disk.close(fd);
    if (error == 0) {
        const FileAt now = statusIn(disk, toFd, to);
        const bool stillOurs = isFile(now, placeholder.identity) && now.identity.size == 0;
        error = !stillOurs ? (now.error != 0 ? now.error : EEXIST) : disk.replace(fromFd, from, toFd, to);
        // A rename that reports a failure after doing its work has been made all the same.
        if (error != 0 && isFile(statusIn(disk, toFd, to), before.identity) &&
            statusIn(disk, fromFd, from).error == ENOENT)
            return 0;
    }
    if (error != 0 && placeholder.regular)
        removeIfStill(context, toFd, to, placeholder.identity);
    else if (error != 0)
        disk.unlink(toFd, to);  // just made, though its status could not be had: nobody else's
    return error;
}

int renameOnce(StepContext& context, int fromFd, const std::string& from, int toFd, const std::string& to,
               const Announce* announce)
{
    const int error = context.disk.rename(fromFd, from, toFd, to);
    if (error != EINVAL && error != ENOSYS)
        return error;
    const int linked = renameByLinking(context.disk, fromFd, from, toFd, to);
    return linked == ENOTSUP ? renameOverPlaceholder(context, fromFd, from, toFd, to, announce) : linked;
}

// Through `temporary`, so that a file system that folds case sees two renames
// to names that are free. The temporary name is the batch's own: a
// placeholder there needs no announcing.
int renameThrough(StepContext& context, int fromFd, const std::string& from, int toFd, const std::string& to,
                  const std::string& temporary, const Announce* announce)
{
    if (const int error = renameOnce(context, fromFd, from, toFd, temporary, nullptr); error != 0)
        return error;
    const int error = renameOnce(context, toFd, temporary, toFd, to, announce);
    if (error != 0 && context.stopped.empty())
        renameOnce(context, toFd, temporary, fromFd, from, nullptr);  // left under the temporary name if this fails: undo finds it
    return error;
}

bool saysAChangeWasMade(JournalState state)
{
    return state == JournalState::Made || state == JournalState::Copied || state == JournalState::Restoring ||
           state == JournalState::Undone || state == JournalState::Placing || state == JournalState::Returning;
}

}  // namespace

std::string reasonOf(int error)
{
    switch (error) {
    case EEXIST: return "another file has that name";
    case ENOTSUP: return "the file system offers no rename that cannot replace a file";
    case EILSEQ: return "the file system cannot hold this name (exFAT and FAT take none of \" * : < > ? \\ |)";
    default: return std::strerror(error);
    }
}

StepResult record(StepContext& context, size_t step, const JournalLine& line)
{
    if (!context.journal)
        return StepResult::made();
    std::string why = context.journal->append(journalRecord(step, line));
    // A change the disk has but its record not would be lost to undo by a power cut.
    if (why.empty() && saysAChangeWasMade(line.state))
        why = context.journal->syncData();
    return why.empty() ? StepResult::made() : StepResult::failed(why, true);
}

int openFolderFor(StepContext& context, const std::string& folder, StepResult& result)
{
    int error = 0;
    const int fd = context.folders.open(folder, error);
    if (fd < 0)
        result = StepResult::failed("cannot open the folder " + folder + ": " + std::strerror(error));
    return fd;
}

int renameSafely(StepContext& context, int fromFd, const std::string& from, int toFd, const std::string& to,
                 const std::string& temporary, const Announce* announce)
{
    Disk& disk = context.disk;
    if (!temporary.empty() && from != to && unicodeKey(from) == unicodeKey(to))
        return renameThrough(context, fromFd, from, toFd, to, temporary, announce);
    const int error = renameOnce(context, fromFd, from, toFd, to, announce);
    if (error != EEXIST || temporary.empty())
        return error;
    // Taken by the file itself: the file system folds the two names into one.
    const FileAt source = statusIn(disk, fromFd, from);
    const FileAt target = statusIn(disk, toFd, to);
    if (source.error != 0 || target.error != 0)
        return source.error != 0 ? source.error : target.error;
    if (source.identity.sameFile(target.identity) && source.links == 1)
        return renameThrough(context, fromFd, from, toFd, to, temporary, announce);
    return error;
}

int removeIfStill(StepContext& context, int fd, const std::string& name, const FileIdentity& file)
{
    const FileAt found = statusIn(context.disk, fd, name);
    if (found.error == ENOENT)
        return 0;
    if (found.error != 0)
        return found.error;
    if (!found.regular || !sameCopy(found.identity, file))
        return EEXIST;
    return context.disk.unlink(fd, name);
}

StepResult copyToTemporary(StepContext& context, int fromFd, const std::string& from, const FileIdentity& identity,
                           int toFd, const std::string& temporary, FileIdentity& made)
{
    Disk& disk = context.disk;
    int source = -1;
    if (const int error = disk.openFile(fromFd, from, source); error != 0)
        return StepResult::failed(error == ENOENT ? "the file is no longer there" : reasonOf(error));
    int copy = -1;
    FileAt before;
    auto finish = [&](std::string why, bool stops = false) {
        if (copy >= 0)
            disk.close(copy);
        disk.close(source);
        if (!why.empty() && copy >= 0)
            disk.unlink(toFd, temporary);  // when this fails the journal still names it, and undo removes it
        return why.empty() ? StepResult::made() : StepResult::failed(std::move(why), stops);
    };
    if (const int error = disk.status(source, before); error != 0)
        return finish(reasonOf(error));
    if (!before.regular || !before.identity.sameFile(identity))
        return finish("another file has that name now");
    if (before.identity != identity)
        return finish("the file changed since the changes were planned");
    if (const int error = disk.createFile(toFd, temporary, 0666, copy); error != 0) {
        copy = -1;
        return finish("cannot make " + temporary + ": " + reasonOf(error), error == ENOSPC);
    }

    if (disk.clone(source, copy) == 0) {
        context.progress.bytesDone += static_cast<uint64_t>(identity.size);
    } else {
        for (uint64_t copied = 1; copied > 0;) {
            if (const int error = disk.copy(source, copy, kCopyPiece, copied); error != 0)
                return finish(error == ENOSPC ? "the disk is full" : reasonOf(error), error == ENOSPC);
            context.progress.bytesDone += copied;
            if (context.options.progress)
                context.options.progress(context.progress);
        }
    }
    if (const int error = disk.sync(copy); error != 0)
        return finish(error == ENOSPC ? "the disk is full" : reasonOf(error), error == ENOSPC);
    FileAt after;
    FileAt copied;
    if (const int error = disk.status(source, after); error != 0)
        return finish(reasonOf(error));
    if (const int error = disk.status(copy, copied); error != 0)
        return finish(reasonOf(error));
    if (after.identity != before.identity)
        return finish("the file changed while it was copied");
    if (copied.identity.size != identity.size)
        return finish("the copy came out " + std::to_string(copied.identity.size) + " bytes long, not " +
                      std::to_string(identity.size));
    made = copied.identity;
    return finish("");
}

}  // namespace tokenade
