#pragma once

#include <cstdint>
#include <string_view>

namespace tokenade {

// The CRC-32 of zip archives and DATs (reflected polynomial 0xEDB88320, the
// register set to all ones before and inverted after). `crc` continues a
// checksum from where a former call left it: crc32(b, crc32(a)) == crc32(a + b).
uint32_t crc32(std::string_view bytes, uint32_t crc = 0);

// The 256 entries of the table the checksum is computed with, for code that
// runs it backwards (the tests choose bytes that give a wanted checksum).
const uint32_t* crc32Table();

}  // namespace tokenade
