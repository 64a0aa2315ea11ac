#pragma once

#include <cstdint>

namespace tokenade {

// Numbers as archive formats store them, least significant byte first.
inline uint16_t le16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

inline uint32_t le32(const char* p)
{
    return uint32_t{le16(p)} | uint32_t{le16(p + 2)} << 16;
}

inline uint64_t le64(const char* p)
{
    return uint64_t{le32(p)} | uint64_t{le32(p + 4)} << 32;
}

}  // namespace tokenade
