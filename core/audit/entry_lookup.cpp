#include "entry_lookup.h"

#include "core/foundation/ascii.h"
#include "core/foundation/unicode_key.h"

#include <algorithm>
#include <string>

namespace tokenade {
namespace {

// Compares the key of `name` with `key` without building it for an ASCII name.
int compareKeyOf(std::string_view name, std::string_view key)
{
    if (!isAscii(name)) {
        thread_local std::string nameKey;
        unicodeKeyInto(name, nameKey);
        return nameKey.compare(key);
    }
    const size_t common = std::min(name.size(), key.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char lower = static_cast<unsigned char>(asciiLower(name[i]));
        const unsigned char other = static_cast<unsigned char>(key[i]);
        if (lower != other)
            return lower < other ? -1 : 1;
    }
    return (name.size() > key.size()) - (name.size() < key.size());
}

}  // namespace

std::span<const ResultEntry> entriesLike(const ResultList& entries, std::string_view name)
{
    const std::string key = unicodeKey(name);
    const auto begin = std::partition_point(entries.begin(), entries.end(), [&](const ResultEntry& entry) {
        return compareKeyOf(entry.name(), key) < 0;
    });
    const auto end = std::partition_point(begin, entries.end(), [&](const ResultEntry& entry) {
        return compareKeyOf(entry.name(), key) == 0;
    });
    return {begin, end};
}

const ResultEntry* entryLike(const ResultList& entries, std::string_view name)
{
    const std::span<const ResultEntry> alike = entriesLike(entries, name);
    const auto exact =
        std::find_if(alike.begin(), alike.end(), [&](const ResultEntry& entry) { return entry.name() == name; });
    return exact != alike.end() ? &*exact : alike.empty() ? nullptr : &alike.front();
}

}  // namespace tokenade
