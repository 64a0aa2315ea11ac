#include "cache_file.h"

#include "core/content/crc32.h"
#include "core/foundation/mapped_memory.h"
#include "core/foundation/read_at.h"
#include "core/foundation/path_join.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>

namespace tokenade {
namespace {

constexpr size_t kMagicSize = 8;
constexpr size_t kHeaderSize = 32;
constexpr uint64_t kCacheSizeLimit = uint64_t{1} << 31;

// When this run began, as near as a static can tell: temporaries older than
// it were left by another run.
const std::filesystem::file_time_type kRunBegan = std::filesystem::file_time_type::clock::now();

// Whether the first 32 bytes of a file of `fileSize` bytes are a sound header.
bool soundHeader(std::string_view header, std::string_view magic, uint32_t version, uint64_t fileSize)
{
    return header.size() == kHeaderSize && header.starts_with(magic.substr(0, kMagicSize)) &&
           getLe32(header.data() + 8) == version && getLe32(header.data() + 28) == crc32(header.substr(0, 28)) &&
           getLe64(header.data() + 16) == fileSize - kHeaderSize;
}

bool readWhole(int fd, char* into, size_t size, off_t at)
{
    return readAt(fd, static_cast<uint64_t>(at), into, size) == size;
}

std::string cacheHome()
{
    if (const char* home = std::getenv("XDG_CACHE_HOME"); home && home[0] == '/')
        return home;
    const char* user = std::getenv("HOME");
    return joinPath(user && user[0] ? user : "/tmp", ".cache");
}

}  // namespace

void putLe32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

void putLe64(std::string& out, uint64_t value)
{
    putLe32(out, static_cast<uint32_t>(value));
    putLe32(out, static_cast<uint32_t>(value >> 32));
}

void putVarint(std::string& out, uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<char>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

uint32_t getLe32(const char* bytes)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

uint64_t getLe64(const char* bytes)
{
    return uint64_t{getLe32(bytes)} | uint64_t{getLe32(bytes + 4)} << 32;
}

uint64_t CacheReader::varint()
{
    uint64_t value = 0;
    for (int shift = 0; shift < 64 && !bad_; shift += 7) {
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

uint64_t CacheReader::varintUpTo(uint64_t limit)
{
    const uint64_t value = varint();
    if (value > limit)
        bad_ = true;
    return bad_ ? 0 : value;
}

uint32_t CacheReader::le32UpTo(uint32_t limit)
{
    const std::string_view read = bytes(4);
    const uint32_t value = bad_ ? 0 : getLe32(read.data());
    if (value > limit)
        bad_ = true;
    return bad_ ? 0 : value;
}

uint64_t CacheReader::le64()
{
    const std::string_view read = bytes(8);
    return bad_ ? 0 : getLe64(read.data());
}

std::string_view CacheReader::bytes(size_t count)
{
    if (bad_ || body_.size() - at_ < count) {
        bad_ = true;
        return {};
    }
    at_ += count;
    return body_.substr(at_ - count, count);
}

std::string startCache(size_t bodyBytes)
{
    std::string bytes;
    reserveLarge(bytes, kHeaderSize + bodyBytes);
    bytes.resize(kHeaderSize);
    return bytes;
}

void sealCache(std::string& bytes, std::string_view magic, uint32_t version, uint32_t count)
{
    const std::string_view body = std::string_view(bytes).substr(kHeaderSize);
    std::string header(magic.substr(0, kMagicSize));
    putLe32(header, version);
    putLe32(header, count);
    putLe64(header, body.size());
    putLe32(header, crc32(body));
    putLe32(header, crc32(header));
    bytes.replace(0, kHeaderSize, header);
}

std::optional<SealedBody> openSealedCache(std::string_view bytes, std::string_view magic, uint32_t version)
{
    if (bytes.size() < kHeaderSize || !soundHeader(bytes.substr(0, kHeaderSize), magic, version, bytes.size()))
        return std::nullopt;
    const std::string_view body = bytes.substr(kHeaderSize);
    if (getLe32(bytes.data() + 24) != crc32(body))
        return std::nullopt;
    return SealedBody{getLe32(bytes.data() + 12), body};
}

std::optional<std::string_view> readCacheFile(const std::string& path, std::string_view magic, uint32_t version,
                                              bool& damaged, const std::function<char*(size_t)>& room)
{
    damaged = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        damaged = errno != ENOENT;
        return std::nullopt;
    }
    struct stat status {};
    std::optional<std::string_view> bytes;
    char header[kHeaderSize];
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && static_cast<uint64_t>(status.st_size) >= kHeaderSize &&
        static_cast<uint64_t>(status.st_size) <= kCacheSizeLimit && readWhole(fd, header, kHeaderSize, 0) &&
        soundHeader({header, kHeaderSize}, magic, version, static_cast<uint64_t>(status.st_size))) {
        const auto size = static_cast<size_t>(status.st_size);
        char* const memory = room(size);
        adviseHugePages(memory, size);
        std::memcpy(memory, header, kHeaderSize);
        if (readWhole(fd, memory + kHeaderSize, size - kHeaderSize, kHeaderSize))
            bytes = std::string_view(memory, size);
    }
    ::close(fd);
    damaged = !bytes;
    return bytes;
}

std::optional<WriteError> saveCacheFile(const std::string& path, std::string_view bytes)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (std::filesystem::create_directories(folder, error))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    return writeFileAtomically(path, bytes, 0600);
}

std::string cacheFilePath(std::string_view prefix, std::string_view named)
{
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(nameHash(named)));
    return joinPath(joinPath(cacheHome(), "tokenade-auditor"), std::string(prefix) + "-" + hex + ".cache");
}

uint64_t nameHash(std::string_view text)
{
    uint64_t hash = 0xcbf29ce484222325;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
    // FNV's last byte reaches only the low bits strongly: a finalizer spreads it over all 64.
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccd;
    hash ^= hash >> 33;
    hash *= 0xc4ceb9fe1a85ec53;
    return hash ^ (hash >> 33);
}

void removeLeftTemporaries(const std::string& cachePath)
{
    // writeFileAtomically's ".NAME.tmp-PID-COUNTER-ATTEMPT", NAME one of our caches' own names
    // or that of the cache asked for (a place the user chose).
    static const std::regex ours(R"(\.[a-z]+-[0-9a-f]{16}\.cache\.tmp-[0-9]+-[0-9]+-[0-9]+)");
    static const std::regex counters(R"(\.tmp-[0-9]+-[0-9]+-[0-9]+)");
    const std::filesystem::path folder = std::filesystem::path(cachePath).parent_path();
    const std::string own = "." + std::filesystem::path(cachePath).filename().string();
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const bool named = std::regex_match(name, ours) ||
                           (name.starts_with(own) && std::regex_match(name.substr(own.size()), counters));
        std::error_code ignored;
        if (named && !it->is_symlink(ignored) && it->is_regular_file(ignored) &&
            it->last_write_time(ignored) < kRunBegan)
            std::filesystem::remove(it->path(), ignored);
    }
}

std::string realPathForCache(const std::string& path)
{
    std::error_code error;
    std::string real = std::filesystem::weakly_canonical(path, error).string();
    if (error)
        real = path;
    while (real.size() > 1 && real.back() == '/')
        real.pop_back();  // "/games/" and "/games" are one folder
    return real;
}

}  // namespace tokenade
