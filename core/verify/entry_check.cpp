#include "entry_check.h"

#include "core/foundation/grouped_count.h"
#include "core/foundation/little_endian.h"
#include "core/foundation/read_at.h"
#include "core/foundation/sha1.h"

#include <libdeflate.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace tokenade {
namespace {

constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kPiece = size_t{1} << 20;
// DEFLATE gives at most 258 bytes for each two bits of a stream: 1,032 a byte.
constexpr uint64_t kDeflateRatio = 1032;
// Whole-entry buffers up to this size are kept for the thread's next entry.
constexpr size_t kKeptBuffer = size_t{64} << 20;
constexpr uint16_t kEncrypted = 1;
constexpr uint16_t kDataDescriptor = 1 << 3;

std::string crcText(uint32_t crc)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08x", crc);
    return text;
}

std::string bytesText(uint64_t count)
{
    return groupedCount(count) + (count == 1 ? " byte" : " bytes");
}

EntryFinding finding(EntryState state, std::string found, std::string expected = "")
{
    return {state, std::move(found), std::move(expected), 0};
}

// Reads exactly `count` bytes at `offset`; "" when done, else why not.
std::string readExactly(int fd, uint64_t offset, char* into, size_t count)
{
    const size_t got = readAt(fd, offset, into, count);
    const int error = errno;
    if (got == count)
        return "";
    if (error != 0)
        return std::string("cannot be read (") + std::strerror(error) + ")";
    return "cut short while it was read (at byte " + std::to_string(offset + got) + ")";
}

// A buffer that is not cleared when it grows: every byte is written before it is read.
struct Buffer {
    std::unique_ptr<char[]> bytes;
    size_t capacity = 0;

    char* reserve(size_t size)
    {
        if (size > capacity) {
            bytes.reset(new char[size]);
            capacity = size;
        }
        return bytes.get();
    }
    void trim()
    {
        if (capacity > kKeptBuffer)
            bytes.reset(), capacity = 0;
    }
};

// The checksums of the data as it comes.
struct DataSums {
    uint32_t crc = 0;
    std::optional<Sha1> sha1;

    explicit DataSums(bool withSha1)
    {
        if (withSha1)
            sha1.emplace();
    }
    void add(const char* bytes, size_t count)
    {
        crc = static_cast<uint32_t>(libdeflate_crc32(crc, bytes, count));
        if (sha1)
            sha1->add(std::string_view(bytes, count));
    }
};

// The local header's faults against the central entry, or where the data starts.
std::optional<EntryFinding> localHeaderFault(int fd, uint64_t fileSize, const ZipEntryData& data,
                                             const ZipEntry& entry, uint64_t& dataAt)
{
    const std::string where = " at byte " + std::to_string(data.localAt);
    char header[kLocalHeaderSize];
    if (data.localAt > fileSize || fileSize - data.localAt < kLocalHeaderSize)
        return finding(EntryState::Corrupt, "the file ends before its local header", "a local header" + where);
    if (std::string why = readExactly(fd, data.localAt, header, sizeof header); !why.empty())
        return finding(EntryState::Unreadable, why);
    if (std::memcmp(header, "PK\x03\x04", 4) != 0)
        return finding(EntryState::Corrupt, "no local header" + where, "a local header, as its central directory says");
    const size_t nameSize = le16(header + 26);
    dataAt = data.localAt + kLocalHeaderSize + nameSize + le16(header + 28);
    std::string name(nameSize, '\0');
    if (nameSize > fileSize - data.localAt - kLocalHeaderSize)
        return finding(EntryState::Corrupt, "its local header runs past the end of the file" + where);
    if (std::string why = readExactly(fd, data.localAt + kLocalHeaderSize, name.data(), nameSize); !why.empty())
        return finding(EntryState::Unreadable, why);
    if (name != data.rawName)
        return finding(EntryState::Corrupt, "its local header names \"" + name + "\"" + where,
                       "the central directory's name");
    if (le16(header + 8) != data.method)
        return finding(EntryState::Corrupt, "its local header says " + zipMethodName(le16(header + 8)),
                       zipMethodName(data.method) + ", as its central directory says");
    if (!(le16(header + 6) & kDataDescriptor) && !(data.flags & kDataDescriptor)) {
        // All ones stand for a zip64 value that the local extra field holds.
        const uint32_t crc = le32(header + 14), compressed = le32(header + 18), size = le32(header + 22);
        if (crc != entry.crc)
            return finding(EntryState::Corrupt, "its local header says CRC " + crcText(crc),
                           "CRC " + crcText(entry.crc) + ", as its central directory says");
        if ((size != 0xFFFFFFFF && size != entry.size) || (compressed != 0xFFFFFFFF && compressed != data.compressed))
            return finding(EntryState::Corrupt,
                           "its local header says " + bytesText(size) + " from " + bytesText(compressed),
                           bytesText(entry.size) + " from " + bytesText(data.compressed) +
                               ", as its central directory says");
    }
    if (dataAt > fileSize || data.compressed > fileSize - dataAt)
        return finding(EntryState::Corrupt, "the file ends before its data does (cut short)",
                       bytesText(data.compressed) + " of data from byte " + std::to_string(dataAt));
    return std::nullopt;
}

