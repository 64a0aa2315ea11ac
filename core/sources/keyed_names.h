#pragma once

#include "core/foundation/mapped_memory.h"
#include "core/sources/name_arena.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace tokenade {

// A name with its comparison key, as the sorts and merges hold it: a small
// fixed record (32 bytes) that points into the arena holding the name's bytes.
// In the arena, a name with a key of its own is followed by that key, and
// the key's size (four bytes, native order) stands right before the name.
struct KeyedName {
    uint64_t keyHigh = 0;  // the key's first sixteen bytes, big-endian and zero-padded,
    uint64_t keyLow = 0;   // so that most comparisons end with two integer compares
    const char* bytes = nullptr;  // the name
    uint32_t sizeAndFlags = 0;    // the name's size, with kOwnKey
    uint32_t origin = 0;          // the folder of a found name, the line of a list name

    // The key is not the name in ASCII lower case but bytes of its own.
    static constexpr uint32_t kOwnKey = 1u << 31;
    // Names are shorter than this: a list is at most a few megabytes.
    static constexpr uint32_t kSizeLimit = 1u << 30;

    uint32_t size() const { return sizeAndFlags & (kSizeLimit - 1); }
    bool hasOwnKey() const { return (sizeAndFlags & kOwnKey) != 0; }
    std::string_view name() const { return std::string_view(bytes, size()); }
    size_t keyLength() const { return hasOwnKey() ? headerWord(1) : size(); }

private:
    // The `n`-th four bytes before the name.
    uint32_t headerWord(size_t n) const
    {
        uint32_t word;
        std::memcpy(&word, bytes - 4 * n, 4);
        return word;
    }
};
static_assert(sizeof(KeyedName) == 32, "a million names sort and merge as 32 MB of records");

// The order of every sort and merge: the keys of the two names (see
// unicodeKey) compared byte by byte, that is code point by code point of the
// case-folded, decomposed names. Returns -1, 0 or +1; 0 means the names are
// alike without regard to letter case or composition. `context` is never
// read; it is there so that the function has the shape of a sort comparison.
inline int compareSringsCaseInsensitive(const KeyedName& first, const KeyedName& second, void* context = nullptr);

// The same for two names whose first sixteen key bytes are alike.
int compareKeyTails(const KeyedName& first, const KeyedName& second);

// Inline: the sorts and merges call it for nearly every pair they look at,
// and the two integer compares decide most of them.
inline int compareSringsCaseInsensitive(const KeyedName& first, const KeyedName& second, void*)
{
    if (first.keyHigh != second.keyHigh)
        return first.keyHigh < second.keyHigh ? -1 : 1;
    if (first.keyLow != second.keyLow)
        return first.keyLow < second.keyLow ? -1 : 1;
    return compareKeyTails(first, second);
}

// Names with their keys, each key computed once, when the name is added: an
// ASCII name's key is its lower-cased bytes and needs no storage of its own;
// only other names go through the Unicode library. The names' bytes live in
// arenas that the list owns and can hand over.
class KeyedNames {
public:
    KeyedNames() = default;
    KeyedNames(KeyedNames&&) noexcept = default;
    KeyedNames& operator=(KeyedNames&&) noexcept = default;

    // Stores a copy of `name` (shorter than KeyedName::kSizeLimit) and adds it
    // at the end.
    void add(std::string_view name, uint32_t origin);
    // The names of every part, in order, as one list; the parts are left
    // empty, each as soon as its names are in.
    static KeyedNames join(std::vector<KeyedNames>&& parts);
    void reserve(size_t names) { names_.reserve(names); }
    // Replaces the last extension of every name by `extension` (without the
    // period, in lower-case ASCII as keys hold it), where a name has one of
    // the same length: in place, with its key, which needs no Unicode library
    // again (a name's key ends in that of its extension, after a period).
    // Other names are stored anew. Near hashes, of the old names, are dropped.
    // Does not sort.
    void replaceExtensions(std::string_view extension);
    // Gives every name the origin that `newOrigin` maps its origin to.
    void renumberOrigins(const std::vector<uint32_t>& newOrigin);

    // Sorts by key, names that compare alike by their own bytes, and the same
    // bytes by origin, so that the result never depends on the order the
    // names came in. Uses up to `threads` threads for a large list.
    void sort(unsigned threads = 1);

    size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }
    const KeyedName& operator[](size_t i) const { return names_[i]; }
    std::span<const KeyedName> all() const { return names_; }

    // Forgets the names but keeps their bytes: the arenas stay.
    void dropNames() { names_ = decltype(names_)(); }

    // The arenas that hold the names: whoever keeps them keeps every view of
    // a name valid. The list is left empty.
    std::vector<NameArena> takeArenas();

private:
    NameArena& arena();

    std::vector<KeyedName, MappedAllocator<KeyedName>> names_;  // given back whole when freed
    std::vector<NameArena> arenas_;
};

}  // namespace tokenade
