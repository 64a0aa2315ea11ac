#include "folder_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

namespace tokenade {
namespace {

constexpr size_t kBufferSize = 256 * 1024;
// Comfortably below PATH_MAX, so that each piece of a long path opens in one call.
constexpr size_t kPieceLength = PATH_MAX / 2;

int openPiece(int at, const std::string& piece, int flags)
{
    int fd;
    do {
        fd = ::openat(at, piece.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

int openFolder(const std::string& path, bool followLink)
{
    const int finalFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    if (path.size() < kPieceLength)
        return openPiece(AT_FDCWD, path, finalFlags);

    // Too long for one call: open a prefix, then walk on from it, one piece at a time.
    int at = AT_FDCWD;
    size_t start = 0;
    for (;;) {
        const bool last = path.size() - start < kPieceLength;
        size_t end = last ? path.size() : path.rfind('/', start + kPieceLength);
        if (!last && (end == std::string::npos || end < start))
            end = path.find('/', start);  // one component longer than a piece: the kernel refuses it
        if (end == std::string::npos)
            end = path.size();
        // An absolute path starts with an empty piece: the root folder.
        const std::string piece = end > start ? path.substr(start, end - start) : std::string(1, '/');
        const bool final = end >= path.size();
        const int fd = openPiece(at, piece, final ? finalFlags : O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (at != AT_FDCWD)
            ::close(at);
        if (fd < 0 || final)
            return fd;
        at = fd;
        start = end + 1;
    }
}

FolderOpener::~FolderOpener()
{
    if (lastFd_ >= 0)
        ::close(lastFd_);
}

int FolderOpener::open(const std::string& path, bool followLink)
{
    const bool belowLast = lastFd_ >= 0 && path.size() > lastPath_.size() + 1 &&
                           path.compare(0, lastPath_.size(), lastPath_) == 0 && path[lastPath_.size()] == '/' &&
                           path.find('/', lastPath_.size() + 1) == std::string::npos;
    int fd;
    if (belowLast) {
        const std::string name = path.substr(lastPath_.size() + 1);
        fd = openPiece(lastFd_, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    } else {
        fd = path.empty() ? -1 : openFolder(path, followLink);
        if (path.empty())
            errno = ENOENT;
    }
    const int error = errno;
    if (lastFd_ >= 0)
        ::close(lastFd_);
    lastFd_ = fd;
    lastPath_ = path;
    errno = error;
    return fd;
}

// One buffer per thread for all the folders it reads: a buffer this large
// would otherwise be mapped, faulted in and unmapped again for every folder.
static char* threadBuffer()
{
    thread_local std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    return buffer.get();
}

FolderReader::FolderReader(int fd)
    : fd_(fd)
    , buffer_(fd >= 0 ? threadBuffer() : nullptr)
{
}

FolderReader::~FolderReader() = default;

bool FolderReader::nextBatch()
{
    if (fd_ < 0 || buffer_ == nullptr)
        return false;
    do {
        filled_ = ::getdents64(fd_, buffer_, kBufferSize);
    } while (filled_ < 0 && errno == EINTR);
    if (filled_ < 0)
        error_ = errno;
    return filled_ > 0;
}

EntryType FolderReader::typeOf(const char* name, unsigned char streamType) const
{
    switch (streamType) {
    case DT_REG: return EntryType::Regular;
    case DT_DIR: return EntryType::Directory;
    case DT_LNK: return EntryType::Symlink;
    case DT_UNKNOWN: break;
    default: return EntryType::Other;
    }
    struct stat status;
    if (::fstatat(fd_, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryType::Other;
    if (S_ISREG(status.st_mode)) return EntryType::Regular;
    if (S_ISDIR(status.st_mode)) return EntryType::Directory;
    if (S_ISLNK(status.st_mode)) return EntryType::Symlink;
    return EntryType::Other;
}

}  // namespace tokenade
