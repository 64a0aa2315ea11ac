#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tokenade::testing {

// A file of a test archive: its contents are made up to have this size and
// CRC-32, as a real rom of a DAT has.
struct ZipFile {
    std::string name;
    uint64_t size = 0;
    uint32_t crc = 0;
};

struct ZipShape {
    bool zip64 = false;          // zip64 end records and extra fields
    bool dataDescriptors = false;  // sizes and CRCs after the data, as streaming writers put them
    bool utf8Names = true;       // else the names are taken as CP437 bytes
    std::string comment;
};

// `size` bytes (at least 4) whose CRC-32 is `crc`: filler, then the four
// bytes that bring the checksum to the wanted value.
std::string bytesWithCrc(uint64_t size, uint32_t crc);

// A zip archive holding `files` stored (not compressed).
std::string zipBytes(const std::vector<ZipFile>& files, const ZipShape& shape = {});

}  // namespace tokenade::testing
