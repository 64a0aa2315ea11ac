#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace tokenade {

// Why a file could not be written.
struct WriteError {
    std::string path;
    std::string reason;  // the system's own words, such as "Permission denied"
};

// A file written so that it either keeps its former content or holds exactly
// the new one: the content goes to a temporary file beside it, which commit()
// flushes to disk and renames over it. A file that is not committed leaves no
// trace. Does not create missing folders. The new file gets `mode` less the
// user's umask.
class AtomicFile {
public:
    explicit AtomicFile(std::string path, mode_t mode = 0666);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends to the content. After a failure, further writes do nothing and
    // commit() reports the failure.
    void write(std::string_view bytes);
    // Puts the file in place; nothing on success.
    std::optional<WriteError> commit();

private:
    void put(std::string_view bytes);
    void flushBuffer();
    void fail(int error);

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    int error_ = 0;
    std::string buffer_;
    off_t written_ = 0;       // bytes in the file so far
    off_t handedToDisk_ = 0;  // of those, bytes whose writing back has begun
};

// Writes `contents` to `path` as an AtomicFile.
std::optional<WriteError> writeFileAtomically(const std::string& path, std::string_view contents, mode_t mode = 0666);

// Writes all of `bytes` to `fd`, again after an interruption; false, with
// errno set, on failure.
bool writeAll(int fd, std::string_view bytes);

// Flushes `folder`'s entries to disk, so that a file just created or renamed
// in it outlives a crash. True also where the file system cannot flush
// folders (EINVAL, EROFS); false, with errno set, otherwise.
bool syncFolder(const std::string& folder);

}  // namespace tokenade
