#include "core/content/dat_zip.h"
#include "core/content/many_dats.h"
#include "core/content/repeated_games.h"
#include "core/content/sets/set_rules.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>

namespace tokenade::testing {
namespace {

void putLe(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

struct Member {
    std::string name;
    std::string bytes;
    bool deflate = true;
};

// A zip of the members, deflated or stored, with the sizes and CRC each really has.
std::string zipOf(const std::vector<Member>& members)
{
    std::string zip, directory;
    for (const Member& member : members) {
        std::string data = member.bytes;
        if (member.deflate) {
            z_stream stream{};
            deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            data.resize(deflateBound(&stream, member.bytes.size()));
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(member.bytes.data()));
            stream.avail_in = static_cast<uInt>(member.bytes.size());
            stream.next_out = reinterpret_cast<Bytef*>(data.data());
            stream.avail_out = static_cast<uInt>(data.size());
            deflate(&stream, Z_FINISH);
            data.resize(stream.total_out);
            deflateEnd(&stream);
        }
        const uint32_t crc = static_cast<uint32_t>(::crc32(0, reinterpret_cast<const Bytef*>(member.bytes.data()),
                                                           static_cast<uInt>(member.bytes.size())));
        std::string common;
        putLe(common, 20, 2), putLe(common, 0, 2), putLe(common, member.deflate ? 8 : 0, 2), putLe(common, 0, 4);
        putLe(common, crc, 4), putLe(common, data.size(), 4), putLe(common, member.bytes.size(), 4);
        putLe(common, member.name.size(), 2), putLe(common, 0, 2);
        directory += "PK\1\2" + std::string("\x14\x00", 2) + common + std::string(10, '\0');
        putLe(directory, zip.size(), 4);
        directory += member.name;
        zip += "PK\3\4" + common + member.name + data;
    }
    std::string end = "PK\5\6" + std::string(4, '\0');
    putLe(end, members.size(), 2), putLe(end, members.size(), 2), putLe(end, directory.size(), 4);
    putLe(end, zip.size(), 4), putLe(end, 0, 2);
    return zip + directory + end;
}

std::string logiqx(const std::string& name, const std::string& games)
{
    return "<?xml version=\"1.0\"?>\n<datafile>\n<header><name>" + name + "</name></header>\n" + games + "</datafile>\n";
}

std::string game(const std::string& name, const std::string& crc, const std::string& more = "")
{
    return "<game name=\"" + name + "\"" + more + "><rom name=\"" + name + ".bin\" size=\"16\" crc=\"" + crc +
           "\"/></game>\n";
}

class ManyDatsTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CACHE_HOME", cache.root().c_str(), 1); }

    ManyDatsRead read(std::vector<std::string> paths, bool useCache = true)
    {
        for (std::string& path : paths)
            path = tree.path(path);
        return readManyDats(paths, {useCache, ""});
    }

