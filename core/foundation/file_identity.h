#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tokenade {

// What tells one file from another and from its own former self: the same
// device and inode is the same file; a different size or modification time
// is the same file changed.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
    bool sameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
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

// The identity of the regular file `name` in `folder`; nothing when the name
// is absent, unreachable, or not a regular file (links are not followed,
// neither for the name nor for the folder's last component).
std::optional<FileIdentity> identityOf(const std::string& folder, const std::string& name);

}  // namespace tokenade
