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

// A file of a DAT game. The views point into the index's storage.
struct DatRom {
    std::string_view name;
    std::string_view sha1;  // as the DAT wrote it; "" when it gave none
    ContentKey key;
    bool matchable = false;  // has a size and a CRC and is not "nodump"
};

// A game (a machine, a piece of software) of a DAT.
struct DatGame {
    std::string_view name;
    std::string_view description;  // "" when it gave none
    std::string_view cloneOf;
    std::string_view romOf;
    uint32_t firstRom = 0;  // into DatIndex::roms
    uint32_t romCount = 0;
    // How many different files (by size and CRC) the game must have to be
    // held by an archive; 0: it cannot be matched by content at all.
    uint32_t contentCount = 0;
};

// One of the games a file belongs to.
struct ContentHolder {
    ContentKey key;
    uint32_t game = 0;

    auto operator<=>(const ContentHolder&) const = default;
};

enum class DatFormat { LogiqxXml, SoftwareList, ClrMamePro };

// A DAT as matching needs it: its games and their files, and for each file
// the games it belongs to. Built by the DAT reader; move-only, and nothing
// in it changes once finish() has run.
class DatIndex {
public:
    DatFormat format = DatFormat::LogiqxXml;
    std::string_view name;  // the header's (or the software list's) name; "" for none
    std::vector<DatGame> games;
    std::vector<DatRom> roms;
    size_t unmatchableRoms = 0;   // roms without a size or a CRC, or marked "nodump"
    size_t unmatchableGames = 0;  // games without a single matchable rom
    NameArena storage;            // the bytes every view points into

    // Builds the lookup by content; call once, after the last game is in.
    void finish();

    // The games that have a file of this size and CRC, each once, by game index.
    std::span<const ContentHolder> holdersOf(ContentKey key) const;
    // Whether `game` has a file of this size and CRC.
    bool gameHas(uint32_t game, ContentKey key) const;
    std::span<const DatRom> romsOf(const DatGame& game) const { return {roms.data() + game.firstRom, game.romCount}; }

private:
    friend class DatIndexCodec;  // the cache of the index (dat_index_cache.cpp)

    static bool holderBefore(const ContentHolder& a, const ContentHolder& b);
    // Where the holders of each key lie, so that a lookup reads a few
    // neighbours instead of searching the whole table.
    void indexHolders();
    std::pair<const ContentHolder*, const ContentHolder*> bucketOf(uint32_t crc) const;

    std::vector<ContentHolder> holders_;  // by CRC, then size, then game (holderBefore)
    std::vector<uint32_t> buckets_;       // per top bits of a CRC: where its holders begin; one more at the end
    unsigned bucketBits_ = 0;
};

}  // namespace tokenade
