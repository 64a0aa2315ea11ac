#include "crc32.h"

#include <array>

namespace tokenade {
namespace {

// Eight tables: the checksum takes eight bytes a step ("slicing by eight"),
// so that the cache's checksum over a million archives stays a few
// milliseconds.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables makeTables()
{
    Tables tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value >> 1) ^ ((value & 1) ? 0xEDB88320u : 0);
        tables[0][i] = value;
    }
    for (uint32_t i = 0; i < 256; ++i) {
        for (size_t t = 1; t < 8; ++t)
            tables[t][i] = (tables[t - 1][i] >> 8) ^ tables[0][tables[t - 1][i] & 0xFF];
    }
    return tables;
}

constexpr Tables kTables = makeTables();

}  // namespace

uint32_t crc32(std::string_view bytes, uint32_t crc)
{
    uint32_t value = ~crc;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t left = bytes.size();
    for (; left >= 8; left -= 8, data += 8) {
        const uint32_t low = value ^ (uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16 |
                                      uint32_t{data[3]} << 24);
        value = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
                kTables[4][low >> 24] ^ kTables[3][data[4]] ^ kTables[2][data[5]] ^ kTables[1][data[6]] ^
                kTables[0][data[7]];
    }
    for (; left > 0; --left, ++data)
        value = (value >> 8) ^ kTables[0][(value ^ *data) & 0xFF];
    return ~value;
}

const uint32_t* crc32Table()
{
    return kTables[0].data();
}

}  // namespace tokenade