    TempTree tree;
    TempTree cache;
};

// Each DAT inside a zip counts as one, stored or deflated, from the index
// its cache kept too; a zip whose data does not hold together is refused.
TEST_F(ManyDatsTest, ReadsTheDatsInsideAZip)
{
    const std::string arcade = logiqx("Arcade", game("alpha", "00000001") + game("beta", "00000002"));
    const std::string gg = logiqx("Game Gear", game("gamma", "00000003"));
    tree.addFile("dats.zip", zipOf({{"arcade.dat", arcade}, {"readme.txt", "not a DAT"}, {"gg/gg.xml", gg, false}}));
    for (const bool useCache : {true, true, false}) {
        const ManyDatsRead both = read({"dats.zip"}, useCache);
        ASSERT_TRUE(both.dat && both.problems.empty()) << both.problems[0].message();
        ASSERT_EQ(both.dat->origins.size(), 2u);
        EXPECT_EQ(both.dat->datName(1), "Game Gear");
        EXPECT_EQ(both.dat->origins[0].path, tree.path("dats.zip/arcade.dat"));
        EXPECT_EQ(both.dat->games.size(), 3u);
        EXPECT_EQ(both.dat->games[2].dat, 1);
    }

    std::string badCrc = zipOf({{"a.dat", arcade, false}});
    badCrc[badCrc.find("alpha")] = 'A';
    std::string garbled = zipOf({{"a.dat", arcade}});
    garbled[36] = static_cast<char>(garbled[36] ^ 0x5A);  // inside the deflated data, past the 35 bytes of header
    std::string zip64 = zipOf({{"a.dat", arcade}});
    zip64.replace(zip64.find("PK\1\2") + 42, 4, "\xFF\xFF\xFF\xFF");  // its local header's place left to zip64
    const struct {
        const char* fault;
        std::string zip;
        std::string reason;
    } bad[] = {
        {"a stored DAT changed since it was zipped", badCrc, "damaged: its CRC is not the one the zip's directory gives"},
        {"deflated data garbled", garbled, "cannot be unpacked (invalid code lengths set)"},
        {"a directory past the end", zipOf({{"a.dat", arcade}}).erase(40, 30),
         "a damaged zip directory: it lies past the end of the file (at byte 162)"},
        {"no DAT inside", zipOf({{"readme.txt", "text"}}), "holds no DAT (no file ending in .dat or .xml)"},
        {"a DAT's place in zip64 form", zip64, "in zip64 form, which is not read for DATs"},
        {"a zip without its directory", zipOf({{"a.dat", arcade}}).substr(0, 60), "cut short: no end of the zip's directory"},
    };
    for (const auto& one : bad) {
        SCOPED_TRACE(one.fault);
        tree.addFile("bad.zip", one.zip);
        const ManyDatsRead got = read({"bad.zip"}, false);
        EXPECT_FALSE(got.dat);
        ASSERT_EQ(got.problems.size(), 1u);
        EXPECT_EQ(got.problems[0].reason, one.reason);
    }
}

// Several DATs as one: a game both list the same is one game of both; a
// parent is looked for in its clone's own DAT; a DAT that cannot be read is
// named with its place and the others serve; a folder's DATs come in order.
TEST_F(ManyDatsTest, ReadsSeveralDatsAsOne)
{
    tree.addFile("dats/b/consoles.xml", logiqx("", game("shared", "0000000a") + game("parent", "0000000b") +
                                                     game("sonic", "0000000c", " cloneof=\"parent\"")));
    tree.addFile("dats/a.dat", logiqx("Arcade", game("parent", "00000001") + game("shared", "0000000a") +
                                                   game("pengo", "00000003", " cloneof=\"parent\"")));
    tree.addFile("dats/broken.dat", "<datafile>\n<game name=\"x\"><rom size=\"ten\"/></game>");
    tree.addFile("dats/notes.txt", "not a DAT");
    tree.addFile("more.dat", logiqx("More", game("zeta", "00000009")));
    const ManyDatsRead all = read({"dats", "more.dat", "dats/a.dat"});
    ASSERT_TRUE(all.dat);
    const DatIndex& dat = *all.dat;
    ASSERT_EQ(all.problems.size(), 1u);
    EXPECT_EQ(all.problems[0].path, tree.path("dats/broken.dat"));
    EXPECT_EQ(all.problems[0].line, 2u);
    ASSERT_EQ(dat.origins.size(), 3u);
    EXPECT_EQ(dat.datName(0), "Arcade");
    EXPECT_EQ(dat.datName(1), "consoles");  // no name in its header: its file's
    EXPECT_EQ(dat.datName(2), "More");
    EXPECT_EQ(dat.games.size(), 6u);
    const uint32_t shared = dat.gameByName("shared");
    EXPECT_EQ(dat.datsOf(shared), (std::vector<uint16_t>{0, 1}));
    EXPECT_TRUE(repeatedGameNames(dat).empty()) << "two DATs' \"parent\" are no repeat";
    const SetRules rules(dat);
    EXPECT_EQ(rules.parentOf(dat.gameByName("sonic")), dat.gameByName("parent", 1));
    EXPECT_EQ(rules.parentOf(dat.gameByName("pengo")), dat.gameByName("parent", 0));
    EXPECT_NE(dat.gameByName("parent", 0), dat.gameByName("parent", 1));

    const ManyDatsRead none = read({"dats/broken.dat", "missing"});
    EXPECT_FALSE(none.dat);
    EXPECT_EQ(none.problems.size(), 2u);
}

}  // namespace
}  // namespace tokenade::testing
