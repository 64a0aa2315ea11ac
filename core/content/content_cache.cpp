#include "content_cache.h"

#include "core/content/crc32.h"
#include "core/foundation/path_join.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace tokenade {
namespace {

constexpr std::string_view kMagic = "TKACACHE";
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 32;
constexpr uint64_t kCacheSizeLimit = uint64_t{1} << 31;
constexpr uint8_t kSameDevice = 0x80;  // in a record's problem byte: the device of the record before

void putVarint(std::string& out, uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<char>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

void put32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

uint32_t get32(const char* p)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(p[i]);
    return value;
}

uint64_t get64(const char* p)
{
    return uint64_t{get32(p)} | uint64_t{get32(p + 4)} << 32;
}

// Reads the body front to back; any read past its end, or a value out of
// range, marks it bad and reads as zero from then on.
class BodyReader {
public:
    explicit BodyReader(std::string_view body) : body_(body) {}

    bool bad() const { return bad_; }
    bool atEnd() const { return at_ == body_.size(); }

    uint64_t varint()
    {
        uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at_ == body_.size())
                break;
            const auto byte = static_cast<unsigned char>(body_[at_++]);
            value |= uint64_t{byte & 0x7Fu} << shift;
            if (!(byte & 0x80))
                return value;
        }
        bad_ = true;
        return 0;
    }

    uint64_t varintUpTo(uint64_t limit)
    {
        const uint64_t value = varint();
        if (value > limit)
            bad_ = true;
        return bad_ ? 0 : value;
    }

    std::string_view bytes(size_t count)
    {
        if (body_.size() - at_ < count) {
            bad_ = true;
            return {};
        }
        at_ += count;
        return body_.substr(at_ - count, count);
    }

private:
    std::string_view body_;
    size_t at_ = 0;
    bool bad_ = false;
};

bool before(const FileIdentity& a, const FileIdentity& b)
{
    return a.device != b.device ? a.device < b.device : a.inode < b.inode;
}

std::string_view cacheHome(std::string& spelled)
{
    if (const char* home = std::getenv("XDG_CACHE_HOME"); home && home[0] == '/')
        return spelled = home;
    const char* user = std::getenv("HOME");
    return spelled = joinPath(user && user[0] ? user : "/tmp", ".cache");
}

}  // namespace

std::string ContentCache::serialize(std::span<const CachedArchive> archives)
{
    std::vector<const CachedArchive*> sorted;
    sorted.reserve(archives.size());
    for (const CachedArchive& archive : archives)
        sorted.push_back(&archive);
    std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return before(a->identity, b->identity); });
    std::string body;
    body.reserve(archives.size() * 40);
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
                put32(body, entry.crc);
            }
        }
        last = &id;
        ++count;
    }
    std::string out(kMagic);
    put32(out, kVersion);
    put32(out, count);
    put32(out, static_cast<uint32_t>(body.size()));
    put32(out, static_cast<uint32_t>(body.size() >> 32));
    put32(out, crc32(body));
    put32(out, crc32(out));
    return out + body;
}

ContentCache ContentCache::parse(std::string_view bytes)
{
    ContentCache cache;
    cache.damaged_ = true;
    if (bytes.size() < kHeaderSize || !bytes.starts_with(kMagic) || get32(bytes.data() + 8) != kVersion ||
        get32(bytes.data() + 28) != crc32(bytes.substr(0, 28)))
        return cache;
    const uint32_t count = get32(bytes.data() + 12);
    const std::string_view body = bytes.substr(kHeaderSize);
    if (get64(bytes.data() + 16) != body.size() || get32(bytes.data() + 24) != crc32(body) || count > body.size())
        return cache;
    BodyReader reader(body);
    cache.records_.reserve(count);
    cache.entries_.reserve(body.size() / 6);  // an entry takes at least five bytes
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
                    cache.entries_.push_back({size, get32(crc.data())});
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        ContentCache none;
        none.damaged_ = errno != ENOENT;
        return none;
    }
    struct stat status {};
    std::string bytes;
    bool whole = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                 static_cast<uint64_t>(status.st_size) <= kCacheSizeLimit;
    if (whole) {
        bytes.resize(static_cast<size_t>(status.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += static_cast<size_t>(got);
        }
        whole = done == bytes.size();
    }
    ::close(fd);
    if (!whole) {
        ContentCache none;
        none.damaged_ = true;
        return none;
    }
    return parse(bytes);
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
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (std::filesystem::create_directories(folder, error))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    return writeFileAtomically(path, serialize(archives), 0600);
}

std::string contentCachePath(const std::string& folder, std::string_view what)
{
    std::error_code error;
    std::string real = std::filesystem::weakly_canonical(folder, error).string();
    if (error)
        real = folder;
    while (real.size() > 1 && real.back() == '/')
        real.pop_back();  // "/games/" and "/games" are one folder
    const std::string named = real + '\n' + std::string(what);
    // Two CRCs of different seeds: 64 bits, so that two folders never share a file by chance.
    char hex[17];
    std::snprintf(hex, sizeof hex, "%08x%08x", crc32(named), crc32(named, 0x5EED));
    std::string home;
    return joinPath(joinPath(cacheHome(home), "tokenade-auditor"), std::string("contents-") + hex + ".cache");
}

}  // namespace tokenade
