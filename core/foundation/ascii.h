#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tokenade {

// The rules for plain ASCII text, each written once and inline, since the
// walk, the keys and the merges call them for every name.

// `c` with 'A'..'Z' lowered to 'a'..'z'; any other byte as it is.
constexpr char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Eight bytes at once, each of them below 0x80: 'A'..'Z' lowered, the rest
// as they are. A byte at or above 0x80 may come out changed.
constexpr uint64_t asciiLowerWord(uint64_t word)
{
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    // Adding 0x80 - 'A' sets a byte's high bit from 'A' up, adding 0x80 - 'Z' - 1
    // from past 'Z'; below 0x80 no byte carries into the next.
    const uint64_t fromA = word + kOnes * (0x80 - 'A');
    const uint64_t pastZ = word + kOnes * (0x80 - 'Z' - 1);
    return word | (((fromA & ~pastZ) & kOnes * 0x80) >> 2);
}

// `text` with its ASCII letters lowered, into `out` (its storage reused).
inline void asciiLowerInto(std::string_view text, std::string& out)
{
    out.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = asciiLower(text[i]);
}

// How many bytes `text` begins with that are below 0x80; read eight at a time.
inline size_t asciiPrefixLength(std::string_view text)
{
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t block;
        std::memcpy(&block, text.data() + i, 8);
        if (block & 0x8080808080808080ULL)
            break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i;
}

// True when every byte is below 0x80.
inline bool isAscii(std::string_view text)
{
    return asciiPrefixLength(text) == text.size();
}

}  // namespace tokenade
