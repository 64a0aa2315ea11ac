#include "zip_builder.h"

#include "core/content/crc32.h"

namespace tokenade::testing {
namespace {

void put16(std::string& out, uint64_t value)
{
    out.push_back(static_cast<char>(value));
    out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string& out, uint64_t value)
{
    put16(out, value);
    put16(out, value >> 16);
}

void put64(std::string& out, uint64_t value)
{
    put32(out, value);
    put32(out, value >> 32);
}

// The table entry whose top byte is `top`: CRC-32's table has exactly one.
uint32_t entryWithTop(uint32_t top, uint32_t& index)
{
    const uint32_t* table = crc32Table();
    for (index = 0; table[index] >> 24 != top; ++index) {
    }
    return table[index];
}

}  // namespace

std::string bytesWithCrc(uint64_t size, uint32_t crc)
{
    if (size < 4)
        return std::string(size, '\0');  // too short to choose a checksum: a folder's, or a test's own
    std::string bytes(size - 4, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 31 + 7);
    // Runs the checksum's register backwards from the wanted end through four
    // bytes; what it must have held before them, against what the filler
    // left there, gives the bytes.
    const uint32_t before = ~crc32(bytes);
    uint32_t state = ~crc;
    for (int i = 0; i < 4; ++i) {
        uint32_t index = 0;
        const uint32_t entry = entryWithTop(state >> 24, index);
        state = ((state ^ entry) << 8) | index;
    }
    const uint32_t tail = state ^ before;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>(tail >> (8 * i)));
    return bytes;
}

std::string zipBytes(const std::vector<ZipFile>& files, const ZipShape& shape)
{
    std::string out;
    std::string directory;
    const uint16_t flags = (shape.utf8Names ? 1 << 11 : 0) | (shape.dataDescriptors ? 1 << 3 : 0);
    const uint64_t wide = 0xFFFFFFFF;
    for (const ZipFile& file : files) {
        const uint64_t offset = out.size();
        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, flags);
        put16(out, 0);  // stored
        put32(out, 0);  // time and date
        put32(out, shape.dataDescriptors ? 0 : file.crc);
        put32(out, shape.dataDescriptors ? 0 : file.size);
        put32(out, shape.dataDescriptors ? 0 : file.size);
        put16(out, file.name.size());
        put16(out, 0);
        out += file.name;
        out += bytesWithCrc(file.size, file.crc);
        if (shape.dataDescriptors) {
            put32(out, 0x08074b50);
            put32(out, file.crc);
            put32(out, file.size);
            put32(out, file.size);
        }
        put32(directory, 0x02014b50);
        put16(directory, 45);
        put16(directory, 20);
        put16(directory, flags);
        put16(directory, 0);
        put32(directory, 0);
        put32(directory, file.crc);
        put32(directory, shape.zip64 ? wide : file.size);
        put32(directory, shape.zip64 ? wide : file.size);
        put16(directory, file.name.size());
        put16(directory, shape.zip64 ? 28 : 0);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put32(directory, 0);
        put32(directory, shape.zip64 ? wide : offset);
        directory += file.name;
        if (shape.zip64) {
            put16(directory, 0x0001);
            put16(directory, 24);
            put64(directory, file.size);
            put64(directory, file.size);
            put64(directory, offset);
        }
    }
    const uint64_t directoryAt = out.size();
    out += directory;
    if (shape.zip64) {
        const uint64_t recordAt = out.size();
        put32(out, 0x06064b50);
        put64(out, 44);
        put16(out, 45);
        put16(out, 45);
        put32(out, 0);
        put32(out, 0);
        put64(out, files.size());
        put64(out, files.size());
        put64(out, directory.size());
        put64(out, directoryAt);
        put32(out, 0x07064b50);
        put32(out, 0);
        put64(out, recordAt);
        put32(out, 1);
    }
    put32(out, 0x06054b50);
    put32(out, 0);
    put16(out, shape.zip64 ? 0xFFFF : files.size());
    put16(out, shape.zip64 ? 0xFFFF : files.size());
    put32(out, shape.zip64 ? wide : directory.size());
    put32(out, shape.zip64 ? wide : directoryAt);
    put16(out, shape.comment.size());
    out += shape.comment;
    return out;
}

}  // namespace tokenade::testing
