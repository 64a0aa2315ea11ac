#include "chd_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

constexpr std::string_view kMagic = "MComprHD";
constexpr size_t kSha1Bytes = 20;

// Where each version keeps what we read; every number is big-endian.
struct Layout {
    uint32_t headerBytes;
    size_t logicalBytes, hunkBytes, sha1, rawSha1, parentSha1;
    size_t hunkCount;  // 0: none kept (version 5 works it out)
    size_t mapOffset;  // 0: the map follows the header (versions 3 and 4)
    size_t metaOffset;
    size_t unitBytes;  // 0: none kept
};

// Versions 3 and 4 say whether they have a parent in their flags; version 5
// by a parent SHA-1 that is not all zeros.
constexpr Layout kV3{120, 28, 76, 80, 80, 100, 24, 0, 36, 0};
constexpr Layout kV4{108, 28, 44, 48, 88, 68, 24, 0, 36, 0};
constexpr Layout kV5{124, 32, 56, 84, 64, 104, 0, 40, 48, 60};
constexpr uint32_t kHasParentFlag = 1;
constexpr uint64_t kV3V4MapEntryBytes = 16;
constexpr size_t kV5Compressors = 16;  // four codes of four bytes, 0 for none
constexpr uint64_t kV5RawMapEntryBytes = 4;

uint64_t bigEndian(std::string_view bytes, size_t at, size_t width)
{
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::string hexSha1(std::string_view bytes, size_t at)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < kSha1Bytes; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at + i]);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

bool allZero(std::string_view bytes, size_t at)
{
    return std::all_of(bytes.begin() + static_cast<ptrdiff_t>(at),
                       bytes.begin() + static_cast<ptrdiff_t>(at + kSha1Bytes), [](char c) { return c == 0; });
}

ChdRead refused(const std::string& path, uint64_t offset, std::string reason)
{
    return {std::nullopt, {path, offset, std::move(reason)}};
}

// What the version's fields say beyond their own bytes, checked against
// each other and against the file's size.
ChdRead checkLayout(std::string_view front, uint64_t fileBytes, const std::string& path, const Layout& layout,
                    ChdHeader header)
{
    if (header.hunkBytes == 0)
        return refused(path, layout.hunkBytes, "hunks of 0 bytes");
    const uint64_t maxHunks = header.logicalBytes / header.hunkBytes + (header.logicalBytes % header.hunkBytes != 0);
    if (layout.hunkCount != 0) {
        header.hunkCount = bigEndian(front, layout.hunkCount, 4);
        if (header.hunkCount < maxHunks)
            return refused(path, layout.logicalBytes,
                           "a logical size of " + std::to_string(header.logicalBytes) + " bytes, more than its " +
                               std::to_string(header.hunkCount) + " hunks of " + std::to_string(header.hunkBytes) +
                               " bytes hold");
        const uint64_t mapEnd = layout.headerBytes + header.hunkCount * kV3V4MapEntryBytes;
        if (mapEnd > fileBytes)
            return refused(path, fileBytes, "cut short: the map of its " + std::to_string(header.hunkCount) +
                                                " hunks ends at byte " + std::to_string(mapEnd));
    } else {
        header.hunkCount = maxHunks;
        const uint64_t unitBytes = bigEndian(front, layout.unitBytes, 4);
        if (unitBytes == 0 || header.hunkBytes % unitBytes != 0)
            return refused(path, layout.unitBytes, "hunks of " + std::to_string(header.hunkBytes) +
                                                       " bytes are not whole units of " + std::to_string(unitBytes));
        const uint64_t mapOffset = bigEndian(front, layout.mapOffset, 8);
        if (header.hunkCount > 0 && (mapOffset < layout.headerBytes || mapOffset >= fileBytes))
            return refused(path, layout.mapOffset, "its hunk map at byte " + std::to_string(mapOffset) +
                                                       " lies outside the file of " + std::to_string(fileBytes) +
                                                       " bytes");
        // Without a compressor the map is not packed: four bytes a hunk.
        const bool uncompressed = bigEndian(front, kV5Compressors, 8) == 0 && bigEndian(front, kV5Compressors + 8, 8) == 0;
        if (uncompressed && header.hunkCount > (fileBytes - mapOffset) / kV5RawMapEntryBytes)
            return refused(path, fileBytes, "cut short: the map of its " + std::to_string(header.hunkCount) +
                                                " hunks does not fit in the file");
    }
    const uint64_t metaOffset = bigEndian(front, layout.metaOffset, 8);
    if (metaOffset != 0 && (metaOffset < layout.headerBytes || metaOffset >= fileBytes))
        return refused(path, layout.metaOffset, "its metadata at byte " + std::to_string(metaOffset) +
                                                    " lies outside the file of " + std::to_string(fileBytes) + " bytes");
    if (allZero(front, layout.sha1))
        return refused(path, layout.sha1, "no SHA-1: the image is blank or was never finished");
    return {std::move(header), {}};
}

}  // namespace

