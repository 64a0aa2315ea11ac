#pragma once

#include "core/repair/disk.h"

#include <optional>
#include <string>

namespace tokenade {

// The one batch (of changes or of their undoing) that may run on a
// collection at a time, whichever process runs it, wherever it keeps its
// journals and by whichever path it reaches the folder (a link, a trailing
// "/", a "..", a bind mount): an flock on the collection's folder itself,
// which every path to it shares. The holder writes who it is into a file of
// the user's journal folder named after the folder's device and inode, so
// that another is told plainly who holds it. Where the file system refuses a
// lock on a folder, the lock on that file stands in for it. The lock goes
// with the object (or with the process, however it ends). `disk` must
// outlive it.
class CollectionLock {
public:
    CollectionLock(Disk& disk, int folder, int holder) : disk_(&disk), folder_(folder), holder_(holder) {}
    CollectionLock(CollectionLock&& other) noexcept;
    CollectionLock& operator=(CollectionLock&&) = delete;
    ~CollectionLock();

private:
    Disk* disk_;
    int folder_;
    int holder_;
};

// The lock, or `problem` saying why there is none: held by another process
// ("another batch of changes is running on /home/ana/Tokenade: tokenade-audit,
// process 4242, since 2026-12-06 12:31:03"; `heldBy` then says who), the
// collection does not exist (then nothing at all is made for it), or the
// lock file cannot be made.
struct LockAttempt {
    std::optional<CollectionLock> lock;
    std::string problem;
    std::string heldBy;  // "tokenade-audit, process 4242, since ..." when another holds it
};

// The holder's file goes to renameJournalFolder(), or to `fallbackFolder`
// when the user has none.
LockAttempt lockCollection(Disk& disk, const std::string& fallbackFolder, const std::string& collection);

// The collection of a folder that holds files of one: the folder above the
// first rom or video folder on its path ("/a/Tokenade" for
// "/a/Tokenade/roms/Sega"); the folder itself when there is none.
std::string collectionOfFolder(const std::string& folder);

}  // namespace tokenade
