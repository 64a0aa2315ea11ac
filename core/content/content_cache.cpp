#include "content_cache.h"

#include "core/content/cache_file.h"
#include "core/foundation/mapped_memory.h"

#include <algorithm>
#include <memory>
#include <climits>

namespace tokenade {
namespace {

constexpr std::string_view kMagic = "TKACACHE";
// 2: records keyed by folder and name, with the ctime.
constexpr uint32_t kVersion = 2;
constexpr uint8_t kSameDevice = 0x80;  // in a record's problem byte: the device of the record before
constexpr uint64_t kTextLimit = 4096;  // a folder's path or an archive's name

bool before(const CachedArchive& a, const CachedArchive& b)
{
    return a.folder != b.folder ? a.folder < b.folder : a.name < b.name;
}

void putText(std::string& out, std::string_view text)
{
    putVarint(out, text.size());
    out += text;
}

void putIdentity(std::string& out, const FileIdentity& id, bool sameDevice)
{
    if (!sameDevice)
        putVarint(out, id.device);
    for (const int64_t value : {static_cast<int64_t>(id.inode), id.size, id.modifiedSeconds, id.modifiedNanoseconds,
                                id.changedSeconds, id.changedNanoseconds})
        putVarint(out, static_cast<uint64_t>(value));
}

void readIdentity(CacheReader& reader, FileIdentity& id, const FileIdentity& last, bool sameDevice)
{
    id.device = sameDevice ? last.device : reader.varint();
    id.inode = reader.varint();
    id.size = static_cast<int64_t>(reader.varintUpTo(INT64_MAX));
    id.modifiedSeconds = static_cast<int64_t>(reader.varint());
    id.modifiedNanoseconds = static_cast<int64_t>(reader.varintUpTo(999'999'999));
    id.changedSeconds = static_cast<int64_t>(reader.varint());
    id.changedNanoseconds = static_cast<int64_t>(reader.varintUpTo(999'999'999));
}

}  // namespace

// The body: the count of folders and each folder (in byte order, each
// once); then per record (by folder, then by name) the problem byte, the
// folder's number, the name, the identity (the device only where it is not
// the record before's) and either the reason of a problem or the entries'
// sizes and CRCs.
std::string ContentCache::serialize(std::span<const CachedArchive> archives)
{
    std::vector<const CachedArchive*> sorted;
    sorted.reserve(archives.size());
    for (const CachedArchive& archive : archives)
        sorted.push_back(&archive);
    std::stable_sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return before(*a, *b); });
    sorted.erase(std::unique(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return !before(*a, *b); }),
                 sorted.end());
    std::vector<std::string_view> folders;
    for (const CachedArchive* archive : sorted) {
        if (folders.empty() || folders.back() != archive->folder)
            folders.push_back(archive->folder);
    }
    std::string body = startCache(archives.size() * 80);
    putVarint(body, folders.size());
    for (const std::string_view folder : folders)
        putText(body, folder);
    const FileIdentity* last = nullptr;
    size_t folder = 0;
    for (const CachedArchive* archive : sorted) {
        const FileIdentity& id = archive->identity;
        const bool sameDevice = last && last->device == id.device;
        while (folders[folder] != archive->folder)
            ++folder;
        const ZipDirectory& contents = *archive->contents;
        body.push_back(static_cast<char>(static_cast<uint8_t>(contents.problem) | (sameDevice ? kSameDevice : 0)));
        putVarint(body, folder);
        putText(body, archive->name);
        putIdentity(body, id, sameDevice);
        if (contents.problem != ZipProblem::None) {
            putText(body, contents.reason);
        } else {
            putVarint(body, contents.entries.size());
            for (const ZipEntry& entry : contents.entries) {
                putVarint(body, entry.size);
                putLe32(body, entry.crc);
            }
        }
        last = &id;
    }
    sealCache(body, kMagic, kVersion, static_cast<uint32_t>(sorted.size()));
    return body;
}

