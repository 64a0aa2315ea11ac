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

// Runs work(part, begin, end) over [0, count) cut into `parts` stretches, each
// on a thread of its own but the last, which runs on the caller's.
template <typename Work>
void inParts(size_t count, unsigned parts, Work&& work)
{
    parts = std::max(1u, parts);
    std::vector<std::thread> helpers;
    for (unsigned part = 0; part + 1 < parts; ++part)
        helpers.emplace_back(work, part, count * part / parts, count * (part + 1) / parts);
    work(parts - 1, count * (parts - 1) / parts, count);
    for (std::thread& helper : helpers)
        helper.join();
}

// A near-key hash cut to 32 bits: names that only share these are told
// apart by their near keys.
uint32_t shortNearHash(std::string_view name, std::string_view extension)
{
    return static_cast<uint32_t>(nearKeyHash(name, extension) >> 32);
}

std::vector<uint32_t> nearHashesOf(const ResultList& names, std::string_view extension, unsigned threads)
{
    std::vector<uint32_t> hashes(names.size());
    inParts(names.size(), threads, [&](unsigned, size_t begin, size_t end) {
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

using HashAndPlace = std::pair<uint32_t, size_t>;

// The unknown files not listed already whose near hash is among the sorted
// `missing` ones, as (hash, place in `unknown`), sorted. The files are hashed
// here, after the merge: only they can pair, and most found names are valid
// in a collection kept in order.
std::vector<HashAndPlace> unknownLikeMissing(const ResultList& unknown, const std::vector<bool>& listedAlready,
                                             const std::vector<HashAndPlace>& missing, const HashFilter& filter,
                                             std::string_view extension, unsigned threads)
{
    std::vector<std::vector<HashAndPlace>> parts(std::max(1u, threads));
    inParts(unknown.size(), threads, [&](unsigned part, size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            if (listedAlready[i])
                continue;
            const uint32_t hash = shortNearHash(unknown[i].name(), extension);
            if (!filter.mayHold(hash))
                continue;
            const auto at = std::lower_bound(missing.begin(), missing.end(), HashAndPlace{hash, 0});
            if (at != missing.end() && at->first == hash)
                parts[part].emplace_back(hash, i);
        }
    });
    std::vector<HashAndPlace> found;
    for (const auto& part : parts)
        found.insert(found.end(), part.begin(), part.end());
    std::sort(found.begin(), found.end());
    return found;
}

// The missing and unknown entries that share a near key, exactly: names
// whose hashes only collide are told apart here.
std::vector<Group> groupsByNearKey(const MergedNames& merged, const std::vector<bool>& listedAlready,
                                   std::string_view extension, unsigned threads)
{
    if (merged.missing.empty())
        return {};
    const std::vector<uint32_t> missingHashes = nearHashesOf(merged.missing, extension, threads);
    // (hash, missing place) sorted, and the unknown files whose hash is among them.
    std::vector<HashAndPlace> missing(missingHashes.size());
    for (size_t i = 0; i < missing.size(); ++i)
        missing[i] = {missingHashes[i], i};
    std::sort(missing.begin(), missing.end());
    const HashFilter filter(missingHashes);
    const std::vector<HashAndPlace> unknown =
        unknownLikeMissing(merged.unknown, listedAlready, missing, filter, extension, threads);

    std::vector<Group> groups;
    for (size_t u = 0; u < unknown.size();) {
        const uint32_t hash = unknown[u].first;
        std::map<std::string, Group> byKey;
        for (auto m = std::lower_bound(missing.begin(), missing.end(), HashAndPlace{hash, 0});
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

NearMisses findNearMisses(const MergedNames& merged, const RomsList* list, std::string_view extension,
                          unsigned threads)
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
    for (Group& group : groupsByNearKey(merged, listedAlready, extension, threads)) {
        if (group.missing.size() == 1 && group.unknown.size() == 1) {
            found.pairs.push_back({group.missing[0], group.unknown[0], 0});
            continue;
        }
        std::vector<const ResultEntry*> names = std::move(group.missing);
        names.insert(names.end(), group.unknown.begin(), group.unknown.end());
        found.ambiguous.push_back(std::move(names));
    }
    inParts(found.pairs.size(), threads, [&](unsigned, size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            NearMisses::Pair& pair = found.pairs[i];
            pair.differences = differencesBetween(pair.expected->name(), pair.found->name(), extension).bits;
        }
    });
    return found;
}

}  // namespace tokenade
