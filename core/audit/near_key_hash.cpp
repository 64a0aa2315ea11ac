#include "near_key_hash.h"

#include "near_key.h"
#include "near_key_writer.h"
#include "near_text_pieces.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <optional>

namespace tokenade {
namespace {

using namespace near_key_writer;

// Room for a near key: no character adds more than six bytes of near text
// per byte of name ("&" adds five, a piece at most twelve for a character of
// two bytes or more), and eight more for the last word written.
constexpr size_t kKeyCapacity = 2048;
constexpr size_t kLongestName = (kKeyCapacity - 8) / 6;

// Three instructions a word; the end of hashOfNearKey spreads the bits.
uint64_t mixWord(uint64_t hash, uint64_t word)
{
    return (std::rotl(hash, 5) ^ word) * 0x9E3779B97F4A7C15ULL;
}

// The bytes of `text` from `i` on (one to seven), the first lowest, zeros above.
uint64_t restWord(std::string_view text, size_t i)
{
    const size_t rest = text.size() - i;
    if (text.size() < 8)
        return littleEndianWord(text.data() + i, rest);
    return littleEndianWord(text.data() + text.size() - 8, 8) >> (8 * (8 - rest));
}

// The last sixteen bytes of the compatibility key, where a doubled extension
// would be; a character outside ASCII stands there as one byte that no
// extension holds.
class KeyTail {
public:
    static constexpr size_t kSize = 16;

    // `count` bytes (one to eight, the first lowest).
    void push(uint64_t word, unsigned count)
    {
        if (count == 8) {
            older_ = newer_;
            newer_ = word;
        } else {
            const unsigned shift = 8 * count;
            older_ = (older_ >> shift) | (newer_ << (64 - shift));
            newer_ = (newer_ >> shift) | (word << (64 - shift));
        }
        pushed_ += count;
    }
    void push(std::string_view bytes)
    {
        for (const char byte : bytes)
            push(static_cast<uint8_t>(byte), 1);
    }

    // Bytes that the doubled extensions take up at the end of the near key:
    // the same as at the end of the compatibility key, since ".zip" reads as
    // " zip". Nothing when a further repeat could hide before the tail.
    std::optional<size_t> doubledExtensionBytes(std::string_view extension) const
    {
        char bytes[kSize];
        storeLittleEndian(bytes, older_);
        storeLittleEndian(bytes + 8, newer_);
        const size_t size = std::min(pushed_, kSize);
        const std::string_view tail(bytes + kSize - size, size);
        // Most names have no doubled extension: two periods in their places tell.
        const size_t once = extension.size() + 1;
        if (size >= 2 * once && (tail[size - once] != '.' || tail[size - 2 * once] != '.'))
            return 0;
        const std::string_view kept = withoutDoubledExtension(tail, extension);
        if (pushed_ > size && kept.size() < 2 * once)
            return std::nullopt;
        return size - kept.size();
    }

private:
    uint64_t older_ = 0;
    uint64_t newer_ = 0;  // the last byte highest
    size_t pushed_ = 0;
};

// Builds the near key on the stack and hashes it. Most of a name is ASCII
// and goes eight bytes at a time; other characters go one by one through
// their pieces. Nothing when a character has no piece.
std::optional<uint64_t> builtKeyHash(std::string_view name, std::string_view extension)
{
    char keyBytes[kKeyCapacity];
    KeyWriter key{keyBytes};
    KeyTail tail;
    const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
    size_t i = 0;
    while (i < name.size()) {
        // The ASCII bytes of the next eight, up to the first '&' or other byte.
        const size_t left = name.size() - i;
        const unsigned count = left >= 8 ? 8 : static_cast<unsigned>(left);
        const uint64_t word = left >= 8 ? littleEndianWord(name.data() + i, 8) : restWord(name, i);
        const uint64_t unusual = (word & kHighBits) | bytesEqual(word, '&');
        const unsigned plain = std::min<unsigned>(count, std::countr_zero(unusual) / 8);
        if (plain == 8) {
            // Spelt out for the common case: the compiler drops the masks.
            key.putAscii(word, 8);
            tail.push(word, 8);
            i += 8;
            continue;
        }
        if (plain > 0) {
            key.putAscii(word, plain);
            tail.push(word, plain);
            i += plain;
        }
        if (plain == count)
            continue;
        // What stopped the eight bytes: an '&' or a character outside ASCII.
        if (name[i] == '&') {
            key.put(" and ");
            tail.push('&', 1);
            ++i;
            continue;
        }
        int32_t next = static_cast<int32_t>(i);
        UChar32 c;
        U8_NEXT(bytes, next, static_cast<int32_t>(name.size()), c);
        i = static_cast<size_t>(next);
        NearTextPiece scratch;
        const NearTextPiece* piece = nearTextPiece(c < 0 ? 0xFFFD : c, scratch);
        if (!piece)
            return std::nullopt;
        key.put({piece->near, piece->nearSize});
        tail.push({piece->tail, piece->tailSize});
    }
    const auto dropped = tail.doubledExtensionBytes(extension);
    if (!dropped)
        return std::nullopt;
    std::string_view text = key.text();
    text.remove_suffix(*dropped);
    return hashOfNearKey(text);
}

}  // namespace

uint64_t hashOfNearKey(std::string_view nearKey)
{
    uint64_t hash = 0x6E6561726B6579ULL;
    size_t i = 0;
    for (; i + 8 <= nearKey.size(); i += 8)
        hash = mixWord(hash, littleEndianWord(nearKey.data() + i, 8));
    if (i < nearKey.size())
        hash = mixWord(hash, restWord(nearKey, i));
    hash = mixWord(hash, nearKey.size());
    // Multiplications spread bits upward only; these shifts spread them down too.
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ULL;
    return hash ^ (hash >> 33);
}

uint64_t nearKeyHash(std::string_view name, std::string_view extension)
{
    if (name.size() <= kLongestName) {
        if (const auto hash = builtKeyHash(name, extension))
            return *hash;
    }
    return hashOfNearKey(nearKey(name, extension));
}

}  // namespace tokenade
