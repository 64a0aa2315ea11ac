#pragma once

#include "folder_walk.h"

#include <string>
#include <string_view>

namespace tokenade {

// Opens the folders of a walk one after the other, holding one descriptor:
// the folder opened last. A folder right below it is opened relative to it,
// so that going down a deep tree costs one lookup a level, not the whole path
// again. Paths longer than the kernel takes in one call are opened piece by
// piece.
class FolderOpener {
public:
    FolderOpener() = default;
    ~FolderOpener();
    FolderOpener(const FolderOpener&) = delete;
    FolderOpener& operator=(const FolderOpener&) = delete;

    // The descriptor of `path`, owned by the opener until the next call; -1
    // with errno set when it cannot be opened. `followLink`: open it even
    // when `path` is a link to a folder.
    int open(const std::string& path, bool followLink);

private:
    std::string lastPath_;
    int lastFd_ = -1;
};

// Reads the entries of one open folder straight from the directory stream,
// taking each entry's type from the stream and asking the file system only
// when the stream does not say. Does not own the descriptor; -1 reads as an
// empty folder.
class FolderReader {
public:
    explicit FolderReader(int fd);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // Calls `visit(name, type)` for each entry except "." and "..", until it
    // returns false. Returns 0, or the error number of a read that failed
    // (the entries before it have been visited).
    template <typename Visit>
    int forEach(Visit&& visit);

private:
    bool nextBatch();  // fills buffer_; false at the end or on error (error_ says which)
    EntryType typeOf(const char* name, unsigned char streamType) const;

    int fd_ = -1;
    char* buffer_ = nullptr;  // the thread's own, not owned
    long filled_ = 0;
    int error_ = 0;
};

// Opens a folder for reading; -1 on failure. Handles paths of any length.
int openFolder(const std::string& path, bool followLink);

}  // namespace tokenade

#include "folder_reader_inl.h"
