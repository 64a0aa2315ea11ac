#include "near_miss_finder.h"

#include "audit/input_warnings.h"
#include "audit/name_differences.h"
#include "audit/near_key.h"
#include "audit/near_key_hash.h"
#include "platform/foundation/unicode_key.h"
#include "sources/path_rules.h"

#include <algorithm>
#include <thread>
#include <unordered_map>

namespace tokenade {
namespace {

// The near-key hashes of every entry, computed on two threads.
std::vector<uint64_t> nearHashes(const ResultList& entries, std::string_view extension)
{
    std::vector<uint64_t> hashes(entries.size());
    const auto hashRange = [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            hashes[i] = nearKeyHash(entries[i].name(), extension);
    };
    const size_t middle = entries.size() / 2;
    std::thread lower(hashRange, 0, middle);
    hashRange(middle, entries.size());
    lower.join();
    return hashes;
}

// A few bits a hash, to tell most unknown files that no missing name shares
// a near key with before any lookup.
class HashFilter {
public:
    explicit HashFilter(const std::vector<uint64_t>& hashes) : bits_(kBits / 64)
    {
        for (uint64_t hash : hashes)
            bits_[(hash % kBits) / 64] |= uint64_t{1} << (hash % 64);
    }
    bool mayHold(uint64_t hash) const { return bits_[(hash % kBits) / 64] >> (hash % 64) & 1; }

private:
    static constexpr uint64_t kBits = uint64_t{1} << 22;
    std::vector<uint64_t> bits_;
};

// The entry of `entries` (in the order of their keys, as a merge leaves
// them) whose key is that of `name`: the one spelled exactly so when there
// is one, else the first; null when there is none.
const ResultEntry* entryLike(const ResultList& entries, std::string_view name)
{
    const std::string key = unicodeKey(name);
    auto at = std::partition_point(entries.begin(), entries.end(),
                                   [&](const ResultEntry& entry) { return unicodeKey(entry.name()) < key; });
    const ResultEntry* first = at != entries.end() && unicodeKey(at->name()) == key ? &*at : nullptr;
    for (; at != entries.end() && unicodeKey(at->name()) == key; ++at) {
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
    const std::vector<uint64_t> missingHashes = nearHashes(merged.missing, extension);
    const std::vector<uint64_t> unknownHashes = nearHashes(merged.unknown, extension);
    const HashFilter filter(missingHashes);
    std::unordered_map<uint64_t, Group> byHash;
    for (size_t i = 0; i < merged.missing.size(); ++i)
        byHash[missingHashes[i]].missing.push_back(&merged.missing[i]);
    for (size_t i = 0; i < merged.unknown.size(); ++i) {
        if (listedAlready[i] || !filter.mayHold(unknownHashes[i]))
            continue;
        if (const auto group = byHash.find(unknownHashes[i]); group != byHash.end())
            group->second.unknown.push_back(&merged.unknown[i]);
    }
    std::vector<Group> groups;
    for (auto& [hash, candidates] : byHash) {
        if (candidates.unknown.empty())
            continue;
        std::unordered_map<std::string, Group> byKey;
        for (const ResultEntry* entry : candidates.missing)
            byKey[nearKey(entry->name(), extension)].missing.push_back(entry);
        for (const ResultEntry* entry : candidates.unknown)
            byKey[nearKey(entry->name(), extension)].unknown.push_back(entry);
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
            const Differences differences =
                differencesBetween(group.missing[0]->name(), group.unknown[0]->name(), extension);
            found.pairs.push_back({group.missing[0], group.unknown[0], differences.bits});
            continue;
        }
        std::vector<const ResultEntry*> names = std::move(group.missing);
        names.insert(names.end(), group.unknown.begin(), group.unknown.end());
        found.ambiguous.push_back(std::move(names));
    }
    return found;
}

}  // namespace tokenade
