#include "dat_index.h"

#include <algorithm>

namespace tokenade {

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
    std::sort(holders_.begin(), holders_.end());
    holders_.shrink_to_fit();
}

std::span<const ContentHolder> DatIndex::holdersOf(ContentKey key) const
{
    const auto first = std::lower_bound(holders_.begin(), holders_.end(), ContentHolder{key, 0});
    auto last = first;
    while (last != holders_.end() && last->key == key)
        ++last;
    return {first, last};
}

bool DatIndex::gameHas(uint32_t game, ContentKey key) const
{
    return std::binary_search(holders_.begin(), holders_.end(), ContentHolder{key, game});
}

}  // namespace tokenade
