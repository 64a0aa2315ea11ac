#include "core/content/dat_index_cache.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

namespace tokenade::testing {
namespace {

const std::string kDat = R"(<?xml version="1.0"?>
<datafile><header><name>coleco</name></header>
	<game name="qbert"><description>Q*bert</description>
		<rom name="qbert.bin" size="8192" crc="532f61ba" sha1="6243fc5593f40d7285ea6b69c541307d3fc583ac"/>
		<rom name="shared.bin" size="16" crc="00000007"/>
	</game>
	<machine name="qberta" cloneof="qbert" romof="qbert">
		<rom name="qberta.bin" size="8192" crc="13F06ADC" status="baddump" optional="yes"/>
		<rom name="shared.bin" merge="shared.bin" bios="v2" size="16" crc="00000007"/>
		<rom name="missing.bin" merge="other.bin" size="8192" crc="00000000" status="nodump"/>
		<disk name="qberta" sha1="0123456789abcdef0123456789abcdef01234567" merge="qbert" optional="yes"/>
		<disk name="second" status="nodump"/>
		<device_ref name="z80"/><device_ref name="namco51"/>
	</machine>
	<machine name="z80" isbios="yes" isdevice="yes" runnable="no"/>
</datafile>
)";

const FileIdentity kMadeFrom{2049, 77, static_cast<int64_t>(kDat.size()), 1700000000, 5, 1700000001, 9};

class DatIndexCacheTest : public ::testing::Test {
protected:
    const DatIndex dat = std::move(*parseDat(kDat, "coleco.dat").dat);
    const std::string bytes = serializeDatIndex(dat, kMadeFrom);
};

// Everything matching, a fixdat and the output read comes back as it was.
TEST_F(DatIndexCacheTest, GivesBackTheIndexOfTheSameFile)
{
    const std::optional<DatIndex> back = parseDatIndex(bytes, kMadeFrom);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->format, dat.format);
    EXPECT_EQ(back->name, "coleco");
    EXPECT_EQ(back->unmatchableRoms, 1u);
    EXPECT_EQ(back->unmatchableGames, 1u);
    const auto game = [](const DatGame& g) {
        return std::tie(g.name, g.description, g.cloneOf, g.romOf, g.contentCount, g.isBios, g.isDevice, g.runnable,
                        g.firstRom, g.romCount, g.firstDisk, g.diskCount, g.firstDeviceRef, g.deviceRefCount);
    };
    const auto rom = [](const DatRom& r) {
        return std::tie(r.name, r.sha1, r.merge, r.bios, r.key, r.status, r.optional, r.matchable);
    };
    const auto disk = [](const DatDisk& d) { return std::tie(d.name, d.sha1, d.merge, d.status, d.optional); };
    EXPECT_TRUE(std::ranges::equal(back->games, dat.games, {}, game, game));
    EXPECT_TRUE(std::ranges::equal(back->roms, dat.roms, {}, rom, rom));
    EXPECT_TRUE(std::ranges::equal(back->disks, dat.disks, {}, disk, disk));
    EXPECT_TRUE(std::ranges::equal(back->deviceRefs, dat.deviceRefs));
    for (const DatRom& r : back->roms)
        EXPECT_EQ(back->holdersOf(r.key).size(), dat.holdersOf(r.key).size());
    EXPECT_EQ(back->holdersOf({16, 7}).size(), 2u);  // the file both games share
    EXPECT_TRUE(back->gameHas(1, {8192, 0x13F06ADC}));
    EXPECT_FALSE(back->gameHas(0, {8192, 0x13F06ADC}));
}

struct BadIndex {
    const char* fault;
    std::function<void(std::string&)> damage;
};

