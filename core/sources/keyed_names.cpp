#include "keyed_names.h"

#include "core/foundation/ascii.h"
#include "core/foundation/unicode_key.h"
#include "core/sources/path_rules.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <thread>

namespace tokenade {
namespace {

// Up to eight of the `available` bytes (at least one) from `bytes` as one
// integer whose order is theirs, zero-padded; ASCII letters lowered when
// `lower` says so, all eight at once.
uint64_t keyWord(const char* bytes, size_t available, bool lower)
{
    uint64_t word = 0;  // read as little-endian bytes, so the padding is at the end
    if (available >= 8)
        std::memcpy(&word, bytes, 8);
    else
        std::memcpy(&word, bytes, available);
    if (lower)  // each byte of an ASCII name is below 0x80
        word = asciiLowerWord(word);
    if constexpr (std::endian::native == std::endian::little)
        word = __builtin_bswap64(word);
    return word;
}

// The key's eight bytes from `at` on, as keyWord reads them.
uint64_t keyWordAt(const KeyedName& name, size_t at)
{
    const size_t length = name.keyLength();
    if (length <= at)  // past the key's end, where an empty name may have no bytes to point into
        return 0;
    const bool lower = !name.hasOwnKey();
    return keyWord((lower ? name.bytes : name.bytes + name.size()) + at, length - at, lower);
}

void setKeyPrefix(KeyedName& name)
{
    name.keyHigh = keyWordAt(name, 0);
    name.keyLow = keyWordAt(name, 8);
}

bool sortsBefore(const KeyedName& first, const KeyedName& second)
{
    const int order = compareSringsCaseInsensitive(first, second);
    if (order != 0)
        return order < 0;
    const int bytes = first.name().compare(second.name());
    return bytes != 0 ? bytes < 0 : first.origin < second.origin;
}

bool wordsBefore(const KeyedName& first, const KeyedName& second)
{
    // One wide compare: no branch for the sort to mispredict.
    const auto wide = [](const KeyedName& name) { return (unsigned __int128)name.keyHigh << 64 | name.keyLow; };
    return wide(first) < wide(second);
}

bool sameWords(const KeyedName& first, const KeyedName& second)
{
    return first.keyHigh == second.keyHigh && first.keyLow == second.keyLow;
}

template <typename Iterator>
void sortFromOffset(Iterator begin, Iterator end, size_t offset);

// Names alike in their key bytes up to `offset` + 16: by the bytes and
// origins when the keys end there, else by the next sixteen key bytes,
// loaded into the records once.
template <typename Iterator>
void sortRunBeyond(Iterator begin, Iterator end, size_t offset)
{
    const size_t deeper = offset + 16;
    if (std::all_of(begin, end, [&](const KeyedName& name) { return name.keyLength() <= deeper; })) {
        std::sort(begin, end, [](const KeyedName& a, const KeyedName& b) { return sortsBefore(a, b); });
        return;
    }
    for (Iterator name = begin; name != end; ++name) {
        name->keyHigh = keyWordAt(*name, deeper);
        name->keyLow = keyWordAt(*name, deeper + 8);
    }
    sortFromOffset(begin, end, deeper);
    if (offset == 0)
        std::for_each(begin, end, setKeyPrefix);
}

// Sorts names whose keys are alike before `offset` by the sixteen key bytes
// the records hold, from `offset` on; then each run alike in them by the
// next sixteen, and so on until the keys end. A family of names sharing a
// long prefix thus reads each name's bytes once per sixteen, never at every
// comparison. Every record leaves with the first sixteen key bytes again,
// as the merges expect.
template <typename Iterator>
void sortFromOffset(Iterator begin, Iterator end, size_t offset)
{
    std::sort(begin, end, [](const KeyedName& a, const KeyedName& b) { return wordsBefore(a, b); });
    for (Iterator run = begin; run != end;) {
        Iterator next = run + 1;
        while (next != end && sameWords(*run, *next))
            ++next;
        if (next - run > 1)
            sortRunBeyond(run, next, offset);
        run = next;
    }
}

constexpr size_t kParallelSortThreshold = 50000;

}  // namespace

// Once the first sixteen bytes of the keys have compared alike: names
// of one title in many regions and revisions share long prefixes, so the
// tails are compared eight bytes at a time too. Past the end of the shorter
// key its word is zero-padded: a longer key that goes on is then after it,
// and where the padding meets zeros the lengths settle, as for a prefix.
int compareKeyTails(const KeyedName& first, const KeyedName& second)
{
    const size_t firstLength = first.keyLength();
    const size_t secondLength = second.keyLength();
    const size_t common = std::min(firstLength, secondLength);
    for (size_t i = 16; i < common; i += 8) {
        const uint64_t a = keyWordAt(first, i);
        const uint64_t b = keyWordAt(second, i);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return (firstLength > secondLength) - (firstLength < secondLength);
}

NameArena& KeyedNames::arena()
{
    if (arenas_.empty())
        arenas_.emplace_back();
    return arenas_.back();
}

void KeyedNames::add(std::string_view name, uint32_t origin)
{
    thread_local std::string key;
    const bool ownKey = !isAscii(name);
    if (ownKey)
        unicodeKeyInto(name, key);
    const uint32_t keySize = ownKey ? static_cast<uint32_t>(key.size()) : 0;
    const size_t header = ownKey ? 4 : 0;
    char* at = arena().allocate(header + name.size() + keySize);
    if (ownKey) {
        std::memcpy(at, &keySize, 4);
        at += 4;
        std::memcpy(at + name.size(), key.data(), keySize);
    }
    if (!name.empty())
        std::memcpy(at, name.data(), name.size());
    KeyedName keyed;
    keyed.bytes = at;
    keyed.sizeAndFlags = static_cast<uint32_t>(name.size()) | (ownKey ? KeyedName::kOwnKey : 0);
    keyed.origin = origin;
    setKeyPrefix(keyed);
    names_.push_back(keyed);
}

KeyedNames KeyedNames::join(std::vector<KeyedNames>&& parts)
{
    size_t total = 0;
    for (const KeyedNames& part : parts)
        total += part.size();
    KeyedNames joined;
    joined.names_.reserve(total);
    for (KeyedNames& part : parts) {
        // Each part is given back as soon as it is copied, so that the parts
        // and the joined list are never resident side by side; one unmap a
        // part rather than a madvise every few pages, each of which makes
        // every core drop its cached page mappings.
        joined.names_.insert(joined.names_.end(), part.names_.begin(), part.names_.end());
        for (NameArena& arena : part.arenas_)
            joined.arenas_.push_back(std::move(arena));
        part = KeyedNames();
    }
    return joined;
}

void KeyedNames::replaceExtensions(std::string_view extension)
{
    std::string rewritten;
    for (size_t i = 0; i < names_.size(); ++i) {
        KeyedName& name = names_[i];
        const std::string_view old = pathExtension(name.name());
        if (old.size() == extension.size() && !old.empty() && isAscii(old)) {
            // Only this list's arenas hold the bytes, so they may change here.
            char* bytes = const_cast<char*>(name.bytes);
            std::memcpy(bytes + name.size() - extension.size(), extension.data(), extension.size());
            if (name.hasOwnKey())
                std::memcpy(bytes + name.size() + name.keyLength() - extension.size(), extension.data(),
                            extension.size());
            setKeyPrefix(name);
            continue;
        }
        rewritten.assign(name.name());
        replacePathExtension(rewritten, extension);
        add(rewritten, name.origin);  // may move the records: `name` is not used after it
        names_[i] = names_.back();
        names_.pop_back();
    }
}

void KeyedNames::renumberOrigins(const std::vector<uint32_t>& newOrigin)
{
    for (KeyedName& name : names_)
        name.origin = newOrigin[name.origin];
}

void KeyedNames::sort(unsigned threads)
{
    if (threads < 2 || names_.size() < kParallelSortThreshold) {
        sortFromOffset(names_.begin(), names_.end(), 0);
        return;
    }
    // Split around a middle key, then sort the halves side by side: no
    // second array and no merge, so a large list costs no extra memory.
    std::vector<KeyedName> sample;
    for (size_t i = 0; i < names_.size(); i += names_.size() / 1024)
        sample.push_back(names_[i]);
    std::nth_element(sample.begin(), sample.begin() + sample.size() / 2, sample.end(), sortsBefore);
    const KeyedName pivot = sample[sample.size() / 2];
    const auto middle = std::partition(names_.begin(), names_.end(),
                                       [&](const KeyedName& name) { return sortsBefore(name, pivot); });
    std::thread lower([&] { sortFromOffset(names_.begin(), middle, 0); });
    sortFromOffset(middle, names_.end(), 0);
    lower.join();
}

std::vector<NameArena> KeyedNames::takeArenas()
{
    std::vector<NameArena> arenas = std::move(arenas_);
    *this = KeyedNames();
    return arenas;
}

}  // namespace tokenade
