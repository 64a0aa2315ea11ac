#include "disk.h"

#include "core/foundation/folder_reader.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

namespace tokenade {
namespace {

constexpr int kNameFlags = O_CLOEXEC | O_NOFOLLOW;

int errorOf(int result)
{
    return result < 0 ? errno : 0;
}

// Whether copy_file_range failed only for want of a way to copy between
// these two: older kernels copy within one file system only, and none
// copies from a pipe.
bool copiesOnlyByReading(int error)
{
    switch (error) {
    case EXDEV:
    case EINVAL:
    case EOPNOTSUPP:
    case ENOSYS: return true;
    default: return false;
    }
}

int opened(int result, int& fd)
{
    fd = result;
    return errorOf(result);
}

class SystemDisk final : public Disk {
public:
    void close(int fd) override { ::close(fd); }

protected:
    int doOpenFolder(const std::string& path, int& fd) override
    {
        if (path.empty() || path[0] != '/')
            return EINVAL;
        return opened(tokenade::openFolder(path, false), fd);
    }
    int doOpenFile(int folder, const std::string& name, int& fd) override
    {
        return opened(::openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | kNameFlags), fd);
    }
    int doCreateFile(int folder, const std::string& name, mode_t mode, int& fd) override
    {
        return opened(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | kNameFlags, mode), fd);
    }
    int doOpenShared(int folder, const std::string& name, mode_t mode, int& fd) override
    {
        return opened(::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_APPEND | kNameFlags, mode), fd);
    }
    int doStatus(int fd, FileAt& file) override
    {
        struct stat status {};
        if (::fstat(fd, &status) != 0)
            return errno;
        file = FileAt{0, S_ISREG(status.st_mode), static_cast<uint64_t>(status.st_nlink),
                      FileIdentity{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
                                   static_cast<int64_t>(status.st_size), static_cast<int64_t>(status.st_mtim.tv_sec),
                                   static_cast<int64_t>(status.st_mtim.tv_nsec)}};
        return 0;
    }
    int doStatusIn(int folder, const std::string& name, FileAt& file) override
    {
        file = fileAt(folder, name);
        return file.error;
    }
    int doRename(int fromFolder, const std::string& from, int toFolder, const std::string& to) override
    {
        return errorOf(::renameat2(fromFolder, from.c_str(), toFolder, to.c_str(), RENAME_NOREPLACE));
    }
    int doReplace(int fromFolder, const std::string& from, int toFolder, const std::string& to) override
    {
        return errorOf(::renameat(fromFolder, from.c_str(), toFolder, to.c_str()));
    }
    int doLink(int fromFolder, const std::string& from, int toFolder, const std::string& to) override
    {
        return errorOf(::linkat(fromFolder, from.c_str(), toFolder, to.c_str(), 0));
    }
    int doUnlink(int folder, const std::string& name) override { return errorOf(::unlinkat(folder, name.c_str(), 0)); }
    int doMakeFolder(int folder, const std::string& name) override
    {
        return errorOf(::mkdirat(folder, name.c_str(), 0777));
    }
    int doRemoveFolder(int folder, const std::string& name) override
    {
        return errorOf(::unlinkat(folder, name.c_str(), AT_REMOVEDIR));
    }
    int doClone(int from, int to) override { return errorOf(::ioctl(to, FICLONE, from)); }
    int doCopy(int from, int to, uint64_t most, uint64_t& copied) override
    {
        const ssize_t done = ::copy_file_range(from, nullptr, to, nullptr, most, 0);
        if (done >= 0) {
            copied = static_cast<uint64_t>(done);
            return 0;
        }
        if (!copiesOnlyByReading(errno))
            return errno;
        static thread_local char buffer[1 << 17];
        const ssize_t got = ::read(from, buffer, most < sizeof buffer ? most : sizeof buffer);
        if (got < 0)
            return errno;
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote = ::write(to, buffer + put, static_cast<size_t>(got - put));
            if (wrote < 0 && errno != EINTR)
                return errno;
            put += wrote > 0 ? wrote : 0;
        }
        copied = static_cast<uint64_t>(got);
        return 0;
    }
    int doWrite(int fd, std::string_view bytes, size_t& written) override
    {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        written = done > 0 ? static_cast<size_t>(done) : 0;
        return errorOf(done);
    }
    int doRead(int fd, char* buffer, size_t size, size_t& got) override
    {
        const ssize_t done = ::read(fd, buffer, size);
        if (done < 0)
            return errno;
        got = static_cast<size_t>(done);
        return 0;
    }
    int doTruncate(int fd, uint64_t length) override { return errorOf(::ftruncate(fd, static_cast<off_t>(length))); }
    int doSync(int fd) override
    {
        // Some file systems cannot flush a folder; that is no failure.
        const int error = errorOf(::fsync(fd));
        return error == EINVAL || error == EROFS ? 0 : error;
    }
    int doSyncData(int fd) override { return errorOf(::fdatasync(fd)); }
    int doFreeSpace(int folder, uint64_t& bytes) override
    {
        struct statvfs space {};
        if (::fstatvfs(folder, &space) != 0)
            return errno;
        bytes = static_cast<uint64_t>(space.f_bavail) * space.f_frsize;
        return 0;
    }
    int doSharesBlocks(int folder, bool& shares) override
    {
        struct statfs system {};
        if (::fstatfs(folder, &system) != 0)
            return errno;
        // XFS made without reflink copies the bytes: a full disk then stops the batch cleanly.
        shares = system.f_type == BTRFS_SUPER_MAGIC || system.f_type == XFS_SUPER_MAGIC;
        return 0;
    }
    int doLock(int fd) override { return errorOf(::flock(fd, LOCK_EX | LOCK_NB)); }
};

}  // namespace

const int Disk::kInterrupted = EINTR;

Disk& systemDisk()
{
    static SystemDisk disk;
    return disk;
}

}  // namespace tokenade
