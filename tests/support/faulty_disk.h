#pragma once

#include "core/repair/disk.h"

#include <string>
#include <utility>
#include <vector>

namespace tokenade::testing {

// The disk, but for one call, counted from 1 in the order the engine makes
// them, that fails with a chosen errno: instead of being made, or, like a
// network share that loses its answer, after being made. Counts every call
// and remembers which one failed; a write failing `Partly` puts down half its
// bytes first, as a full disk may. close() is never failed. fsync is counted
// but not made: the tests that use this disk see what a call's failure does,
// not whether the data reached the platters, and flushing would make them slow.
//
// It can hand out descriptor 0, as a process started without standard input
// gets it, to any one open it makes, and it counts the descriptors not given
// back: a descriptor 0 taken for a failure, or one leaked on a path, shows.
class FaultyDisk final : public Disk {
public:
    enum class Mode { Instead, After, Partly };

    void failCall(size_t number, int error, Mode mode = Mode::Instead)
    {
        failAt_ = number;
        error_ = error;
        mode_ = mode;
    }
    // The first call named `name` (as failed() names them) fails instead.
    void failFirst(const char* name, int error)
    {
        failName_ = name;
        error_ = error;
    }
    // As a file system that does not know RENAME_NOREPLACE: every rename
    // fails with EINVAL, and the engine must link and unlink instead.
    void refuseNoReplace() { refuseNoReplace_ = true; }
    // As exFAT or FAT through FUSE: no hard links either (EPERM).
    void refuseLinks() { refuseLinks_ = true; }
    // As a file system that folds names (ext4 with casefold, ZFS with a
    // normalization): each pair of names is one name there.
    void foldNames(std::vector<std::pair<std::string, std::string>> alike) { alike_ = std::move(alike); }
    // A full disk that shares blocks between copies, as btrfs does: no free
    // space is left, and a reflink would need none.
    void pretendFullWithSharedBlocks(bool shares)
    {
        full_ = true;
        shares_ = shares;
    }
    size_t calls() const { return calls_; }
    size_t openDescriptors() const { return open_; }
    // The `number`th open, counted from 1, gets descriptor 0.
    void handZeroTo(size_t number) { zeroTo_ = number; }
    const std::string& failed() const { return failed_; }  // the name of the call that failed, "" for none

