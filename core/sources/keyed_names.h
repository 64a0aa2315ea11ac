#pragma once

#include "core/sources/name_arena.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tokenade {

// A name with its comparison key, as the sorts and merges hold it: a small
// fixed record that points into the arena holding the name's bytes.
struct KeyedName {
    uint64_t keyHigh = 0;  // the key's first sixteen bytes, big-endian and zero-padded,
    uint64_t keyLow = 0;   // so that most comparisons end with two integer compares
    const char* bytes = nullptr;  // the name, followed by its key when it has one of its own
    uint32_t size = 0;            // of the name
    uint32_t keySize = 0;         // of the key; kLowerCaseKey: the key is the name in ASCII lower case
    uint32_t origin = 0;          // the folder of a found name, the line of a list name
    uint32_t nearHash = 0;        // of a found name when its scan was asked for them (see ScanControl)

    static constexpr uint32_t kLowerCaseKey = UINT32_MAX;

    std::string_view name() const { return std::string_view(bytes, size); }
    size_t keyLength() const { return keySize == kLowerCaseKey ? size : keySize; }
    // The key's i-th byte, i below keyLength().
    unsigned char keyByte(size_t i) const;
};

// The order of every sort and merge: the keys of the two names (see
// unicodeKey) compared byte by byte, that is code point by code point of the
// case-folded, decomposed names. Returns -1, 0 or +1; 0 means the names are
// alike without regard to letter case or composition. `context` is never
// read; it is there so that the function has the shape of a sort comparison.
int compareSringsCaseInsensitive(const KeyedName& first, const KeyedName& second, void* context = nullptr);

// Names with their keys, each key computed once, when the name is added: an
// ASCII name's key is its lower-cased bytes and needs no storage of its own;
// only other names go through the Unicode library. The names' bytes live in
// arenas that the list owns and can hand over.
class KeyedNames {
public:
    KeyedNames() = default;
    KeyedNames(KeyedNames&&) noexcept = default;
    KeyedNames& operator=(KeyedNames&&) noexcept = default;

    // Stores a copy of `name` and adds it at the end.
    void add(std::string_view name, uint32_t origin, uint32_t nearHash = 0);
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

    // The arenas that hold the names: whoever keeps them keeps every view of
    // a name valid. The list is left empty.
    std::vector<NameArena> takeArenas();

private:
    NameArena& arena();
    // `add` with the key known already: it must be unicodeKey(name).
    void addWithKey(std::string_view name, std::string_view key, uint32_t origin);

    std::vector<KeyedName> names_;
    std::vector<NameArena> arenas_;
};

}  // namespace tokenade
