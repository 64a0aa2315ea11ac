#pragma once

// Builds near-key text in a caller's buffer, for the near-key hash. Inline:
// it runs over every byte of up to a million names.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tokenade::near_key_writer {

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighBits = kOnes * 0x80;

// Up to eight bytes, the first in the lowest bits on any machine.
inline uint64_t littleEndianWord(const char* bytes, size_t count)
{
    uint64_t word = 0;
    std::memcpy(&word, bytes, count);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    return word;
}

inline void storeLittleEndian(char* bytes, uint64_t word)
{
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    std::memcpy(bytes, &word, 8);
}

// The high bit of each byte of `word` that equals `byte`.
constexpr uint64_t bytesEqual(uint64_t word, uint8_t byte)
{
    const uint64_t differences = word ^ (kOnes * byte);
    return (differences - kOnes) & ~differences & kHighBits;
}

// The high bit of each byte (all below 0x80) that lies in [low, high]: adding
// 0x80 - low sets it from `low` up, and no byte carries into the next.
constexpr uint64_t bytesBetween(uint64_t word, uint8_t low, uint8_t high)
{
    return (word + kOnes * (0x80 - low)) & ~(word + kOnes * (0x7F - high)) & kHighBits;
}

// How many bytes of `marks` (one high bit each) are set: their sum.
constexpr uint64_t countOf(uint64_t marks)
{
    return ((marks >> 7) * kOnes) >> 56;
}

// `word` without the bytes that `drop` marks; the bytes above each move
// down, zeros come in at the top. The highest goes first, so that the places
// of the others stay put.
inline uint64_t withoutBytes(uint64_t word, uint64_t drop)
{
    while (drop != 0) {
        const uint64_t below = (uint64_t{1} << (56 - std::countl_zero(drop))) - 1;
        word = (word & below) | ((word >> 8) & ~below);
        drop &= below;
    }
    return word;
}

// Near text written into `bytes`, a space after a space (or at the start)
// dropped. The caller leaves eight bytes of room beyond the text. Kept as a
// local value, its size stays in a register: a member next to the bytes
// would be reloaded after every byte written.
struct KeyWriter {
    char* bytes;
    size_t size = 0;
    bool lastWasSpace = true;

    // Without a branch: a dropped space is written but not counted.
    void put(char byte)
    {
        const bool space = byte == ' ';
        bytes[size] = byte;
        size += !(space & lastWasSpace);
        lastWasSpace = space;
    }
    void put(std::string_view text)
    {
        for (const char byte : text)
            put(byte);
    }

    // `count` bytes (one to eight, the first lowest), all ASCII and none of
    // them '&', as put() would write their near text: a letter in lower case,
    // a digit as it is, any other byte as a space.
    void putAscii(uint64_t word, unsigned count)
    {
        const uint64_t inWord = count == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * count)) - 1;
        // '0'..'9' have the 0x20 bit already; with it, 'A'..'Z' read as 'a'..'z'.
        const uint64_t lowered = word | kOnes * 0x20;
        const uint64_t kept = bytesBetween(lowered, 'a', 'z') | bytesBetween(word, '0', '9');
        const uint64_t text = ((lowered & (kept >> 7) * 0xFF) | kOnes * ' ') & inWord;
        const uint64_t spaces = ~kept & kHighBits & inWord;
        const uint64_t drop = spaces & ((spaces << 8) | (lastWasSpace ? 0x80 : 0));
        storeLittleEndian(bytes + size, withoutBytes(text, drop));
        size += count - countOf(drop);
        lastWasSpace = (spaces >> (8 * count - 1)) & 1;
    }

    // The text so far without a trailing space.
    std::string_view text() const { return {bytes, size - (size > 0 && lastWasSpace)}; }
};

}  // namespace tokenade::near_key_writer
