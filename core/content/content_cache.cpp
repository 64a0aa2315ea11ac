#include "content_cache.h"

#include "core/content/cache_file.h"
#include "core/foundation/mapped_memory.h"

#include <algorithm>
#include <memory>
#include <climits>

namespace tokenade {
namespace {

constexpr std::string_view kMagic = "TKACACHE";
constexpr uint32_t kVersion = 1;
constexpr uint8_t kSameDevice = 0x80;  // in a record's problem byte: the device of the record before

bool before(const FileIdentity& a, const FileIdentity& b)
{
    return a.device != b.device ? a.device < b.device : a.inode < b.inode;
}

}  // namespace

std::string ContentCache::serialize(std::span<const CachedArchive> archives)
{
    std::vector<const CachedArchive*> sorted;
    sorted.reserve(archives.size());
    for (const CachedArchive& archive : archives)
        sorted.push_back(&archive);
    std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return before(a->identity, b->identity); });
    std::string body = startCache(archives.size() * 40);
    const FileIdentity* last = nullptr;
    uint32_t count = 0;
    for (const CachedArchive* archive : sorted) {
        const FileIdentity& id = archive->identity;
        if (last && !before(*last, id))
            continue;  // one record per file
        const bool sameDevice = last && last->device == id.device;
        body.push_back(static_cast<char>(static_cast<uint8_t>(archive->contents->problem) | (sameDevice ? kSameDevice : 0)));
        if (!sameDevice)
            putVarint(body, id.device);
        putVarint(body, sameDevice ? id.inode - last->inode : id.inode);
        putVarint(body, static_cast<uint64_t>(id.size));
        putVarint(body, static_cast<uint64_t>(id.modifiedSeconds));
        putVarint(body, static_cast<uint64_t>(id.modifiedNanoseconds));
        const ZipDirectory& contents = *archive->contents;
        if (contents.problem != ZipProblem::None) {
            putVarint(body, contents.reason.size());
            body += contents.reason;
        } else {
            putVarint(body, contents.entries.size());
            for (const ZipEntry& entry : contents.entries) {
                putVarint(body, entry.size);
                putLe32(body, entry.crc);
            }
        }
        last = &id;
        ++count;
    }
    sealCache(body, kMagic, kVersion, count);
    return body;
}

ContentCache ContentCache::parse(std::string_view bytes)
{
    ContentCache cache;
    cache.damaged_ = true;
    const std::optional<SealedBody> sealed = openSealedCache(bytes, kMagic, kVersion);
    if (!sealed || sealed->count > sealed->body.size())
        return cache;
    const uint32_t count = sealed->count;
    const std::string_view body = sealed->body;
    CacheReader reader(body);
    reserveLarge(cache.records_, count);
    reserveLarge(cache.entries_, body.size() / 6);  // an entry takes at least five bytes
    FileIdentity last{};
    for (uint32_t i = 0; i < count && !reader.bad(); ++i) {
        Record record;
        const std::string_view head = reader.bytes(1);
        if (head.empty())
            break;
        const auto problemByte = static_cast<uint8_t>(head[0]);
        const bool sameDevice = problemByte & kSameDevice;
        const auto problem = static_cast<uint8_t>(problemByte & ~kSameDevice);
        if (problem > static_cast<uint8_t>(ZipProblem::Unreadable) || (sameDevice && i == 0))
            break;
        FileIdentity& id = record.identity;
        id.device = sameDevice ? last.device : reader.varint();
        id.inode = sameDevice ? last.inode + reader.varint() : reader.varint();
        id.size = static_cast<int64_t>(reader.varintUpTo(INT64_MAX));
        id.modifiedSeconds = static_cast<int64_t>(reader.varint());
        id.modifiedNanoseconds = static_cast<int64_t>(reader.varintUpTo(999'999'999));
        record.problem = static_cast<ZipProblem>(problem);
        if (record.problem != ZipProblem::None) {
            record.firstEntry = static_cast<uint32_t>(cache.reasons_.size());
            cache.reasons_.emplace_back(reader.bytes(reader.varintUpTo(4096)));
        } else {
            record.firstEntry = static_cast<uint32_t>(cache.entries_.size());
            record.count = static_cast<uint32_t>(reader.varintUpTo(kZipEntryLimit));
            for (uint32_t e = 0; e < record.count && !reader.bad(); ++e) {
                const uint64_t size = reader.varint();
                const std::string_view crc = reader.bytes(4);
                if (!reader.bad())
                    cache.entries_.push_back({size, getLe32(crc.data())});
            }
        }
        if (reader.bad() || (i > 0 && !before(last, id)))
            break;
        last = id;
        cache.records_.push_back(std::move(record));
    }
    if (reader.bad() || !reader.atEnd() || cache.records_.size() != count) {
        cache.records_.clear();
        cache.entries_.clear();
        cache.reasons_.clear();
        return cache;
    }
    cache.damaged_ = false;
    return cache;
}

ContentCache ContentCache::load(const std::string& path)
{
    bool damaged = false;
    std::unique_ptr<char[]> memory;
    const std::optional<std::string_view> bytes = readCacheFile(path, damaged, [&](size_t size) {
        memory.reset(new char[size]);
        return memory.get();
    });
    if (!bytes) {
        ContentCache none;
        none.damaged_ = damaged;
        return none;
    }
    return parse(*bytes);
}

bool ContentCache::find(const FileIdentity& identity, ZipDirectory& contents) const
{
    const auto found = std::lower_bound(records_.begin(), records_.end(), identity,
                                        [](const Record& record, const FileIdentity& id) { return before(record.identity, id); });
    if (found == records_.end() || !(found->identity == identity))
        return false;
    contents.problem = found->problem;
    contents.reason = found->problem == ZipProblem::None ? "" : reasons_[found->firstEntry];
    contents.entries.clear();
    contents.entries.reserve(found->count);
    for (uint32_t e = 0; e < found->count; ++e)
        contents.entries.push_back({entries_[found->firstEntry + e].size, entries_[found->firstEntry + e].crc, ""});
    return true;
}

std::optional<WriteError> ContentCache::save(const std::string& path, std::span<const CachedArchive> archives)
{
    return saveCacheFile(path, serialize(archives));
}

std::string contentCachePath(const std::string& folder, std::string_view what)
{
    return cacheFilePath("contents", realPathForCache(folder) + '\n' + std::string(what));
}

}  // namespace tokenade
