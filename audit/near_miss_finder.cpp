#include "near_miss_finder.h"

#include "audit/input_warnings.h"
#include "audit/name_differences.h"
#include "audit/near_key.h"
#include "audit/near_key_hash.h"
#include "platform/foundation/unicode_key.h"
#include "sources/path_rules.h"

#include <algorithm>
#include <thread>
#include <cstring>
#include <map>
#include <optional>

namespace tokenade {
namespace {

// Runs work(begin, end) over [0, count) on two threads.
template <typename Work>
void onTwoThreads(size_t count, Work&& work)
{
    std::thread lower(work, size_t{0}, count / 2);
    work(count / 2, count);
    lower.join();
}

// The first bytes of a near key, as two words: a cheap test that tells most
// unknown files from every missing name before their whole near key is hashed.
constexpr size_t kPrefixSize = 16;
using NearPrefix = std::pair<uint64_t, uint64_t>;

NearPrefix packPrefix(const char* bytes)
{
    uint64_t first, second;
    std::memcpy(&first, bytes, 8);
    std::memcpy(&second, bytes + 8, 8);
    return {first, second};
}

bool isAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Writes the near text of the ASCII bytes of `name` up to `end` into `out`:
// letters and digits in lower case, "&" as "and", every run of other bytes
// as one space between words, none before the first; stops once `limit`
// bytes are written (`out` has room for `limit` + 3). Returns how many bytes
// were written, or SIZE_MAX for a name that is not ASCII there.
size_t writeAsciiNearText(std::string_view name, size_t end, char* out, size_t limit)
{
    size_t written = 0;
    bool space = false;  // a space is due before the next word
    for (size_t i = 0; i < end && written < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool alnum = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
        if (!alnum && c != '&') {
            if (c >= 0x80)
                return SIZE_MAX;
            space = written > 0;
            continue;
        }
        if (space) {
            out[written++] = ' ';
            space = false;
        }
        if (alnum) {
            out[written++] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        } else {
            out[written++] = 'a';
            out[written++] = 'n';
            out[written++] = 'd';
            space = true;
        }
    }
    return written;
}

// The first kPrefixSize bytes of the near key of an ASCII name, read from its
// beginning alone: nothing when they would reach into its last characters,
// where a doubled extension may be cut, or when the name is not ASCII.
std::optional<NearPrefix> asciiNearPrefix(std::string_view name, std::string_view extension)
{
    const size_t tail = 2 * (extension.size() + 1);
    if (name.size() <= tail + kPrefixSize / 2)
        return std::nullopt;
    char prefix[kPrefixSize + 4];
    const size_t written = writeAsciiNearText(name, name.size() - tail, prefix, kPrefixSize);
    if (written == SIZE_MAX || written < kPrefixSize)
        return std::nullopt;
    return packPrefix(prefix);
}

// The prefixes of the missing names' near keys as a few bits each: small
// enough to stay in the cache while a million files are tested against it.
// A file whose prefix shares its bits with one of them is hashed whole.
class PrefixFilter {
public:
    void add(const NearPrefix& prefix)
    {
        const uint64_t bit = bitOf(prefix);
        bits_[bit / 64] |= uint64_t{1} << (bit % 64);
    }
    bool mayHold(const NearPrefix& prefix) const
    {
        const uint64_t bit = bitOf(prefix);
        return bits_[bit / 64] >> (bit % 64) & 1;
    }

private:
    static constexpr uint64_t kBits = uint64_t{1} << 23;
    static uint64_t bitOf(const NearPrefix& prefix)
    {
        return ((prefix.first * 0x9E3779B97F4A7C15ULL) ^ (prefix.second * 0xC2B2AE3D27D4EB4FULL)) >> 41;
    }
    std::vector<uint64_t> bits_ = std::vector<uint64_t>(kBits / 64);
};

// The near-key hashes of the missing names, and of those unknown files that
// may share a near key with one of them; 0 for the others (a near key whose
// hash is 0 is never paired: one in 2^64).
struct NearHashes {
    std::vector<uint64_t> missing;
    std::vector<uint64_t> unknown;
};

NearHashes nearHashes(const MergedNames& merged, const std::vector<bool>& listedAlready, std::string_view extension)
{
    NearHashes hashes{std::vector<uint64_t>(merged.missing.size()), std::vector<uint64_t>(merged.unknown.size())};
    std::vector<std::optional<NearPrefix>> prefixes(merged.missing.size());
    onTwoThreads(merged.missing.size(), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            // A near key shorter than a prefix is shared by no file that takes the cheap way.
            const NearKeySummary summary = nearKeySummary(merged.missing[i].name(), extension);
            hashes.missing[i] = summary.hash;
            if (summary.size >= kPrefixSize)
                prefixes[i] = packPrefix(summary.prefix);
        }
    });
    PrefixFilter missingPrefixes;
    for (const auto& prefix : prefixes) {
        if (prefix)
            missingPrefixes.add(*prefix);
    }
    onTwoThreads(merged.unknown.size(), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            if (listedAlready[i])
                continue;
            const std::string_view name = merged.unknown[i].name();
            const auto prefix = asciiNearPrefix(name, extension);
            if (!prefix || missingPrefixes.mayHold(*prefix))
                hashes.unknown[i] = nearKeyHash(name, extension);
        }
    });
    return hashes;
}

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
        const char c = name[i];
        const unsigned char lower = static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c);
        const unsigned char other = static_cast<unsigned char>(key[i]);
        if (lower != other)
            return lower < other ? -1 : 1;
    }
    return (name.size() > key.size()) - (name.size() < key.size());
}

