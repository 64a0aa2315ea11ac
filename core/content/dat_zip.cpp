#include "dat_zip.h"

#include "core/content/dat_index_cache.h"
#include "core/content/dat_parsers.h"
#include "core/content/zip_directory.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/little_endian.h"
#include "core/foundation/read_at.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

constexpr size_t kEndSize = 22;       // the end of central directory record, before its comment
constexpr size_t kEntrySize = 46;     // a central directory entry, before its name
constexpr size_t kLocalSize = 30;     // a local file header, before its name
constexpr size_t kCommentMost = 65535;

bool readInto(int fd, uint64_t offset, size_t bytes, std::string& into)
{
    into.resize(bytes);
    return readAt(fd, offset, into.data(), bytes) == bytes;
}

bool isDatName(std::string_view name)
{
    if (name.size() < 4 || name.ends_with('/'))
        return false;
    std::string end(name.substr(name.size() - 4));
    std::transform(end.begin(), end.end(), end.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
    return end == ".dat" || end == ".xml";
}

struct Member {
    std::string name;
    ZipMemberPlace place;
    uint32_t localOffset = 0;
    uint16_t flags = 0;
    bool zip64 = false;
};

// The members of the zip's directory that are DATs, or why there are none.
std::string datMembers(int fd, uint64_t size, std::vector<Member>& members)
{
    std::string tail;
    const size_t tailSize = static_cast<size_t>(std::min<uint64_t>(size, kEndSize + kCommentMost));
    if (size < kEndSize || !readInto(fd, size - tailSize, tailSize, tail))
        return "cut short: no end of the zip's directory";
    size_t end = std::string::npos;
    for (size_t at = tailSize - kEndSize + 1; at-- > 0;) {
        if (std::memcmp(tail.data() + at, "PK\5\6", 4) == 0) {
            end = at;
            break;
        }
    }
    if (end == std::string::npos)
        return "cut short: no end of the zip's directory";
    const char* record = tail.data() + end;
    const uint64_t entries = le16(record + 10);
    const uint64_t directorySize = le32(record + 12);
    const uint64_t directoryAt = le32(record + 16);
    const uint64_t endAt = size - tailSize + end;
    if (entries == 0xFFFF || directorySize == 0xFFFFFFFF || directoryAt == 0xFFFFFFFF)
        return "a zip in zip64 form, which is not read for DATs";
    if (entries > kZipEntryLimit || directorySize > kZipDirectoryLimit)
        return "a zip directory of " + groupedCount(entries) + " entries, past what is read";
    if (directoryAt > endAt || directorySize > endAt - directoryAt)
        return "a damaged zip directory: it lies past the end of the file (at byte " + std::to_string(directoryAt) + ")";
    std::string directory;
    if (!readInto(fd, directoryAt, static_cast<size_t>(directorySize), directory))
        return std::string("cannot be read (") + std::strerror(errno != 0 ? errno : EIO) + ")";
    size_t at = 0;
    for (uint64_t e = 0; e < entries; ++e) {
        if (directory.size() - at < kEntrySize || std::memcmp(directory.data() + at, "PK\1\2", 4) != 0)
            return "a damaged zip directory at byte " + std::to_string(directoryAt + at);
        const char* entry = directory.data() + at;
        const size_t nameSize = le16(entry + 28);
        const size_t skip = kEntrySize + nameSize + le16(entry + 30) + le16(entry + 32);
        if (directory.size() - at < skip)
            return "a damaged zip directory at byte " + std::to_string(directoryAt + at);
        Member member;
        member.name.assign(entry + kEntrySize, nameSize);
        member.flags = le16(entry + 8);
        member.place.method = le16(entry + 10);
        member.place.crc = le32(entry + 16);
        member.place.packed = le32(entry + 20);
        member.place.size = le32(entry + 24);
        member.localOffset = le32(entry + 42);
        member.zip64 = member.place.packed == 0xFFFFFFFF || member.place.size == 0xFFFFFFFF || member.localOffset == 0xFFFFFFFF;
        if (isDatName(member.name))
            members.push_back(std::move(member));
        at += skip;
    }
    return members.empty() ? "holds no DAT (no file ending in .dat or .xml)" : "";
}

// Where the member's data begins, past its local header; "" when it lies within the zip.
std::string placeData(int fd, uint64_t size, Member& member)
{
    if ((member.flags & 1) != 0)
        return "encrypted";
    if (member.zip64)
        return "in zip64 form, which is not read for DATs";
    if (member.place.size > kDatSizeLimit)
        return groupedCount(member.place.size) + " bytes, over the 4 GiB read";
    std::string local;
    if (member.localOffset > size || size - member.localOffset < kLocalSize || !readInto(fd, member.localOffset, kLocalSize, local) ||
        std::memcmp(local.data(), "PK\3\4", 4) != 0)
        return "a damaged zip: no header of this file at byte " + std::to_string(member.localOffset);
    member.place.offset = uint64_t{member.localOffset} + kLocalSize + le16(local.data() + 26) + le16(local.data() + 28);
    if (member.place.offset > size || member.place.packed > size - member.place.offset)
        return "a damaged zip: the file's data lies past its end";
    return "";
}

DatRead readMember(int fd, uint64_t size, Member& member, const std::string& path)
{
    if (std::string why = placeData(fd, size, member); !why.empty())
        return {std::nullopt, {path, 0, 0, std::move(why)}};
    DatSource source(fd, member.place);
    DatRead read = parseDatSource(source, path, member.place.size);
    // The parser saw only where the data broke off: the zip tells why.
    if (!source.damage().empty())
        return {std::nullopt, {path, 0, 0, source.damage()}};
    return read;
}

}  // namespace

bool looksLikeZip(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat status {};
    std::string first;
    const bool zip = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && readInto(fd, 0, 4, first) &&
                     (first == std::string_view("PK\3\4", 4) || first == std::string_view("PK\5\6", 4));
    ::close(fd);
    return zip;
}

std::vector<ZippedDat> readZippedDats(const std::string& path, const CacheChoice& cache)
{
    std::vector<ZippedDat> dats;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        dats.push_back({path, {std::nullopt, {path, 0, 0, std::string("cannot be opened (") + std::strerror(errno) + ")"}}});
        return dats;
    }
    struct stat status {};
    std::vector<Member> members;
    std::string why;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        why = "not a regular file";
    else
        why = datMembers(fd, static_cast<uint64_t>(status.st_size), members);
    if (!why.empty())
        dats.push_back({path, {std::nullopt, {path, 0, 0, std::move(why)}}});
    const std::string cacheBase = realPathForCache(path);
    for (Member& member : members) {
        const std::string memberPath = path + "/" + member.name;
        DatRead read = readThroughDatCache(path, cacheFilePath("dat", cacheBase + "/" + member.name), cache.use,
                                           [&](FileIdentity& identity) {
                                               identity = identityOfStatus(status);
                                               return readMember(fd, static_cast<uint64_t>(status.st_size), member, memberPath);
                                           });
        dats.push_back({memberPath, std::move(read)});
    }
    ::close(fd);
    return dats;
}

}  // namespace tokenade
