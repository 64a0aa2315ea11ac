#include "dat_index.h"

#include <algorithm>
#include <bit>
#include <tuple>

namespace tokenade {

// By CRC first, whose top bits then say where a key's holders lie, since
// CRCs spread evenly where sizes bunch up.
bool DatIndex::holderBefore(const ContentHolder& a, const ContentHolder& b)
{
    return std::tie(a.key.crc, a.key.size, a.game) < std::tie(b.key.crc, b.key.size, b.game);
}

void DatIndex::finish()
{
    holders_.clear();
    unmatchableGames = 0;
    for (uint32_t g = 0; g < games.size(); ++g) {
        DatGame& game = games[g];
        const size_t first = holders_.size();
        for (const DatRom& rom : romsOf(game)) {
            if (rom.matchable)
                holders_.push_back({rom.key, g});
        }
        // A game that lists the same file twice needs it once.
        std::sort(holders_.begin() + static_cast<ptrdiff_t>(first), holders_.end());
        holders_.erase(std::unique(holders_.begin() + static_cast<ptrdiff_t>(first), holders_.end()), holders_.end());
        game.contentCount = static_cast<uint32_t>(holders_.size() - first);
        unmatchableGames += game.contentCount == 0;
    }
    std::sort(holders_.begin(), holders_.end(), holderBefore);
    holders_.shrink_to_fit();
    indexHolders();
    indexNames();
}

void DatIndex::indexNames()
{
    byName_.resize(games.size());
    for (uint32_t g = 0; g < games.size(); ++g)
        byName_[g] = g;
    std::stable_sort(byName_.begin(), byName_.end(),
                     [this](uint32_t a, uint32_t b) { return games[a].name < games[b].name; });
}

uint32_t DatIndex::gameByName(std::string_view name) const
{
    const auto found = std::lower_bound(byName_.begin(), byName_.end(), name,
                                        [this](uint32_t g, std::string_view wanted) { return games[g].name < wanted; });
    return found != byName_.end() && games[*found].name == name ? *found : kNoGame;
}

uint32_t DatIndex::gameByName(std::string_view name, uint16_t dat) const
{
    auto at = std::lower_bound(byName_.begin(), byName_.end(), name,
                               [this](uint32_t g, std::string_view wanted) { return games[g].name < wanted; });
    for (; at != byName_.end() && games[*at].name == name; ++at) {
        if (games[*at].dat == dat)
            return *at;
    }
    return kNoGame;
}

std::vector<uint16_t> DatIndex::datsOf(uint32_t game) const
{
    std::vector<uint16_t> dats{games[game].dat};
    auto at = std::lower_bound(alsoIn.begin(), alsoIn.end(), std::pair<uint32_t, uint16_t>{game, 0});
    for (; at != alsoIn.end() && at->first == game; ++at)
        dats.push_back(at->second);
    return dats;
}

void DatIndex::indexHolders()
{
    // About two holders a bucket.
    bucketBits_ = std::min(24u, static_cast<unsigned>(std::bit_width(holders_.size() / 2)));
    buckets_.assign((size_t{1} << bucketBits_) + 1, 0);
    size_t at = 0;
    for (size_t bucket = 0; bucket + 1 < buckets_.size(); ++bucket) {
        buckets_[bucket] = static_cast<uint32_t>(at);
        while (at < holders_.size() && (uint64_t{holders_[at].key.crc} >> (32 - bucketBits_)) == bucket)
            ++at;
    }
    buckets_.back() = static_cast<uint32_t>(holders_.size());
}

std::pair<const ContentHolder*, const ContentHolder*> DatIndex::bucketOf(uint32_t crc) const
{
    const size_t bucket = static_cast<size_t>(uint64_t{crc} >> (32 - bucketBits_));
    return {holders_.data() + buckets_[bucket], holders_.data() + buckets_[bucket + 1]};
}

std::span<const ContentHolder> DatIndex::holdersOf(ContentKey key) const
{
    if (holders_.empty())
        return {};
    const auto [begin, end] = bucketOf(key.crc);
    const ContentHolder* first = std::lower_bound(begin, end, ContentHolder{key, 0}, holderBefore);
    const ContentHolder* last = first;
    while (last != end && last->key == key)
        ++last;
    return {first, last};
}

bool DatIndex::gameHas(uint32_t game, ContentKey key) const
{
    if (holders_.empty())
        return false;
    const auto [begin, end] = bucketOf(key.crc);
    return std::binary_search(begin, end, ContentHolder{key, game}, holderBefore);
}

}  // namespace tokenade
