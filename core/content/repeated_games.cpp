#include "repeated_games.h"

#include "core/foundation/grouped_count.h"

#include <algorithm>
#include <functional>
#include <tuple>

namespace tokenade {
namespace {

// Every game's position, with those of one name next to each other (first
// listed first): the names are hashed, as comparing them whole would cost a
// large DAT seconds.
std::vector<std::pair<size_t, uint32_t>> gamesByName(const DatIndex& index)
{
    std::vector<std::pair<size_t, uint32_t>> order(index.games.size());
    for (uint32_t g = 0; g < index.games.size(); ++g)
        order[g] = {std::hash<std::string_view>{}(index.games[g].name), g};
    std::sort(order.begin(), order.end());
    return order;
}

// Runs `visit(earlier, later)` for every game that has an earlier game's name,
// over the earlier ones of that name in turn until `visit` says it is done.
template <typename Visit>
void forEachRepeat(const DatIndex& index, Visit visit)
{
    const auto order = gamesByName(index);
    for (size_t run = 0; run < order.size();) {
        size_t end = run + 1;
        while (end < order.size() && order[end].first == order[run].first)
            ++end;
        for (size_t later = run + 1; later < end; ++later) {
            for (size_t earlier = run; earlier < later; ++earlier) {
                if (index.games[order[earlier].second].name == index.games[order[later].second].name &&
                    visit(order[earlier].second, order[later].second))
                    break;
            }
        }
        run = end;
    }
}

using RomFacts = std::tuple<std::string_view, uint64_t, uint32_t, std::string_view, bool>;

std::vector<RomFacts> sortedRoms(const DatIndex& index, const DatGame& game)
{
    std::vector<RomFacts> roms;
    for (const DatRom& rom : index.romsOf(game))
        roms.emplace_back(rom.name, rom.key.size, rom.key.crc, rom.sha1, rom.matchable);
    std::sort(roms.begin(), roms.end());
    return roms;
}

// The disks and devices of a repeat must agree too for it to be the same game.
bool sameDisksAndDevices(const DatIndex& index, const DatGame& a, const DatGame& b)
{
    const auto disk = [](const DatDisk& d) { return std::tie(d.name, d.sha1, d.merge, d.status, d.optional); };
    return std::ranges::equal(index.disksOf(a), index.disksOf(b), {}, disk, disk) &&
           std::ranges::equal(index.deviceRefsOf(a), index.deviceRefsOf(b));
}

// Moves the `count` records from `first` down to `to`, and returns where they now begin.
template <typename Records>
uint32_t moveDown(Records& records, uint32_t first, uint32_t count, size_t& to)
{
    std::move(records.begin() + first, records.begin() + first + count, records.begin() + static_cast<ptrdiff_t>(to));
    const auto moved = static_cast<uint32_t>(to);
    to += count;
    return moved;
}

// Drops the games marked, moving the roms, disks and devices of those kept
// down over theirs.
void dropGames(DatIndex& index, const std::vector<bool>& dropped)
{
    size_t games = 0, roms = 0, disks = 0, devices = 0;
    for (size_t g = 0; g < index.games.size(); ++g) {
        DatGame game = index.games[g];
        if (dropped[g]) {
            for (const DatRom& rom : index.romsOf(game))
                index.unmatchableRoms -= !rom.matchable;
            continue;
        }
        game.firstRom = moveDown(index.roms, game.firstRom, game.romCount, roms);
        game.firstDisk = moveDown(index.disks, game.firstDisk, game.diskCount, disks);
        game.firstDeviceRef = moveDown(index.deviceRefs, game.firstDeviceRef, game.deviceRefCount, devices);
        index.games[games++] = game;
    }
    index.games.resize(games);
    index.roms.resize(roms);
    index.disks.resize(disks);
    index.deviceRefs.resize(devices);
}

}  // namespace

void mergeRepeatedGames(DatIndex& index)
{
    std::vector<bool> dropped;
    std::vector<std::pair<uint32_t, uint16_t>> alsoIn;  // by the games' places before the drop
    forEachRepeat(index, [&](uint32_t earlier, uint32_t later) {
        const DatGame& a = index.games[earlier];
        const DatGame& b = index.games[later];
        if ((!dropped.empty() && dropped[earlier]) || a.romCount != b.romCount ||
            sortedRoms(index, a) != sortedRoms(index, b) || !sameDisksAndDevices(index, a, b))
            return false;
        dropped.resize(index.games.size());
        dropped[later] = true;
        if (b.dat != a.dat)
            alsoIn.emplace_back(earlier, b.dat);
        return true;
    });
    if (dropped.empty())
        return;
    std::vector<uint32_t> placeOf(index.games.size());
    for (uint32_t g = 0, kept = 0; g < index.games.size(); ++g)
        placeOf[g] = dropped[g] ? kNoGame : kept++;
    for (auto& [game, dat] : alsoIn)
        game = placeOf[game];
    std::sort(alsoIn.begin(), alsoIn.end());
    alsoIn.erase(std::unique(alsoIn.begin(), alsoIn.end()), alsoIn.end());
    index.alsoIn = std::move(alsoIn);
    dropGames(index, dropped);
}

std::vector<std::string_view> repeatedGameNames(const DatIndex& index)
{
    std::vector<uint32_t> firsts;
    // Of several DATs, a name that two of them give to different games is no
    // repeat: an arcade machine and a console game may share a short name.
    forEachRepeat(index, [&](uint32_t first, uint32_t later) {
        if (index.games[first].dat != index.games[later].dat)
            return false;
        firsts.push_back(first);
        return true;
    });
    std::sort(firsts.begin(), firsts.end());
    firsts.erase(std::unique(firsts.begin(), firsts.end()), firsts.end());
    std::vector<std::string_view> names;
    for (const uint32_t first : firsts)
        names.push_back(index.games[first].name);
    return names;
}

std::string repeatedGamesWarning(const DatIndex& index)
{
    const std::vector<std::string_view> names = repeatedGameNames(index);
    if (names.empty())
        return "";
    std::string text = groupedCount(names.size()) + (names.size() == 1 ? " game of the DAT is" : " games of the DAT are") +
                       " listed more than once with different roms, so their archives cannot be told apart:";
    for (size_t i = 0; i < std::min<size_t>(names.size(), 3); ++i)
        text += std::string(i == 0 ? " \"" : ", \"") + std::string(names[i]) + "\"";
    return text + (names.size() > 3 ? ", ..." : "");
}

}  // namespace tokenade
