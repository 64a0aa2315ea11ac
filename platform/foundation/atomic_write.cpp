#include "atomic_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string temporaryPathFor(const std::string& path, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".tmp-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + "-" + std::to_string(attempt);
}

// Opens a new file that nobody else has; the mode follows the user's umask,
// like any file the user creates.
int createTemporary(const std::string& path, std::string& temporary)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryPathFor(path, attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, std::string_view contents)
{
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Makes the rename itself durable; a folder that refuses fsync is no failure.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

WriteError errorFor(const std::string& path, int error)
{
    return WriteError{path, std::strerror(error)};
}

}  // namespace

std::optional<WriteError> writeFileAtomically(const std::string& path, std::string_view contents)
{
    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0)
        return errorFor(path, errno);

    bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return errorFor(path, error);
    }
    syncFolder(folderOf(path));
    return std::nullopt;
}

}  // namespace tokenade
