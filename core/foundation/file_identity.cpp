#include "file_identity.h"

#include "folder_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

namespace tokenade {

FileIdentity identityOfStatus(const struct stat& status)
{
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
            static_cast<int64_t>(status.st_size), static_cast<int64_t>(status.st_mtim.tv_sec),
            static_cast<int64_t>(status.st_mtim.tv_nsec), static_cast<int64_t>(status.st_ctim.tv_sec),
            static_cast<int64_t>(status.st_ctim.tv_nsec)};
}

FileAt fileAt(int folderFd, const std::string& name)
{
    struct stat status {};
    if (::fstatat(folderFd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return FileAt{errno, false, {}};
    FileAt found;
    found.regular = S_ISREG(status.st_mode);
    found.links = static_cast<uint64_t>(status.st_nlink);
    found.identity = identityOfStatus(status);
    return found;
}

std::optional<FileIdentity> identityOf(const std::string& folder, const std::string& name)
{
    const int fd = openFolder(folder, false);
    if (fd < 0)
        return std::nullopt;
    const FileAt found = fileAt(fd, name);
    ::close(fd);
    if (found.error != 0 || !found.regular)
        return std::nullopt;
    return found.identity;
}

bool inodeNumbersLast(const std::string& path)
{
    struct statfs system {};
    return ::statfs(path.c_str(), &system) == 0 && inodeNumbersLastOn(static_cast<int64_t>(system.f_type));
}

bool inodeNumbersLastAt(int fd)
{
    struct statfs system {};
    return ::fstatfs(fd, &system) == 0 && inodeNumbersLastOn(static_cast<int64_t>(system.f_type));
}

bool inodeNumbersLastOn(int64_t fileSystemType)
{
    // Numbers given at mount or lookup time, not kept on the disk: FUSE (any file
    // system behind it), exFAT, FAT, NTFS (ntfs3), and shares over NFS, SMB and 9p.
    constexpr int64_t kMadeUp[] = {0x65735546, 0x2011BAB0, 0x4d44, 0x5346544e, 0x7366746e, 0x6969,
                                   0xFF534D42, 0xFE534D42, 0x517B, 0x01021997};
    for (const int64_t type : kMadeUp) {
        if (fileSystemType == type)
            return false;
    }
    return true;
}

}  // namespace tokenade