std::string ChdProblem::message() const
{
    return path + ": byte " + std::to_string(offset) + ": " + reason;
}

ChdRead parseChdHeader(std::string_view front, uint64_t fileBytes, const std::string& path)
{
    front = front.substr(0, std::min<uint64_t>(fileBytes, kChdHeaderBytesRead));
    if (front.size() < kMagic.size() || front.substr(0, kMagic.size()) != kMagic)
        return refused(path, 0, "not a CHD: it does not begin with \"MComprHD\"");
    if (front.size() < 16)
        return refused(path, fileBytes, "cut short: the file ends inside the first 16 bytes of the header");
    const auto version = static_cast<uint32_t>(bigEndian(front, 12, 4));
    const Layout* layout = version == 3 ? &kV3 : version == 4 ? &kV4 : version == 5 ? &kV5 : nullptr;
    if (!layout)
        return refused(path, 12, "a CHD of version " + std::to_string(version) + "; only versions 3, 4 and 5 are read");
    const uint64_t headerBytes = bigEndian(front, 8, 4);
    if (headerBytes != layout->headerBytes)
        return refused(path, 8, "a header of " + std::to_string(headerBytes) + " bytes, where version " +
                                    std::to_string(version) + " has " + std::to_string(layout->headerBytes));
    if (front.size() < headerBytes)
        return refused(path, fileBytes, "cut short: the file ends inside the header of " +
                                            std::to_string(headerBytes) + " bytes");
    ChdHeader header;
    header.version = version;
    header.logicalBytes = bigEndian(front, layout->logicalBytes, 8);
    header.hunkBytes = static_cast<uint32_t>(bigEndian(front, layout->hunkBytes, 4));
    header.sha1 = hexSha1(front, layout->sha1);
    header.rawSha1 = hexSha1(front, layout->rawSha1);
    const bool hasParent =
        version == 5 ? !allZero(front, layout->parentSha1) : (bigEndian(front, 16, 4) & kHasParentFlag) != 0;
    if (hasParent)
        header.parentSha1 = hexSha1(front, layout->parentSha1);
    return checkLayout(front, fileBytes, path, *layout, std::move(header));
}

ChdRead readChdHeader(const std::string& path)
{
    // Not blocking, so that a FIFO in the collection cannot stop the audit.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return refused(path, 0, std::string("cannot be opened (") + std::strerror(errno) + ")");
    struct stat status {};
    ChdRead read;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        read = refused(path, 0, "not a regular file");
    } else {
        char front[kChdHeaderBytesRead];
        size_t got = 0;
        ssize_t now = 0;
        while (got < sizeof front && (now = ::pread(fd, front + got, sizeof front - got, static_cast<off_t>(got))) != 0) {
            if (now < 0 && errno == EINTR)
                continue;
            if (now < 0)
                break;
            got += static_cast<size_t>(now);
        }
        read = now < 0 ? refused(path, got, std::string("cannot be read (") + std::strerror(errno) + ")")
                       : parseChdHeader({front, got}, std::max<uint64_t>(static_cast<uint64_t>(status.st_size), got),
                                        path);
    }
    ::close(fd);
    return read;
}

}  // namespace tokenade
