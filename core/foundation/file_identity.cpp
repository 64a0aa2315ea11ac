#include "file_identity.h"

#include "folder_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tokenade {

FileIdentity identityOfStatus(const struct stat& status)
{
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
            static_cast<int64_t>(status.st_size), static_cast<int64_t>(status.st_mtim.tv_sec),
            static_cast<int64_t>(status.st_mtim.tv_nsec)};
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

}  // namespace tokenade
