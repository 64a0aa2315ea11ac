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

// Up to eight bytes from `bytes` as one integer whose order is theirs,
// zero-padded; ASCII letters lowered when `lower` says so, all eight at once.
uint64_t keyWord(const char* bytes, size_t available, bool lower)
{
    unsigned char chunk[8] = {};
    if (available != 0) // an empty name may have no bytes at all
        std::memcpy(chunk, bytes, std::min<size_t>(available, 8));
    uint64_t word;
    std::memcpy(&word, chunk, 8);
    if (lower)  // each byte of an ASCII name is below 0x80
        word = asciiLowerWord(word);
    if constexpr (std::endian::native == std::endian::little)
        word = __builtin_bswap64(word);
    return word;
}

void setKeyPrefix(KeyedName& name)
{
    const bool lower = name.keySize == KeyedName::kLowerCaseKey;
    const char* key = lower ? name.bytes : name.bytes + name.size;
    const size_t length = name.keyLength();
    name.keyHigh = keyWord(key, length, lower);
    name.keyLow = length > 8 ? keyWord(key + 8, length - 8, lower) : 0;
}

// The whole keys, once their first sixteen bytes have compared alike.
int compareKeyTails(const KeyedName& first, const KeyedName& second)
{
    const size_t firstLength = first.keyLength();
    const size_t secondLength = second.keyLength();
    const size_t common = std::min(firstLength, secondLength);
    // The prefixes are alike, so are their first min(16, common) key bytes;
    // below sixteen a prefix may end in padding, which the lengths settle.
    for (size_t i = std::min<size_t>(16, common); i < common; ++i) {
        const unsigned char a = first.keyByte(i);
        const unsigned char b = second.keyByte(i);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return (firstLength > secondLength) - (firstLength < secondLength);
}

bool sortsBefore(const KeyedName& first, const KeyedName& second)
{
    const int order = compareSringsCaseInsensitive(first, second);
    if (order != 0)
        return order < 0;
    const int bytes = first.name().compare(second.name());
    return bytes != 0 ? bytes < 0 : first.origin < second.origin;
}

constexpr size_t kParallelSortThreshold = 50000;

}  // namespace

unsigned char KeyedName::keyByte(size_t i) const
{
    if (keySize == kLowerCaseKey)
        return static_cast<unsigned char>(asciiLower(bytes[i]));
    return static_cast<unsigned char>(bytes[size + i]);
}

int compareSringsCaseInsensitive(const KeyedName& first, const KeyedName& second, void*)
{
    if (first.keyHigh != second.keyHigh)
        return first.keyHigh < second.keyHigh ? -1 : 1;
    if (first.keyLow != second.keyLow)
        return first.keyLow < second.keyLow ? -1 : 1;
    return compareKeyTails(first, second);
}

NameArena& KeyedNames::arena()
{
    if (arenas_.empty())
        arenas_.emplace_back();
    return arenas_.back();
}

void KeyedNames::add(std::string_view name, uint32_t origin, uint32_t nearHash)
{
    if (!isAscii(name)) {
        thread_local std::string key;
        unicodeKeyInto(name, key);
        addWithKey(name, key, origin);
        names_.back().nearHash = nearHash;
        return;
    }
    KeyedName keyed;
    keyed.bytes = arena().store(name).data();
    keyed.size = static_cast<uint32_t>(name.size());
    keyed.keySize = KeyedName::kLowerCaseKey;
    keyed.origin = origin;
    keyed.nearHash = nearHash;
    setKeyPrefix(keyed);
    names_.push_back(keyed);
}

void KeyedNames::addWithKey(std::string_view name, std::string_view key, uint32_t origin)
{
    char* bytes = arena().allocate(name.size() + key.size());
    std::memcpy(bytes, name.data(), name.size());
    std::memcpy(bytes + name.size(), key.data(), key.size());
    KeyedName keyed;
    keyed.bytes = bytes;
    keyed.size = static_cast<uint32_t>(name.size());
    keyed.keySize = static_cast<uint32_t>(key.size());
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
            std::memcpy(bytes + name.size - extension.size(), extension.data(), extension.size());
            if (name.keySize != KeyedName::kLowerCaseKey)
                std::memcpy(bytes + name.size + name.keySize - extension.size(), extension.data(), extension.size());
            setKeyPrefix(name);
            name.nearHash = 0;  // it was of the old name
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
        std::sort(names_.begin(), names_.end(), sortsBefore);
        return;
    }
    // Split around a middle key, then sort the halves side by side: no
    // second array and no merge, so a large list costs no extra memory.
    std::vector<KeyedName> sample;
    for (size_t i = 0; i < names_.size(); i += names_.size() / 64)
        sample.push_back(names_[i]);
    std::nth_element(sample.begin(), sample.begin() + sample.size() / 2, sample.end(), sortsBefore);
    const KeyedName pivot = sample[sample.size() / 2];
    const auto middle = std::partition(names_.begin(), names_.end(),
                                       [&](const KeyedName& name) { return sortsBefore(name, pivot); });
    std::thread lower([&] { std::sort(names_.begin(), middle, sortsBefore); });
    std::sort(middle, names_.end(), sortsBefore);
    lower.join();
}

std::vector<NameArena> KeyedNames::takeArenas()
{
    std::vector<NameArena> arenas = std::move(arenas_);
    *this = KeyedNames();
    return arenas;
}

}  // namespace tokenade