// Reads `count` bytes from `at` a piece at a time into `sums`.
std::optional<EntryFinding> readStored(int fd, uint64_t at, uint64_t count, DataSums& sums)
{
    thread_local Buffer buffer;
    char* piece = buffer.reserve(kPiece);
    for (uint64_t done = 0; done < count;) {
        const size_t size = static_cast<size_t>(std::min<uint64_t>(kPiece, count - done));
        if (std::string why = readExactly(fd, at + done, piece, size); !why.empty())
            return finding(EntryState::Unreadable, why);
        sums.add(piece, size);
        done += size;
    }
    return std::nullopt;
}

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The whole stream in memory at once, the fast way.
std::optional<EntryFinding> inflateWhole(int fd, uint64_t at, const ZipEntryData& data, const ZipEntry& entry,
                                         DataSums& sums)
{
    thread_local Buffer in, out;
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor)
        return finding(EntryState::Unreadable, "no memory to decompress it");
    char* compressed = in.reserve(std::max<size_t>(data.compressed, 1));
    char* inflated = out.reserve(std::max<size_t>(entry.size, 1));
    std::optional<EntryFinding> fault;
    if (std::string why = readExactly(fd, at, compressed, data.compressed); !why.empty())
        fault = finding(EntryState::Unreadable, why);
    size_t given = 0;
    const libdeflate_result result =
        fault ? LIBDEFLATE_SUCCESS
              : libdeflate_deflate_decompress(decompressor.get(), compressed, data.compressed, inflated, entry.size, &given);
    if (result == LIBDEFLATE_BAD_DATA)
        fault = finding(EntryState::Corrupt, "its data is not a whole DEFLATE stream", "DEFLATE data");
    else if (result == LIBDEFLATE_INSUFFICIENT_SPACE)
        fault = finding(EntryState::Corrupt, "its data gives more than " + bytesText(entry.size),
                        bytesText(entry.size) + ", as its central directory says");
    else if (!fault)
        sums.add(inflated, given);
    in.trim(), out.trim();
    if (!fault && given != entry.size)
        fault = finding(EntryState::Corrupt, "its data gives " + bytesText(given),
                        bytesText(entry.size) + ", as its central directory says");
    return fault;
}