TEST_F(DatIndexCacheTest, IgnoresAnIndexThatIsDamagedOrOfAnotherFile)
{
    const std::vector<BadIndex> cases = {
        {"another version", [](std::string& b) { b[8] = 9; }},
        {"bytes after the end, sealed again",
         [](std::string& b) { sealCache(b += "more", kDatIndexMagic, kDatIndexVersion, 2); }},
        {"a cache of contents", [](std::string& b) { b.replace(0, 8, "TKACACHE"); }},
        // The last holder, Q*bert's rom in game 0, given the key of the one before it, held by game 1.
        {"holders out of order, sealed again", [](std::string& b) {
             const std::string last("\xDE\xED\xFB\xF9\x03\x80\x40\0", 8);  // its CRC's step, size and game
             EXPECT_TRUE(b.ends_with(last));
             sealCache(b.replace(b.size() - last.size(), last.size(), std::string("\0\x80\x40\0", 4)), kDatIndexMagic,
                       kDatIndexVersion, 3);
         }},
    };
    for (const BadIndex& bad : cases) {
        SCOPED_TRACE(bad.fault);
        std::string damaged = bytes;
        bad.damage(damaged);
        EXPECT_FALSE(parseDatIndex(damaged, kMadeFrom));
    }
    // A rom, disk or device that no game's count reaches.
    for (const auto& grow : std::vector<std::function<void(DatIndex&)>>{
             [](DatIndex& d) { d.roms.push_back(d.roms.back()); }, [](DatIndex& d) { d.disks.push_back(d.disks.back()); },
             [](DatIndex& d) { d.deviceRefs.push_back(d.deviceRefs.back()); }}) {
        DatIndex skewed = std::move(*parseDat(kDat, "coleco.dat").dat);
        grow(skewed);
        EXPECT_FALSE(parseDatIndex(serializeDatIndex(skewed, kMadeFrom), kMadeFrom));
    }
    // The DAT changed since, in any part of its identity.
    for (FileIdentity other : {FileIdentity{2049, 77, kMadeFrom.size, 1700000000, 6, 1700000001, 9},
                               FileIdentity{2049, 78, kMadeFrom.size, 1700000000, 5, 1700000001, 9},
                               FileIdentity{2049, 77, kMadeFrom.size + 1, 1700000000, 5, 1700000001, 9},
                               FileIdentity{2049, 77, kMadeFrom.size, 1700000000, 5, 1700000001, 8}})
        EXPECT_FALSE(parseDatIndex(bytes, other));
}

// The cache is made on the first read and used on the next; an edited DAT
// is parsed again, and a DAT that cannot be used is never cached.
TEST_F(DatIndexCacheTest, ReadsThroughTheCacheUntilTheDatChanges)
{
    TempTree tree;
    tree.addFile("coleco.dat", kDat);
    const CacheChoice cache{true, tree.path("dat.cache")};
    const std::string datPath = tree.path("coleco.dat");
    ASSERT_TRUE(readDatThroughCache(datPath, cache).dat);
    const std::string written = tree.state();
    EXPECT_NE(written.find("dat.cache"), std::string::npos);
    EXPECT_EQ(readDatThroughCache(datPath, cache).dat->games[0].description, "Q*bert");
    EXPECT_EQ(tree.state(), written);

    // A damaged cache is read past and made anew.
    const std::string whole = tree.read("dat.cache");
    tree.addFile("dat.cache", whole.substr(0, whole.size() / 2));
    EXPECT_EQ(readDatThroughCache(datPath, cache).dat->games[0].description, "Q*bert");
    EXPECT_EQ(tree.read("dat.cache"), whole);

    std::string edited = kDat;
    edited.replace(edited.find("Q*bert<"), 6, "Q-bert again");
    tree.addFile("coleco.dat", edited);
    EXPECT_EQ(readDatThroughCache(datPath, cache).dat->games[0].description, "Q-bert again");
    tree.addFile("dat.cache", "damaged");  // without the cache it is neither read nor made anew
    EXPECT_EQ(readDatThroughCache(datPath, CacheChoice{false, cache.path}).dat->games[0].description, "Q-bert again");
    EXPECT_EQ(tree.read("dat.cache"), "damaged");

    edited.replace(edited.find("532f61ba"), 8, "532f61bb");
    tree.rewriteKeepingTime("coleco.dat", edited);  // an edited CRC, the mtime put back: the ctime tells
    EXPECT_EQ(readDatThroughCache(datPath, cache).dat->roms[0].key.crc, 0x532f61bbu);

    tree.addFile("coleco.dat", "<datafile></datafile>");
    EXPECT_EQ(readDatThroughCache(datPath, cache).problem.reason, "no games at all");
}

// The seeds of the index's fuzz target are the indexes of the reader's
// seeds in this version's layout, without the frame the target seals
// itself: a seed of an older layout is refused at its first bytes, and the
// fuzzer never reaches the records. TOKENADE_WRITE_FUZZ_SEEDS=1 makes them anew.
TEST(DatIndexFuzzSeedsTest, AreIndexesOfThisLayout)
{
    const std::string seeds = TOKENADE_TEST_DATA "/fuzz/";
    const auto contents = [](const std::string& path) {
        return (std::ostringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
    };
    for (const std::string name : {"logiqx", "software_list", "mame_catalogue"}) {
        const DatRead read = parseDat(contents(seeds + "fuzz_dat_reader/" + name), name);
        ASSERT_TRUE(read.dat) << read.problem.message();
        const std::string body = serializeDatIndex(*read.dat, kMadeFrom).substr(startCache(0).size());
        const std::string seed = seeds + "fuzz_dat_index_cache/" + name + "_index";
        if (std::getenv("TOKENADE_WRITE_FUZZ_SEEDS"))
            std::ofstream(seed, std::ios::binary | std::ios::trunc) << body;
        EXPECT_TRUE(contents(seed) == body) << seed << " is of another layout";
    }
}

}  // namespace
}  // namespace tokenade::testing
