#pragma once

#include "folder_walk.h"

#include <string>
#include <string_view>

namespace tokenade {

// Reads the entries of one folder straight from the directory stream, taking
// each entry's type from the stream and asking the file system only when the
// stream does not say. Paths longer than the kernel takes in one call are
// opened piece by piece. Holds one descriptor, from construction to
// destruction; a folder that cannot be opened reads as empty.
class FolderReader {
public:
    // `followLink`: open the folder even when `path` is a link to one.
    FolderReader(const std::string& path, bool followLink);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    // Calls `visit(name, type)` for each entry except "." and "..", until it
    // returns false. Stops silently on a read error.
    template <typename Visit>
    void forEach(Visit&& visit);

private:
    bool nextBatch();  // fills buffer_; false at the end or on error
    EntryType typeOf(const char* name, unsigned char streamType) const;

    int fd_ = -1;
    char* buffer_ = nullptr;
    long filled_ = 0;
};

// Opens a folder for reading; -1 on failure. Handles paths of any length.
int openFolder(const std::string& path, bool followLink);

}  // namespace tokenade

#include "folder_reader_inl.h"
