#include "rename_no_replace.h"

#include "file_identity.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace tokenade {
namespace {

bool isFile(const FileAt& found, const FileIdentity& identity)
{
    return found.error == 0 && found.identity.sameFile(identity);
}

}  // namespace

int renameNoReplace(int folderFd, const std::string& from, const std::string& to)
{
    if (::renameat2(folderFd, from.c_str(), folderFd, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    // Some file systems (older network and FUSE ones) do not know the flag.
    if (error == EINVAL || error == ENOSYS)
        return renameByLinking(folderFd, from, to);
    return error;
}

int renameByLinking(int folderFd, const std::string& from, const std::string& to)
{
    const FileAt before = fileAt(folderFd, from);
    if (before.error != 0)
        return before.error;
    if (::linkat(folderFd, from.c_str(), folderFd, to.c_str(), 0) != 0)
        return errno;

    // Only when both names are one file, with one link more than before, is
    // the old name a spare one; a file system that copied instead, or a file
    // swapped in meanwhile, keeps the old name.
    const FileAt linked = fileAt(folderFd, to);
    const FileAt old = fileAt(folderFd, from);
    const bool oneFile = isFile(linked, before.identity) && isFile(old, before.identity) &&
                         linked.links > before.links;
    const int error = !oneFile ? EIO : ::unlinkat(folderFd, from.c_str(), 0) == 0 ? 0 : errno;
    if (error != 0 && isFile(linked, before.identity))
        ::unlinkat(folderFd, to.c_str(), 0);
    return error;
}

}  // namespace tokenade
