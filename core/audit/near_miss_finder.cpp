#include "near_miss_finder.h"

#include "core/audit/entry_lookup.h"
#include "core/audit/input_warnings.h"
#include "core/audit/name_differences.h"
#include "core/audit/near_key.h"
#include "core/audit/near_key_hash.h"
#include "core/foundation/ascii.h"
#include "core/foundation/unicode_key.h"
#include "core/sources/path_rules.h"

#include <algorithm>
#include <thread>
#include <map>

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

// A near-key hash cut to 32 bits: names that only share these are told
// apart by their near keys.
uint32_t shortNearHash(std::string_view name, std::string_view extension)
{
    return static_cast<uint32_t>(nearKeyHash(name, extension) >> 32);
}

std::vector<uint32_t> nearHashesOf(const ResultList& names, std::string_view extension)
{
    std::vector<uint32_t> hashes(names.size());
    onTwoThreads(names.size(), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            hashes[i] = shortNearHash(names[i].name(), extension);
    });
    return hashes;
}

std::vector<NearMisses::Cut> cutNames(const MergedNames& merged, const RomsList& list, std::string_view extension)
{
    std::vector<NearMisses::Cut> cut;
    for (std::string_view line : list.lines) {
        if (!periodCutsName(line))
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

// A bit a hash: most unknown files are told from every missing name here,
// with one look into memory small enough to stay in the cache.
class HashFilter {
public:
    explicit HashFilter(const std::vector<uint32_t>& hashes)
    {
        for (uint32_t hash : hashes)
            bits_[bitOf(hash) / 64] |= uint64_t{1} << (bitOf(hash) % 64);
    }
    bool mayHold(uint32_t hash) const { return bits_[bitOf(hash) / 64] >> (bitOf(hash) % 64) & 1; }

private:
    static constexpr uint32_t kBits = uint32_t{1} << 23;
    static uint32_t bitOf(uint32_t hash) { return hash >> 9; }
    std::vector<uint64_t> bits_ = std::vector<uint64_t>(kBits / 64);
};

struct Group {
    std::vector<const ResultEntry*> missing;
    std::vector<const ResultEntry*> unknown;
};

// The missing and unknown entries that share a near key, exactly: names
// whose hashes only collide are told apart here.
std::vector<Group> groupsByNearKey(const MergedNames& merged, const std::vector<bool>& listedAlready,
                                   bool scanGaveHashes, std::string_view extension)
{
    const std::vector<uint32_t> missingHashes = nearHashesOf(merged.missing, extension);
    // The files' hashes come with the merge when the scan made them.
    const bool fromScan = scanGaveHashes && merged.unknownNearHashes.size() == merged.unknown.size();
    const std::vector<uint32_t> computed = fromScan ? std::vector<uint32_t>() : nearHashesOf(merged.unknown, extension);
    const std::vector<uint32_t>& unknownHashes = fromScan ? merged.unknownNearHashes : computed;
    // (hash, missing place) sorted, and the unknown files whose hash is among them.
    std::vector<std::pair<uint32_t, size_t>> missing(missingHashes.size());
    for (size_t i = 0; i < missing.size(); ++i)
        missing[i] = {missingHashes[i], i};
    std::sort(missing.begin(), missing.end());
    const HashFilter filter(missingHashes);
    std::vector<std::pair<uint32_t, size_t>> unknown;
    for (size_t i = 0; i < merged.unknown.size(); ++i) {
        const uint32_t hash = unknownHashes[i];
        if (listedAlready[i] || !filter.mayHold(hash))
            continue;
        const auto at = std::lower_bound(missing.begin(), missing.end(), std::pair<uint32_t, size_t>{hash, 0});
        if (at != missing.end() && at->first == hash)
            unknown.emplace_back(hash, i);
    }
    std::sort(unknown.begin(), unknown.end());

    std::vector<Group> groups;
    for (size_t u = 0; u < unknown.size();) {
        const uint32_t hash = unknown[u].first;
        std::map<std::string, Group> byKey;
        for (auto m = std::lower_bound(missing.begin(), missing.end(), std::pair<uint32_t, size_t>{hash, 0});
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

uint32_t nearHashForScan(std::string_view name, std::string_view extension)
{
    return shortNearHash(name, extension);
}

NearMisses findNearMisses(const MergedNames& merged, const RomsList* list, std::string_view extension,
                          bool scanGaveHashes)
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
    for (Group& group : groupsByNearKey(merged, listedAlready, scanGaveHashes, extension)) {
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
