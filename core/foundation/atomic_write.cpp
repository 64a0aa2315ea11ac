#include "atomic_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

constexpr size_t kBufferSize = 1 << 20;
// Written bytes handed to the disk at a time, ahead of commit()'s flush.
constexpr off_t kWritebackStretch = 8 << 20;

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

// Opens a new file that nobody else has, with `mode` less the user's umask.
int createTemporary(const std::string& path, std::string& temporary, mode_t mode)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryPathFor(path, attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

}  // namespace

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

AtomicFile::AtomicFile(std::string path, mode_t mode)
    : path_(std::move(path))
{
    fd_ = createTemporary(path_, temporary_, mode);
    if (fd_ < 0)
        error_ = errno;
}

AtomicFile::~AtomicFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
    }
}

void AtomicFile::fail(int error)
{
    if (error_ == 0)
        error_ = error;
}

void AtomicFile::put(std::string_view bytes)
{
    if (!writeAll(fd_, bytes)) {
        fail(errno);
        return;
    }
    written_ += static_cast<off_t>(bytes.size());
#ifdef __linux__
    // Start writing back what is there while the rest is being made, so
    // that the flush at commit() waits for the last stretch only.
    if (written_ - handedToDisk_ >= kWritebackStretch) {
        ::sync_file_range(fd_, handedToDisk_, written_ - handedToDisk_, SYNC_FILE_RANGE_WRITE);
        handedToDisk_ = written_;
    }
#endif
}

void AtomicFile::flushBuffer()
{
    if (error_ == 0)
        put(buffer_);
    buffer_.clear();
}

void AtomicFile::write(std::string_view bytes)
{
    if (error_ != 0)
        return;
    if (buffer_.empty() && bytes.size() >= kBufferSize) {
        put(bytes);  // a large piece goes straight to the file rather than through the buffer
        return;
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kBufferSize)
        flushBuffer();
}

std::optional<WriteError> AtomicFile::commit()
{
    if (fd_ >= 0) {
        flushBuffer();
        if (error_ == 0 && ::fsync(fd_) != 0)
            fail(errno);
        if (::close(fd_) != 0)
            fail(errno);
        fd_ = -1;
        if (error_ == 0 && ::rename(temporary_.c_str(), path_.c_str()) != 0)
            fail(errno);
        if (error_ != 0)
            ::unlink(temporary_.c_str());
        else
            syncFolder(folderOf(path_));  // the rename made durable where it can be; not a failure if not
    }
    if (error_ != 0)
        return WriteError{path_, std::strerror(error_)};
    return std::nullopt;
}

std::optional<WriteError> writeFileAtomically(const std::string& path, std::string_view contents, mode_t mode)
{
    AtomicFile file(path, mode);
    file.write(contents);
    return file.commit();
}

}  // namespace tokenade
