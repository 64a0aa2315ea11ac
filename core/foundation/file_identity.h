#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tokenade {

// What tells one file from another and from its own former self: the same
// device and inode is the same file; a different size or modification time
// is the same file changed.
//
// The status change time (ctime) is kept too, for what a cache remembers
// of a file: a file rewritten in place with its modification time put back
// (`rsync --inplace -t`) keeps its size and mtime, but no one can set its
// ctime. It is not part of ==, which the repair journal relies on: renaming
// a file changes its ctime, and a journal does not keep it.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
    int64_t changedSeconds = 0;
    int64_t changedNanoseconds = 0;

    bool operator==(const FileIdentity& other) const
    {
        return sameFile(other) && size == other.size && modifiedSeconds == other.modifiedSeconds &&
               modifiedNanoseconds == other.modifiedNanoseconds;
    }
    bool sameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
    // The same file, not written nor renamed since: == and the same ctime.
    bool sameVersion(const FileIdentity& other) const
    {
        return *this == other && changedSeconds == other.changedSeconds &&
               changedNanoseconds == other.changedNanoseconds;
    }
};

// The identity of the file `status` describes.
FileIdentity identityOfStatus(const struct stat& status);

// What a name in an open folder stands for, links not followed.
struct FileAt {
    int error = 0;            // errno of the lookup; ENOENT when nothing has the name
    bool regular = false;     // a regular file (a link to one is not)
    uint64_t links = 0;       // how many names the file has
    FileIdentity identity{};  // meaningful when `regular`
};

FileAt fileAt(int folderFd, const std::string& name);

// Whether the file system holding `path` gives a file the same inode number
// for as long as it lives, across mounts: false for those that make numbers
// up at each mount or lookup (FUSE, exFAT, FAT, NTFS, network shares), where
// another file may have a number tomorrow that one has today. False too
// when `path` cannot be asked about.
bool inodeNumbersLast(const std::string& path);
// The same for the file system of the open file or folder `fd`.
bool inodeNumbersLastAt(int fd);
// The same for a file system of this statfs type.
bool inodeNumbersLastOn(int64_t fileSystemType);

// The identity of the regular file `name` in `folder`; nothing when the name
// is absent, unreachable, or not a regular file (links are not followed,
// neither for the name nor for the folder's last component).
std::optional<FileIdentity> identityOf(const std::string& folder, const std::string& name);

}  // namespace tokenade
