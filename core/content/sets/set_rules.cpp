#include "set_rules.h"

#include <algorithm>

namespace tokenade {
namespace {

constexpr uint32_t kNoRom = UINT32_MAX;

// Whether a rom of a clone and one of its parent are the same file. Files
// that were never dumped have no CRC: the name the clone's `merge` gives is
// all there is to go by.
bool sameFile(const DatRom& rom, const DatRom& there, bool byMergeName)
{
    if (rom.matchable && there.matchable)
        return rom.key == there.key;
    return byMergeName && !rom.matchable && !there.matchable;
}

}  // namespace

SetRules::SetRules(const DatIndex& dat) : dat_(dat)
{
    byMergeName_ = std::any_of(dat.roms.begin(), dat.roms.end(), [](const DatRom& rom) { return !rom.merge.empty(); });
    linkFamilies();
    placeRoms();
}

void SetRules::linkFamilies()
{
    const size_t count = dat_.games.size();
    parent_.assign(count, kNoGame);
    romOf_.assign(count, kNoGame);
    std::vector<uint32_t> cloneCount(count, 0);
    for (uint32_t g = 0; g < count; ++g) {
        const DatGame& game = dat_.games[g];
        const uint32_t parent = game.cloneOf.empty() ? kNoGame : machineNamed(game.cloneOf, g);
        // A machine named as its own parent has none.
        if (parent != g)
            parent_[g] = parent;
        const uint32_t romOf = game.romOf.empty() ? parent_[g] : machineNamed(game.romOf, g);
        if (romOf != g)
            romOf_[g] = romOf;
        if (parent_[g] != kNoGame)
            ++cloneCount[parent_[g]];
    }
    cloneFrom_.assign(count + 1, 0);
    for (size_t g = 0; g < count; ++g)
        cloneFrom_[g + 1] = cloneFrom_[g] + cloneCount[g];
    clones_.assign(cloneFrom_.back(), 0);
    std::vector<uint32_t> filled(cloneFrom_.begin(), cloneFrom_.end() - 1);
    for (uint32_t g = 0; g < count; ++g) {
        if (parent_[g] != kNoGame)
            clones_[filled[parent_[g]]++] = g;
    }
}

std::span<const uint32_t> SetRules::clonesOf(uint32_t machine) const
{
    return {clones_.data() + cloneFrom_[machine], cloneFrom_[machine + 1] - cloneFrom_[machine]};
}

bool SetRules::isBiosRom(uint32_t rom) const
{
    return dat_.games[origin_[rom]].isBios;
}

void SetRules::placeRoms()
{
    machineOfRom_.assign(dat_.roms.size(), 0);
    machineOfDisk_.assign(dat_.disks.size(), 0);
    for (uint32_t g = 0; g < dat_.games.size(); ++g) {
        const DatGame& game = dat_.games[g];
        std::fill_n(machineOfRom_.begin() + game.firstRom, game.romCount, g);
        std::fill_n(machineOfDisk_.begin() + game.firstDisk, game.diskCount, g);
    }
    origin_.assign(dat_.roms.size(), 0);
    std::vector<uint8_t> state(dat_.roms.size(), 0);
    for (uint32_t r = 0; r < dat_.roms.size(); ++r) {
        resolveOrigin(r, state);
        if (!dat_.roms[r].merge.empty() && inheritedRom(r) == kNoRom)
            mergesNotFound_.push_back(r);
    }
}

// The rom of the machine `romof` names that this rom is, or kNoRom.
uint32_t SetRules::inheritedRom(uint32_t rom) const
{
    const DatRom& mine = dat_.roms[rom];
    const uint32_t up = romOf_[machineOfRom_[rom]];
    if (up == kNoGame || (byMergeName_ && mine.merge.empty()))
        return kNoRom;
    const DatGame& upper = dat_.games[up];
    for (uint32_t at = upper.firstRom; at < upper.firstRom + upper.romCount; ++at) {
        const DatRom& there = dat_.roms[at];
        if ((!byMergeName_ || there.name == mine.merge) && sameFile(mine, there, byMergeName_))
            return at;
    }
    return kNoRom;
}

// Follows a rom up its `romof` chain to the machine that holds it itself.
// `state` per rom: 0 not seen, 1 on the chain being followed, 2 placed; a
// chain that comes back to itself (romof in a circle) ends where it turned.
uint32_t SetRules::resolveOrigin(uint32_t rom, std::vector<uint8_t>& state)
{
    std::vector<uint32_t> chain;
    uint32_t at = rom;
    uint32_t origin = kNoGame;
    while (origin == kNoGame) {
        if (state[at] == 2) {
            origin = origin_[at];
        } else if (state[at] == 1) {
            origin = machineOfRom_[at];
        } else {
            state[at] = 1;
            chain.push_back(at);
            const uint32_t up = inheritedRom(at);
            if (up == kNoRom)
                origin = machineOfRom_[at];
            else
                at = up;
        }
    }
    for (const uint32_t placed : chain) {
        origin_[placed] = origin;
        state[placed] = 2;
    }
    return origin;
}

// A disk's origin, as a rom's, by the `merge` name and the SHA-1 when both
// disks give one. Disks are few: followed each time, a few steps at most.
uint32_t SetRules::diskOrigin(uint32_t disk) const
{
    uint32_t at = disk;
    for (int step = 0; step < 8; ++step) {
        const DatDisk& mine = dat_.disks[at];
        const uint32_t up = romOf_[machineOfDisk_[at]];
        if (mine.merge.empty() || up == kNoGame)
            break;
        const DatGame& upper = dat_.games[up];
        uint32_t found = UINT32_MAX;
        for (uint32_t d = upper.firstDisk; d < upper.firstDisk + upper.diskCount; ++d) {
            const DatDisk& there = dat_.disks[d];
            if (there.name == mine.merge && (mine.sha1.empty() || there.sha1.empty() || mine.sha1 == there.sha1))
                found = d;
        }
        if (found == UINT32_MAX)
            break;
        at = found;
    }
    return machineOfDisk_[at];
}

}  // namespace tokenade
