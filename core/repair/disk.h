#pragma once

#include "core/foundation/file_identity.h"

#include <cstdint>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace tokenade {

// The system calls through which the repair engine reaches the disk, one
// method a call, so that a test can make any one of them fail (or report a
// failure after doing its work) and see what the engine makes of it.
//
// Every call returns 0 or the errno of its failure; a call interrupted by a
// signal (EINTR) is made again, so the virtual methods never need to. Names
// are single components within an open folder, given by its descriptor;
// links are never followed, neither for a name nor for the last component of
// a folder's path. A descriptor handed out belongs to the caller, who gives
// it back with close(). The calls keep no state between them.
class Disk {
public:
    virtual ~Disk() = default;

    // The folder at the absolute `path`, opened for lookups (any length).
    int openFolder(const std::string& path, int& fd) { return again([&] { return doOpenFolder(path, fd); }); }
    // The regular file `name` in `folder`, to read; opening never waits (a
    // FIFO or a device opens at once and shows what it is by its status).
    int openFile(int folder, const std::string& name, int& fd) { return again([&] { return doOpenFile(folder, name, fd); }); }
    // A new file `name` in `folder`, to write; EEXIST when the name is taken.
    int createFile(int folder, const std::string& name, mode_t mode, int& fd)
    {
        return again([&] { return doCreateFile(folder, name, mode, fd); });
    }
    // `name` in `folder` to read and write, created when missing, never truncated.
    int openShared(int folder, const std::string& name, mode_t mode, int& fd)
    {
        return again([&] { return doOpenShared(folder, name, mode, fd); });
    }
    // Gives the descriptor back; never fails.
    virtual void close(int fd) = 0;

    int status(int fd, FileAt& file) { return again([&] { return doStatus(fd, file); }); }
    // What `name` in `folder` stands for; ENOENT when nothing has the name.
    int statusIn(int folder, const std::string& name, FileAt& file)
    {
        return again([&] { return doStatusIn(folder, name, file); });
    }

    // renameat2 with RENAME_NOREPLACE: EEXIST when `to` is taken, EXDEV across
    // file systems, EINVAL where the file system does not know the flag.
    int rename(int fromFolder, const std::string& from, int toFolder, const std::string& to)
    {
        return again([&] { return doRename(fromFolder, from, toFolder, to); });
    }
    // A plain rename, which replaces whatever has the name `to`: only ever
    // used over an empty placeholder that the engine has just made itself.
    int replace(int fromFolder, const std::string& from, int toFolder, const std::string& to)
    {
        return again([&] { return doReplace(fromFolder, from, toFolder, to); });
    }
    // A hard link `to` for the file `from`; EEXIST when `to` is taken.
    int link(int fromFolder, const std::string& from, int toFolder, const std::string& to)
    {
        return again([&] { return doLink(fromFolder, from, toFolder, to); });
    }
    int unlink(int folder, const std::string& name) { return again([&] { return doUnlink(folder, name); }); }
    int makeFolder(int folder, const std::string& name) { return again([&] { return doMakeFolder(folder, name); }); }
    // Removes an empty folder; ENOTEMPTY when it holds anything.
    int removeFolder(int folder, const std::string& name) { return again([&] { return doRemoveFolder(folder, name); }); }

    // Makes `to` share the blocks of `from` (FICLONE); EOPNOTSUPP, EXDEV or
    // EINVAL where the file system cannot.
    int clone(int from, int to) { return again([&] { return doClone(from, to); }); }
    // Copies up to `most` bytes from `from` to `to` at their offsets; `copied`
    // is 0 at the end of `from`.
    int copy(int from, int to, uint64_t most, uint64_t& copied)
    {
        return again([&] { return doCopy(from, to, most, copied); });
    }
    // Writes some of `bytes` at the descriptor's offset.
    int write(int fd, std::string_view bytes, size_t& written)
    {
        return again([&] { return doWrite(fd, bytes, written); });
    }
    int read(int fd, char* buffer, size_t size, size_t& got) { return again([&] { return doRead(fd, buffer, size, got); }); }
    // Cuts the file to its first `length` bytes.
    int truncate(int fd, uint64_t length) { return again([&] { return doTruncate(fd, length); }); }
    // Flushes a file, or a folder's entries, to the disk.
    int sync(int fd) { return again([&] { return doSync(fd); }); }
    // Flushes a file's bytes and what is needed to read them back (fdatasync).
    int syncData(int fd) { return again([&] { return doSyncData(fd); }); }
    // The bytes that an unprivileged user may still write on the file system of `folder`.
    int freeSpace(int folder, uint64_t& bytes) { return again([&] { return doFreeSpace(folder, bytes); }); }
    // Whether the file system of `folder` shares blocks between copies
    // (FICLONE) as a rule, so that a copy there takes no space of its own.
    int sharesBlocks(int folder, bool& shares) { return again([&] { return doSharesBlocks(folder, shares); }); }
    // An exclusive flock, not waited for: EWOULDBLOCK when another holds it.
    int lock(int fd) { return again([&] { return doLock(fd); }); }

protected:
    virtual int doOpenFolder(const std::string& path, int& fd) = 0;
    virtual int doOpenFile(int folder, const std::string& name, int& fd) = 0;
    virtual int doCreateFile(int folder, const std::string& name, mode_t mode, int& fd) = 0;
    virtual int doOpenShared(int folder, const std::string& name, mode_t mode, int& fd) = 0;
    virtual int doStatus(int fd, FileAt& file) = 0;
    virtual int doStatusIn(int folder, const std::string& name, FileAt& file) = 0;
    virtual int doRename(int fromFolder, const std::string& from, int toFolder, const std::string& to) = 0;
    virtual int doReplace(int fromFolder, const std::string& from, int toFolder, const std::string& to) = 0;
    virtual int doLink(int fromFolder, const std::string& from, int toFolder, const std::string& to) = 0;
    virtual int doUnlink(int folder, const std::string& name) = 0;
    virtual int doMakeFolder(int folder, const std::string& name) = 0;
    virtual int doRemoveFolder(int folder, const std::string& name) = 0;
    virtual int doClone(int from, int to) = 0;
    virtual int doCopy(int from, int to, uint64_t most, uint64_t& copied) = 0;
    virtual int doWrite(int fd, std::string_view bytes, size_t& written) = 0;
    virtual int doRead(int fd, char* buffer, size_t size, size_t& got) = 0;
    virtual int doTruncate(int fd, uint64_t length) = 0;
    virtual int doSync(int fd) = 0;
    virtual int doSyncData(int fd) = 0;
    virtual int doFreeSpace(int folder, uint64_t& bytes) = 0;
    virtual int doSharesBlocks(int folder, bool& shares) = 0;
    virtual int doLock(int fd) = 0;

private:
    template <typename Call>
    static int again(Call&& call)
    {
        int error;
        while ((error = call()) == kInterrupted) {
        }
        return error;
    }
    static const int kInterrupted;
};

// The disk itself. Lives as long as the program.
Disk& systemDisk();

}  // namespace tokenade