    void close(int fd) override
    {
        --open_;
        real().close(at(fd));
        if (fd == 0)
            zeroReal_ = -1;
    }

protected:
    int doOpenFolder(const std::string& path, int& fd) override
    {
        return opening("open folder", fd, [&](int& got) { return real().openFolder(path, got); });
    }
    int doOpenFile(int folder, const std::string& name, int& fd) override
    {
        return opening("open", fd, [&](int& got) { return real().openFile(at(folder), held(folder, name), got); });
    }
    int doCreateFile(int folder, const std::string& name, mode_t mode, int& fd) override
    {
        return opening("create", fd, [&](int& got) { return taken(folder, name) ? EEXIST : real().createFile(at(folder), name, mode, got); });
    }
    int doOpenShared(int folder, const std::string& name, mode_t mode, int& fd) override
    {
        return opening("open shared", fd, [&](int& got) { return real().openShared(at(folder), held(folder, name), mode, got); });
    }
    int doStatus(int fd, FileAt& file) override { return call("fstat", [&] { return real().status(at(fd), file); }); }
    int doStatusIn(int folder, const std::string& name, FileAt& file) override
    {
        return call("fstatat", [&] { return real().statusIn(at(folder), held(folder, name), file); });
    }
    int doRename(int fromFolder, const std::string& from, int toFolder, const std::string& to) override
    {
        return call("renameat2", [&] {
            return refuseNoReplace_          ? EINVAL
                   : taken(toFolder, to) ? EEXIST
                                             : real().rename(at(fromFolder), held(fromFolder, from), at(toFolder), to);
        });
    }
    int doReplace(int fromFolder, const std::string& from, int toFolder, const std::string& to) override
    {
        return call("renameat", [&] { return real().replace(at(fromFolder), held(fromFolder, from), at(toFolder), held(toFolder, to)); });
    }
    int doLink(int fromFolder, const std::string& from, int toFolder, const std::string& to) override
    {
        return call("link", [&] {
            return refuseLinks_ ? EPERM : taken(toFolder, to) ? EEXIST : real().link(at(fromFolder), held(fromFolder, from), at(toFolder), to);
        });
    }
    int doUnlink(int folder, const std::string& name) override
    {
        return call("unlink", [&] { return real().unlink(at(folder), held(folder, name)); });
    }
    int doMakeFolder(int folder, const std::string& name) override
    {
        return call("mkdir", [&] { return taken(folder, name) ? EEXIST : real().makeFolder(at(folder), name); });
    }
    int doRemoveFolder(int folder, const std::string& name) override
    {
        return call("rmdir", [&] { return real().removeFolder(at(folder), held(folder, name)); });
    }
    int doClone(int from, int to) override { return call("clone", [&] { return real().clone(at(from), at(to)); }); }
    int doCopy(int from, int to, uint64_t most, uint64_t& copied) override
    {
        return call("copy", [&] { return real().copy(at(from), at(to), most, copied); });
    }
    int doWrite(int fd, std::string_view bytes, size_t& written) override
    {
        if (calls_ + 1 == failAt_ && mode_ == Mode::Partly)
            real().write(at(fd), bytes.substr(0, bytes.size() / 2), written);
        return call("write", [&] { return real().write(at(fd), bytes, written); });
    }
    int doRead(int fd, char* buffer, size_t size, size_t& got) override
    {
        return call("read", [&] { return real().read(at(fd), buffer, size, got); });
    }
    int doTruncate(int fd, uint64_t to) override { return call("truncate", [&] { return real().truncate(at(fd), to); }); }
    int doSync(int) override { return call("fsync", [] { return 0; }); }
    int doSyncData(int) override { return call("fdatasync", [] { return 0; }); }
    int doFreeSpace(int folder, uint64_t& bytes) override
    {
        return call("statfs", [&] { return full_ ? (bytes = 0, 0) : real().freeSpace(at(folder), bytes); });
    }
    int doSharesBlocks(int folder, bool& shares) override
    {
        return call("fstatfs", [&] { return full_ ? (shares = shares_, 0) : real().sharesBlocks(at(folder), shares); });
    }
    int doLock(int fd) override { return call("flock", [&] { return real().lock(at(fd)); }); }

private:
    static Disk& real() { return systemDisk(); }
    // The name that `folder` holds for `name`: `name`, or the one alike.
    std::string held(int folder, const std::string& name) const
    {
        FileAt found;
        for (const auto& [one, other] : alike_) {
            const std::string& alias = name == one ? other : name == other ? one : name;
            if (alias != name && real().statusIn(at(folder), name, found) != 0 &&
                real().statusIn(at(folder), alias, found) == 0)
                return alias;
        }
        return name;
    }
    // Whether a new `name` in `folder` is refused, for the name alike is there.
    bool taken(int folder, const std::string& name) const { return held(folder, name) != name; }
    // The real descriptor behind one handed out.
    int at(int fd) const { return fd < 0 ? fd : fd == 0 ? zeroReal_ : fd + kOverZero; }

    // A call that opens a descriptor; one that fails never hands one out,
    // even where it failed after it was made.
    template <typename Open>
    int opening(const char* name, int& fd, Open&& open)
    {
        int got = -1;
        const int error = call(name, [&] { return open(got); });
        if (error != 0 && got >= 0)
            real().close(got);
        open_ += error == 0;
        zeroReal_ = error == 0 && ++opens_ == zeroTo_ ? got : zeroReal_;
        fd = error != 0 ? -1 : got == zeroReal_ ? 0 : got - kOverZero;
        return error;
    }

    template <typename Call>
    int call(const char* name, Call&& made)
    {
        if (++calls_ != failAt_ && (failName_ != name || !failed_.empty()))
            return made();
        failed_ = name;
        if (mode_ == Mode::After)
            made();
        return error_;
    }

    size_t calls_ = 0;
    size_t open_ = 0;
    size_t opens_ = 0;
    size_t zeroTo_ = 0;
    int zeroReal_ = -1;
    // Real descriptors, above standard error, shown as numbers above 0.
    static constexpr int kOverZero = 2;
    size_t failAt_ = 0;
    int error_ = 0;
    Mode mode_ = Mode::Instead;
    bool refuseNoReplace_ = false;
    bool refuseLinks_ = false;
    bool full_ = false;
    bool shares_ = false;
    std::string failed_;
    std::string failName_;
    std::vector<std::pair<std::string, std::string>> alike_;
};

}  // namespace tokenade::testing
