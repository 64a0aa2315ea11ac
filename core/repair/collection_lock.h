#pragma once

#include "core/repair/disk.h"

#include <optional>
#include <string>

namespace tokenade {

// The one batch (of changes or of their undoing) that may run on a
// collection at a time, whichever process runs it and wherever it keeps its
// journals: an flock on a file in the user's journal folder named after the
// collection's real path, so that a link, a trailing "/" or a ".." do not
// make another collection of the same folder. The holder writes
// who it is into the file, so that another is told plainly who holds it. The
// lock goes with the object (or with the process, however it ends). `disk`
// must outlive it.
class CollectionLock {
public:
    CollectionLock(Disk& disk, int fd) : disk_(&disk), fd_(fd) {}
    CollectionLock(CollectionLock&& other) noexcept;
    CollectionLock& operator=(CollectionLock&&) = delete;
    ~CollectionLock();

private:
    Disk* disk_;
    int fd_;
};

// The lock, or `problem` saying why there is none: held by another process
// ("another batch of changes is running on /home/ana/Tokenade: tokenade-audit,
// process 4242, since 2026-12-06 12:31:03"; `heldBy` then says who), or the
// lock file cannot be made.
struct LockAttempt {
    std::optional<CollectionLock> lock;
    std::string problem;
    std::string heldBy;  // "tokenade-audit, process 4242, since ..." when another holds it
};

// The lock file goes to renameJournalFolder(), or to `fallbackFolder` when
// the user has none.
LockAttempt lockCollection(Disk& disk, const std::string& fallbackFolder, const std::string& collection);

// The name of the lock file of `collection` (an absolute real path): the
// path with "%" written "%25" and "/" written "%2F", then ".lock"; a path too
// long for a name keeps its start and gets a hash of the whole.
std::string lockFileName(const std::string& collection);

// The collection of a folder that holds files of one: the folder above the
// first rom or video folder on its path ("/a/Tokenade" for
// "/a/Tokenade/roms/Sega"); the folder itself when there is none.
std::string collectionOfFolder(const std::string& folder);

}  // namespace tokenade
