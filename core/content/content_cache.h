#pragma once

#include "core/content/dat_index.h"
#include "core/content/zip_directory.h"
#include "core/foundation/atomic_write.h"
#include "core/foundation/file_identity.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tokenade {

// One archive as the cache remembers it: the identity of the file it was
// read from and what its directory held (sizes and CRCs, no names).
struct CachedArchive {
    FileIdentity identity;
    const ZipDirectory* contents = nullptr;
};

// What the archives of a folder held when they were last read, so that
// identifying an unchanged collection again opens no archive. A record
// counts only for a file of the same device, inode, size and modification
// time (to the nanosecond); anything else is read again. The file is never
// trusted: a cache that is damaged, cut short, of another version or not a
// cache at all is ignored as a whole (and then rewritten). On disk a record
// costs about 35 bytes for an archive of two or three files.
class ContentCache {
public:
    ContentCache() = default;

    // Reads the cache at `path`. A missing file gives an empty cache; so
    // does one that cannot be used, and damaged() then says so.
    static ContentCache load(const std::string& path);
    // The same for a cache in memory.
    static ContentCache parse(std::string_view bytes);

    // What the file of `identity` held when it was cached, into `contents`
    // (entries without names); false, leaving it alone, when no record
    // matches every part of the identity.
    bool find(const FileIdentity& identity, ZipDirectory& contents) const;

    size_t size() const { return records_.size(); }
    bool damaged() const { return damaged_; }

    // The bytes of a cache of `archives` (in any order).
    static std::string serialize(std::span<const CachedArchive> archives);
    // Writes them to `path` atomically, creating its folder (mode 0700).
    static std::optional<WriteError> save(const std::string& path, std::span<const CachedArchive> archives);

private:
    // Flat, so that a cache of a million archives is three arrays, not a
    // million allocations.
    struct Record {
        FileIdentity identity;
        uint32_t firstEntry = 0;  // into entries_; for a problem, into reasons_
        uint32_t count = 0;
        ZipProblem problem = ZipProblem::None;
    };
    std::vector<Record> records_;  // by device, then inode
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
