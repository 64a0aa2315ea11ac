#pragma once

#include "core/content/dat_index.h"
#include "core/content/zip_directory.h"
#include "core/foundation/atomic_write.h"
#include "core/foundation/file_identity.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// One archive as the cache remembers it: where it is below the folder
// searched, the identity of the file it was read from, and what its
// directory held (sizes and CRCs, no names).
struct CachedArchive {
    std::string_view folder;  // as ArchiveSet::folders names it
    std::string_view name;
    FileIdentity identity;
    const ZipDirectory* contents = nullptr;
};

// What the archives of a folder held when they were last read, so that
// identifying an unchanged collection again opens no archive. A record
// counts only for the file at the same place (folder and name) of the same
// device, inode, size, modification time and status change time (to the
// nanosecond); anything else is read again. The place matters where inode
// numbers are handed out anew (another file may have one tomorrow), the
// ctime where a file is rewritten with its mtime put back. The file is
// never trusted: a cache that is damaged, cut short, of another version or
// not a cache at all is ignored as a whole (and then rewritten). On disk a
// record costs its name and about 40 bytes for an archive of two or three
// files.
class ContentCache {
public:
    ContentCache() = default;

    // Reads the cache at `path`. A missing file gives an empty cache; so
    // does one that cannot be used, and damaged() then says so.
    static ContentCache load(const std::string& path);
    // The same for a cache in memory (copied).
    static ContentCache parse(std::string_view bytes);

    // What the archive `name` in `folder` held when it was cached, into
    // `contents` (entries without names), when its file then had every part
    // of `identity` (sameVersion); false, leaving `contents` alone, otherwise.
    bool find(std::string_view folder, std::string_view name, const FileIdentity& identity,
              ZipDirectory& contents) const;

    size_t size() const { return records_.size(); }
    bool damaged() const { return damaged_; }

    // The bytes of a cache of `archives` (in any order; of two at one place,
    // the first is kept).
    static std::string serialize(std::span<const CachedArchive> archives);
    // Writes them to `path` atomically, creating its folder (mode 0700).
    static std::optional<WriteError> save(const std::string& path, std::span<const CachedArchive> archives);

private:
    // Flat, so that a cache of a million archives is a few arrays, not a
    // million allocations; names stay in the bytes read.
    struct Record {
        FileIdentity identity;
        uint32_t folder = 0;      // into folders_
        uint32_t nameAt = 0;      // into bytes_
        uint32_t nameSize = 0;
        uint32_t firstEntry = 0;  // into entries_; for a problem, into reasons_
        uint32_t count = 0;
        ZipProblem problem = ZipProblem::None;
    };
    static ContentCache parseOwned(std::unique_ptr<char[]> bytes, size_t size);
    std::string_view nameOf(const Record& record) const { return {bytes_.get() + record.nameAt, record.nameSize}; }

    std::unique_ptr<char[]> bytes_;
    std::vector<std::string_view> folders_;  // in byte order, into bytes_
    std::vector<Record> records_;            // by folder, then by name
    std::vector<ContentKey> entries_;
    std::vector<std::string> reasons_;
    bool damaged_ = false;
};

// Where the cache of the archives found below `folder` lives:
// $XDG_CACHE_HOME/tokenade-auditor/ (else ~/.cache/tokenade-auditor/), one
// file per folder, named after a hash of its real path and of `what` (the
// folder set searched in it).
std::string contentCachePath(const std::string& folder, std::string_view what);

}  // namespace tokenade
