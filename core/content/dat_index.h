#pragma once

#include "core/sources/name_arena.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tokenade {

// What a file is known by when archives are matched by content.
struct ContentKey {
    uint64_t size = 0;
    uint32_t crc = 0;

    auto operator<=>(const ContentKey&) const = default;
};

// How well a rom or a disk was dumped, as the DAT says. A bad dump is still
// looked for by its checksums; a file never dumped has none worth matching.
enum class RomStatus : uint8_t { Good, BadDump, NoDump };

// A file of a DAT game. The views point into the index's storage.
struct DatRom {
    std::string_view name;
    std::string_view sha1;   // as the DAT wrote it; "" when it gave none
    std::string_view merge;  // the name of the parent's (or BIOS's) rom it is; "" when it gave none
    std::string_view bios;   // the BIOS choice it belongs to; "" for every choice
    ContentKey key;
    RomStatus status = RomStatus::Good;
    bool optional = false;   // the machine runs without it
    bool matchable = false;  // has a size and a CRC and is not "nodump"
};

// A hard disk, CD or laserdisc image (a CHD) a machine needs beside its roms,
// known by the SHA-1 its header gives.
struct DatDisk {
    std::string_view name;   // the file's name without ".chd"
    std::string_view sha1;   // "" when the DAT gave none
    std::string_view merge;  // the parent's disk it is; "" when it gave none
    RomStatus status = RomStatus::Good;
    bool optional = false;
};

// A game (a machine, a piece of software) of a DAT.
struct DatGame {
    std::string_view name;
    std::string_view description;  // "" when it gave none
    std::string_view cloneOf;
    std::string_view romOf;
    uint32_t firstRom = 0;  // into DatIndex::roms
    uint32_t romCount = 0;
    uint32_t firstDisk = 0;  // into DatIndex::disks
    uint32_t diskCount = 0;
    uint32_t firstDeviceRef = 0;  // into DatIndex::deviceRefs
    uint32_t deviceRefCount = 0;
    // How many different files (by size and CRC) the game must have to be
    // held by an archive; 0: it cannot be matched by content at all.
    uint32_t contentCount = 0;
    bool isBios = false;    // a BIOS other machines run on
    bool isDevice = false;  // a device (a chip, a board) other machines hold
    bool runnable = true;   // false for a device or BIOS that cannot run alone
    uint16_t dat = 0;       // of several DATs read as one, the one it comes from (DatIndex::origins)
};

// One of the games a file belongs to.
struct ContentHolder {
    ContentKey key;
    uint32_t game = 0;

    auto operator<=>(const ContentHolder&) const = default;
};

// MameListXml is the emulator's own catalogue (`<mame>` > `<machine>`);
// Smdb a hash list of one file a line.
enum class DatFormat { LogiqxXml, SoftwareList, ClrMamePro, MameListXml, Smdb };

// One of several DATs read as one index: what it is called (its header's
// name, else its file's name), where it was read, and whether its machines
// are arcade sets judged by set (hasFamilies).
struct DatOrigin {
    std::string_view name;
    std::string_view path;  // a file, or "ZIP/MEMBER" for a DAT inside a zip
    bool families = false;
};

// No game of a DAT: what gameByName answers when no game has the name.
inline constexpr uint32_t kNoGame = UINT32_MAX;

// A DAT as matching needs it: its games and their files, and for each file
// the games it belongs to. Built by the DAT reader; move-only, and nothing
// in it changes once finish() has run.
class DatIndex {
public:
    DatFormat format = DatFormat::LogiqxXml;
    std::string_view name;  // the header's (or the software list's) name; "" for none
    std::vector<DatGame> games;
    std::vector<DatRom> roms;
    std::vector<DatDisk> disks;
    // The short names of the devices each machine holds, each once a machine,
    // in the DAT's order; a name need not be a game of the DAT.
    std::vector<std::string_view> deviceRefs;
    size_t unmatchableRoms = 0;   // roms without a size or a CRC, or marked "nodump"
    size_t unmatchableGames = 0;  // games without a single matchable rom
    NameArena storage;            // the bytes every view points into
    // The DATs it was read from, by DatGame::dat; empty for a DAT read alone.
    std::vector<DatOrigin> origins;
    // A game a later DAT lists the same (name, roms, disks and devices) is
    // kept once, in the first DAT's place: the later DATs that list it too,
    // as (game, DAT) by game.
    std::vector<std::pair<uint32_t, uint16_t>> alsoIn;

    // Builds the lookups by content and by name; call once, after the last
    // game is in.
    void finish();

    // The games that have a file of this size and CRC, each once, by game index.
    std::span<const ContentHolder> holdersOf(ContentKey key) const;
    // Whether `game` has a file of this size and CRC.
    bool gameHas(uint32_t game, ContentKey key) const;
    std::span<const DatRom> romsOf(const DatGame& game) const { return {roms.data() + game.firstRom, game.romCount}; }
    std::span<const DatDisk> disksOf(const DatGame& game) const { return {disks.data() + game.firstDisk, game.diskCount}; }
    std::span<const std::string_view> deviceRefsOf(const DatGame& game) const
    {
        return {deviceRefs.data() + game.firstDeviceRef, game.deviceRefCount};
    }
    // The game of that short name (exactly, case and all), by index; the
    // first when the DAT repeats a name; kNoGame when none has it.
    uint32_t gameByName(std::string_view name) const;
    // The same among the games of one DAT (DatGame::dat), so that a parent
    // is looked for in its clone's own DAT.
    uint32_t gameByName(std::string_view name, uint16_t dat) const;
    // The DATs that list the game: its own first, then those of alsoIn.
    std::vector<uint16_t> datsOf(uint32_t game) const;
    // What the DAT is called; the index's own name for a DAT read alone.
    std::string_view datName(uint16_t dat) const { return dat < origins.size() ? origins[dat].name : name; }
    // Whether the game's DAT is one of arcade sets; always, for a DAT read
    // alone (whether it is one at all is hasFamilies' to say).
    bool inFamilyDat(uint32_t game) const { return origins.empty() || origins[games[game].dat].families; }

private:
    friend class DatIndexCodec;  // the cache of the index (dat_index_cache.cpp)

    static bool holderBefore(const ContentHolder& a, const ContentHolder& b);
    // Where the holders of each key lie, so that a lookup reads a few
    // neighbours instead of searching the whole table.
    void indexHolders();
    void indexNames();
    std::pair<const ContentHolder*, const ContentHolder*> bucketOf(uint32_t crc) const;

    std::vector<ContentHolder> holders_;  // by CRC, then size, then game (holderBefore)
    std::vector<uint32_t> buckets_;       // per top bits of a CRC: where its holders begin; one more at the end
    unsigned bucketBits_ = 0;
    std::vector<uint32_t> byName_;  // game indexes by name, then index
};

}  // namespace tokenade
