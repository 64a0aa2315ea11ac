#pragma once

#include "core/foundation/atomic_write.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// Where a cache is and whether to use it.
struct CacheChoice {
    bool use = true;   // false: nothing is taken from the cache, and none is written
    std::string path;  // "" for the default place of that cache
};

// The frame of every cache file of ours: an eight-byte magic word, a
// version, a count of records, the body's size and CRC-32, and the CRC-32
// of those 28 bytes. A cache is rebuilt at will, so a frame that does not
// hold together is not repaired: the whole file is ignored.
//
// A cache is written as startCache(), its body appended, then sealCache(),
// so that a body of many megabytes is never copied.
std::string startCache(size_t bodyBytes);
void sealCache(std::string& bytes, std::string_view magic, uint32_t version, uint32_t count);

struct SealedBody {
    uint32_t count = 0;
    std::string_view body;  // a view of the bytes given to openSealedCache
};

// The body of `bytes` when its frame has this magic word and version and
// both CRCs hold; nothing otherwise.
std::optional<SealedBody> openSealedCache(std::string_view bytes, std::string_view magic, uint32_t version);

// The bytes of the cache file at `path`, a regular file of at most 2 GiB
// (a link is not followed), read whole into the memory `room(size)` gives,
// which is never cleared first: a cache of many megabytes is read once, not
// written twice. Its header is read first, and nothing more when it is not
// a sound header of this magic word and version for a file of that very
// size: a foreign or damaged file costs 32 bytes, not its whole length.
// Nothing when there is none; `damaged` is then set when something is
// there that cannot be used. The body's CRC is left to openSealedCache.
std::optional<std::string_view> readCacheFile(const std::string& path, std::string_view magic, uint32_t version,
                                              bool& damaged, const std::function<char*(size_t)>& room);

// Writes `bytes` to `path` atomically, creating its folder (mode 0700); the
// file gets mode 0600.
std::optional<WriteError> saveCacheFile(const std::string& path, std::string_view bytes);

// $XDG_CACHE_HOME/tokenade-auditor/PREFIX-HASH.cache (else under
// ~/.cache), HASH being the 64 bits of nameHash(`named`).
std::string cacheFilePath(std::string_view prefix, std::string_view named);

// A 64-bit hash of `text` (FNV-1a, then mixed), for naming caches: all 64
// bits depend on every byte, unlike two CRCs, which are one 32-bit value.
uint64_t nameHash(std::string_view text);

// Removes what killed runs left in the folder of the cache at `cachePath`:
// the temporary files of a cache being written (named as writeFileAtomically
// names them after one of our caches) that were last written before this
// run began, so that a run writing its own cache now is left alone. Does
// nothing else and reports nothing: a file that stays only takes room.
void removeLeftTemporaries(const std::string& cachePath);

// The real path of `path` without a trailing slash, or `path` as it is
// when it cannot be resolved: what a cache file is named after.
std::string realPathForCache(const std::string& path);

// Little-endian numbers as the caches store them: fixed widths, and
// varints of seven bits a byte, the lowest first.
void putLe32(std::string& out, uint32_t value);
void putLe64(std::string& out, uint64_t value);
void putVarint(std::string& out, uint64_t value);
uint32_t getLe32(const char* bytes);
uint64_t getLe64(const char* bytes);

// Reads a cache's body front to back. Any read past its end, or a value
// over the limit asked for, marks it bad, and every read after that gives
// zero (or nothing): a caller checks bad() once a record is read.
class CacheReader {
public:
    explicit CacheReader(std::string_view body) : body_(body) {}

    bool bad() const { return bad_; }
    bool atEnd() const { return at_ == body_.size(); }
    void fail() { bad_ = true; }

    uint64_t varint();
    uint64_t varintUpTo(uint64_t limit);
    uint32_t le32UpTo(uint32_t limit);
    uint64_t le64();
    std::string_view bytes(size_t count);

private:
    std::string_view body_;
    size_t at_ = 0;
    bool bad_ = false;
};

}  // namespace tokenade