// A stream too large to hold, through a buffer of a piece each way.
std::optional<EntryFinding> inflatePieces(int fd, uint64_t at, const ZipEntryData& data, const ZipEntry& entry,
                                          DataSums& sums)
{
    thread_local Buffer in, out;
    char* input = in.reserve(kPiece);
    char* output = out.reserve(kPiece);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return finding(EntryState::Unreadable, "no memory to decompress it");
    const std::unique_ptr<z_stream, int (*)(z_stream*)> ending(&stream, inflateEnd);
    uint64_t read = 0, given = 0;
    for (int status = Z_OK; status != Z_STREAM_END;) {
        if (stream.avail_in == 0) {
            if (read == data.compressed)
                return finding(EntryState::Corrupt, "its data ends before its DEFLATE stream does", "DEFLATE data");
            const size_t size = static_cast<size_t>(std::min<uint64_t>(kPiece, data.compressed - read));
            if (std::string why = readExactly(fd, at + read, input, size); !why.empty())
                return finding(EntryState::Unreadable, why);
            read += size;
            stream.next_in = reinterpret_cast<Bytef*>(input), stream.avail_in = static_cast<uInt>(size);
        }
        stream.next_out = reinterpret_cast<Bytef*>(output), stream.avail_out = kPiece;
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
            return finding(EntryState::Corrupt, "its data is not a whole DEFLATE stream", "DEFLATE data");
        const size_t produced = kPiece - stream.avail_out;
        given += produced;
        if (given > entry.size)
            return finding(EntryState::Corrupt, "its data gives more than " + bytesText(entry.size),
                           bytesText(entry.size) + ", as its central directory says");
        sums.add(output, produced);
    }
    if (given != entry.size)
        return finding(EntryState::Corrupt, "its data gives " + bytesText(given),
                       bytesText(entry.size) + ", as its central directory says");
    return std::nullopt;
}

std::optional<EntryFinding> readData(int fd, uint64_t at, const ZipEntryData& data, const ZipEntry& entry,
                                     DataSums& sums)
{
    if (data.method == 0) {
        if (data.compressed != entry.size)
            return finding(EntryState::Corrupt, "stored with " + bytesText(data.compressed),
                           bytesText(entry.size) + ", as its central directory says");
        return readStored(fd, at, entry.size, sums);
    }
    if (entry.size / kDeflateRatio > data.compressed)
        return finding(EntryState::Corrupt,
                       "its central directory claims " + bytesText(entry.size) + " from " +
                           bytesText(data.compressed),
                       "at most " + bytesText(data.compressed * kDeflateRatio) + ", all DEFLATE can give");
    if (entry.size > kWholeEntryLimit || data.compressed > kWholeEntryLimit)
        return inflatePieces(fd, at, data, entry, sums);
    return inflateWhole(fd, at, data, entry, sums);
}

}  // namespace

std::string zipMethodName(uint16_t method)
{
    switch (method) {
    case 0: return "stored";
    case 1: return "Shrink";
    case 6: return "Implode";
    case 8: return "DEFLATE";
    case 9: return "Deflate64";
    case 12: return "BZIP2";
    case 14: return "LZMA";
    case 93: return "Zstandard";
    case 95: return "XZ";
    case 98: return "PPMd";
    case 99: return "AES encryption";
    }
    return "method " + std::to_string(method);
}

EntryFinding checkZipEntry(int fd, uint64_t fileSize, const ZipEntry& entry, const ZipEntryData& data,
                           const std::string& sha1)
{
    uint64_t dataAt = 0;
    if (auto fault = localHeaderFault(fd, fileSize, data, entry, dataAt))
        return std::move(*fault);
    if (data.flags & kEncrypted)
        return finding(EntryState::NotVerifiable, "encrypted");
    if (data.method != 0 && data.method != 8)
        return finding(EntryState::NotVerifiable, "compressed with " + zipMethodName(data.method));
    DataSums sums(!sha1.empty());
    if (auto fault = readData(fd, dataAt, data, entry, sums))
        return std::move(*fault);
    EntryFinding intact{EntryState::Intact, "", "", entry.size};
    if (sums.crc != entry.crc)
        return {EntryState::Corrupt, "its data gives CRC " + crcText(sums.crc),
                "CRC " + crcText(entry.crc) + ", as its central directory says", entry.size};
    if (sums.sha1) {
        std::string wanted = sha1;
        std::transform(wanted.begin(), wanted.end(), wanted.begin(), [](char c) { return c >= 'A' && c <= 'F' ? c + 32 : c; });
        if (const std::string given = sums.sha1->hex(); given != wanted)
            return {EntryState::Corrupt, "its data gives SHA-1 " + given, "SHA-1 " + wanted + ", as the DAT says",
                    entry.size};
    }
    return intact;
}

}  // namespace tokenade