// The entry of `entries` (in the order of their keys, as a merge leaves
// them) whose key is that of `name`: the one spelled exactly so when there
// is one, else the first; null when there is none.
const ResultEntry* entryLike(const ResultList& entries, std::string_view name)
{
    const std::string key = unicodeKey(name);
    auto at = std::partition_point(entries.begin(), entries.end(),
                                   [&](const ResultEntry& entry) { return compareKeyOf(entry.name(), key) < 0; });
    const ResultEntry* first = at != entries.end() && compareKeyOf(at->name(), key) == 0 ? &*at : nullptr;
    for (; at != entries.end() && compareKeyOf(at->name(), key) == 0; ++at) {
        if (at->name() == name)
            return &*at;
    }
    return first;
}

std::vector<NearMisses::Cut> cutNames(const MergedNames& merged, const RomsList& list, std::string_view extension)
{
    std::vector<NearMisses::Cut> cut;
    for (std::string_view line : list.lines) {
        const std::string_view component = lastPathComponent(line);
        const size_t period = component.rfind('.');
        if (period == std::string_view::npos || period == 0 || looksLikeExtension(component.substr(period + 1)))
            continue;
        std::string whole(line);
        whole += ".";
        whole += extension;
        const ResultEntry* found = entryLike(merged.unknown, whole);
        if (!found)
            continue;
        std::string expected(line);
        replacePathExtension(expected, extension);
        cut.push_back({std::string(line), std::move(expected), found});
    }
    return cut;
}

struct Group {
    std::vector<const ResultEntry*> missing;
    std::vector<const ResultEntry*> unknown;
};

// The missing and unknown entries that share a near key, exactly: names
// whose hashes only collide are told apart here.
std::vector<Group> groupsByNearKey(const MergedNames& merged, const std::vector<bool>& listedAlready,
                                   std::string_view extension)
{
    const NearHashes hashes = nearHashes(merged, listedAlready, extension);
    const std::vector<uint64_t>& missingHashes = hashes.missing;
    const std::vector<uint64_t>& unknownHashes = hashes.unknown;
    // (hash, missing place) sorted, and the unknown files whose hash is among them.
    std::vector<std::pair<uint64_t, size_t>> missing(missingHashes.size());
    for (size_t i = 0; i < missing.size(); ++i)
        missing[i] = {missingHashes[i], i};
    std::sort(missing.begin(), missing.end());
    std::vector<std::pair<uint64_t, size_t>> unknown;
    for (size_t i = 0; i < merged.unknown.size(); ++i) {
        const uint64_t hash = unknownHashes[i];
        if (hash == 0)
            continue;
        const auto at = std::lower_bound(missing.begin(), missing.end(), std::pair<uint64_t, size_t>{hash, 0});
        if (at != missing.end() && at->first == hash)
            unknown.emplace_back(hash, i);
    }
    std::sort(unknown.begin(), unknown.end());

    std::vector<Group> groups;
    for (size_t u = 0; u < unknown.size();) {
        const uint64_t hash = unknown[u].first;
        std::map<std::string, Group> byKey;
        for (auto m = std::lower_bound(missing.begin(), missing.end(), std::pair<uint64_t, size_t>{hash, 0});
             m != missing.end() && m->first == hash; ++m)
            byKey[nearKey(merged.missing[m->second].name(), extension)].missing.push_back(&merged.missing[m->second]);
        for (; u < unknown.size() && unknown[u].first == hash; ++u)
            byKey[nearKey(merged.unknown[unknown[u].second].name(), extension)].unknown.push_back(
                &merged.unknown[unknown[u].second]);
        for (auto& [key, group] : byKey) {
            if (!group.missing.empty() && !group.unknown.empty())
                groups.push_back(std::move(group));
        }
    }
    // The same collection always lists its near misses in the same order.
    std::sort(groups.begin(), groups.end(),
              [](const Group& a, const Group& b) { return a.missing.front() < b.missing.front(); });
    return groups;
}

}  // namespace

NearMisses findNearMisses(const MergedNames& merged, const RomsList* list, std::string_view extension)
{
    NearMisses found;
    found.searched = true;
    std::vector<bool> listedAlready(merged.unknown.size(), false);
    for (const auto& [unknown, valid] : merged.copies) {
        found.copies.push_back({&merged.unknown[unknown], &merged.valid[valid]});
        listedAlready[unknown] = true;
    }
    if (list) {
        found.cut = cutNames(merged, *list, extension);
        for (const NearMisses::Cut& cut : found.cut)
            listedAlready[static_cast<size_t>(cut.found - merged.unknown.data())] = true;
    }
    for (Group& group : groupsByNearKey(merged, listedAlready, extension)) {
        if (group.missing.size() == 1 && group.unknown.size() == 1) {
            found.pairs.push_back({group.missing[0], group.unknown[0], 0});
            continue;
        }
        std::vector<const ResultEntry*> names = std::move(group.missing);
        names.insert(names.end(), group.unknown.begin(), group.unknown.end());
        found.ambiguous.push_back(std::move(names));
    }
    onTwoThreads(found.pairs.size(), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            NearMisses::Pair& pair = found.pairs[i];
            pair.differences = differencesBetween(pair.expected->name(), pair.found->name(), extension).bits;
        }
    });
    return found;
}

}  // namespace tokenade
