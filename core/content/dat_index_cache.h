#pragma once

#include "core/content/cache_file.h"
#include "core/content/dat_index.h"
#include "core/content/dat_reader.h"
#include "core/foundation/file_identity.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// The index of a DAT kept between runs, so that a DAT that has not changed
// is not parsed again: a large DAT takes seconds to parse and its index a
// few milliseconds to load. The index counts only for the file of the same
// device, inode, size, modification time and status change time (to the
// nanosecond) as the one it was made from, at the path the cache is named
// after, and is neither kept nor used on a file system that hands out inode
// numbers anew (inodeNumbersLast). The file is never trusted: one that is damaged, cut
// short, of another version or of another file is ignored whole (and made
// anew), and every count and place in it is checked before it is used.

// The frame of the cache (sealCache): its magic word, and its version, made
// anew whenever what the DAT readers keep, or the layout, changes.
inline constexpr std::string_view kDatIndexMagic = "TKADATIX";
inline constexpr uint32_t kDatIndexVersion = 4;

// The bytes of the cache of `dat`, read from the file of identity `of`.
std::string serializeDatIndex(const DatIndex& dat, const FileIdentity& of);

// The index those bytes hold, when they are whole and were made from the
// file of identity `of`; nothing otherwise.
std::optional<DatIndex> parseDatIndex(std::string_view bytes, const FileIdentity& of);

// Where the index of the DAT at `datPath` is cached: one file per DAT, named
// after its real path, beside the cache of contents.
std::string datIndexCachePath(const std::string& datPath);

// Reads the DAT at `path` as readDatFile does, taking its index from the
// cache when the cache was made from this very file, and otherwise parsing
// it and writing the cache anew (a cache that cannot be written only costs
// the next run its speed). A DAT that cannot be used is never cached: its
// problem is found again each time.
DatRead readDatThroughCache(const std::string& path, const CacheChoice& cache);

// The same for a DAT that `read` makes of the file at `path` (a zip's DAT:
// the cache counts for the zip's identity), cached at `cachePath`; `use`
// false reads it anew and writes no cache.
DatRead readThroughDatCache(const std::string& path, const std::string& cachePath, bool use,
                            const std::function<DatRead(FileIdentity&)>& read);

}  // namespace tokenade