ContentCache ContentCache::parse(std::string_view bytes)
{
    std::unique_ptr<char[]> copy(new char[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return parseOwned(std::move(copy), bytes.size());
}

ContentCache ContentCache::parseOwned(std::unique_ptr<char[]> owned, size_t size)
{
    ContentCache cache;
    cache.damaged_ = true;
    const std::optional<SealedBody> sealed = openSealedCache({owned.get(), size}, kMagic, kVersion);
    if (!sealed || sealed->count > sealed->body.size())
        return cache;
    const uint32_t count = sealed->count;
    const std::string_view body = sealed->body;
    CacheReader reader(body);
    const uint64_t folders = reader.varintUpTo(body.size());
    for (uint64_t f = 0; f < folders && !reader.bad(); ++f) {
        const std::string_view folder = reader.bytes(reader.varintUpTo(kTextLimit));
        if (f > 0 && !(cache.folders_.back() < folder))
            reader.fail();
        cache.folders_.push_back(folder);
    }
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
        if (problem > static_cast<uint8_t>(ZipProblem::Unreadable) || (sameDevice && i == 0) || folders == 0)
            break;
        record.folder = static_cast<uint32_t>(reader.varintUpTo(folders - 1));
        const std::string_view name = reader.bytes(reader.varintUpTo(kTextLimit));
        readIdentity(reader, record.identity, last, sameDevice);
        record.problem = static_cast<ZipProblem>(problem);
        if (record.problem != ZipProblem::None) {
            record.firstEntry = static_cast<uint32_t>(cache.reasons_.size());
            cache.reasons_.emplace_back(reader.bytes(reader.varintUpTo(kTextLimit)));
        } else {
            record.firstEntry = static_cast<uint32_t>(cache.entries_.size());
            record.count = static_cast<uint32_t>(reader.varintUpTo(kZipEntryLimit));
            for (uint32_t e = 0; e < record.count && !reader.bad(); ++e) {
                const uint64_t entrySize = reader.varint();
                const std::string_view crc = reader.bytes(4);
                if (!reader.bad())
                    cache.entries_.push_back({entrySize, getLe32(crc.data())});
            }
        }
        if (reader.bad())
            break;
        record.nameAt = static_cast<uint32_t>(name.data() - owned.get());
        record.nameSize = static_cast<uint32_t>(name.size());
        if (i > 0) {
            const Record& previous = cache.records_.back();
            const std::string_view previousName(owned.get() + previous.nameAt, previous.nameSize);
            if (previous.folder > record.folder || (previous.folder == record.folder && !(previousName < name)))
                break;  // out of order: find could not rely on it
        }
        last = record.identity;
        cache.records_.push_back(record);
    }
    if (reader.bad() || !reader.atEnd() || cache.records_.size() != count) {
        cache.folders_.clear();
        cache.records_.clear();
        cache.entries_.clear();
        cache.reasons_.clear();
        return cache;
    }
    cache.bytes_ = std::move(owned);
    cache.damaged_ = false;
    return cache;
}

ContentCache ContentCache::load(const std::string& path)
{
    bool damaged = false;
    std::unique_ptr<char[]> memory;
    size_t size = 0;
    const std::optional<std::string_view> bytes = readCacheFile(path, kMagic, kVersion, damaged, [&](size_t wanted) {
        memory.reset(new char[wanted]);
        size = wanted;
        return memory.get();
    });
    if (!bytes) {
        ContentCache none;
        none.damaged_ = damaged;
        return none;
    }
    return parseOwned(std::move(memory), size);
}

bool ContentCache::find(std::string_view folder, std::string_view name, const FileIdentity& identity,
                        ZipDirectory& contents) const
{
    const auto inFolder = std::lower_bound(folders_.begin(), folders_.end(), folder);
    if (inFolder == folders_.end() || *inFolder != folder)
        return false;
    const auto number = static_cast<uint32_t>(inFolder - folders_.begin());
    const auto found = std::lower_bound(records_.begin(), records_.end(), name,
                                        [&](const Record& record, std::string_view n) {
                                            return record.folder != number ? record.folder < number : nameOf(record) < n;
                                        });
    if (found == records_.end() || found->folder != number || nameOf(*found) != name ||
        !found->identity.sameVersion(identity))
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
