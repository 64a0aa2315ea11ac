#include "core/content/dat_reader.h"
#include "core/content/cache_file.h"
#include "core/content/dat_source.h"
#include "core/content/fixdat.h"
#include "core/content/repeated_games.h"
#include "core/content/zip_directory.h"
#include "core/sources/roms_list.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <tuple>

namespace tokenade::testing {
namespace {

const std::string kLogiqx = R"(<?xml version="1.0"?>
<datafile>
	<header><name>coleco</name></header>
	<game name="qbert"><description>Q*bert</description>
		<rom name="qbert.bin" size="8192" crc="532f61ba" sha1="6243fc5593f40d7285ea6b69c541307d3fc583ac"/>
	</game>
	<machine name="qberta" cloneof="qbert" romof="qbert"><description>Q*bert (alt)</description>
		<rom name="qberta.bin" size="8192" crc="13F06ADC"/>
		<rom name="missing.bin" size="8192" crc="00000000" status="nodump"/>
	</machine>
</datafile>
)";

const std::string kNamedByComments = R"dat(clrmamepro (
	name "Nintendo - Game Boy"
	description "Nintendo - Game Boy"
)

game (
	name "Tetris (World)"
	comment "a remark, not the name"
	rom ( name "Tetris (World).gb" size 32768 crc 63F9407D )
)

game (
	comment "4 in 1 (Europe) (4B-001, Sachen-Commin) (Unl)"
	rom ( crc 0E4DDFB1 serial "DMG-XX" )
)
)dat";

// Made-up checksums of the right lengths.
const std::string kSha256 = std::string(56, 'a') + "0123beef", kSha1 = std::string(40, 'b'), kMd5 = std::string(32, 'c');

std::string smdbLine(const std::string& path, const std::string& crc, const std::string& size = "")
{
    return kSha256 + "\t" + path + "\t" + kSha1 + "\t" + kMd5 + "\t" + crc + (size.empty() ? "" : "\t" + size) + "\r\n";
}

struct GoodDat {
    const char* form;
    std::string bytes;
    DatFormat format;
    std::string listName;
    std::string secondDescription;
    size_t unmatchable;
    std::string secondName;
};

TEST(DatReader, ReadsEveryForm)
{
    const std::vector<GoodDat> cases = {
        {"Logiqx", kLogiqx, DatFormat::LogiqxXml, "coleco", "Q*bert (alt)", 1, "qberta"},
        {"byte-order mark, CR LF and entities", "\xEF\xBB\xBF<datafile>\r\n<game name=\"a\"><description>Tom &amp; "
                                                "Jerry &#x2014; &lt;1&gt;</description>\r\n<rom name=\"a\" size=\"4\" "
                                                "crc=\"00000001\"/></game><game name=\"b\"><description>B\r\nC</description>"
                                                "<rom name=\"x\" size=\"4\"/></game></datafile>",
         DatFormat::LogiqxXml, "", "B\nC", 1, "b"},
        {"software list", R"(<softwarelist name="coleco"><software name="a"><description>A</description>
            <part name="cart"><dataarea name="rom" size="0x4000"><rom name="a.1" size=" 0x2000" crc="07a3d3db"/>
            <rom size="8192" offset="0x2000" loadflag="continue"/></dataarea></part></software>
            <software name="b" cloneof="a"><description>B</description><part name="cart"><dataarea name="rom">
            <rom name="b.1" size="8192" crc="07a3d3dc"/></dataarea></part></software></softwarelist>)",
         DatFormat::SoftwareList, "coleco", "B", 1, "b"},
        {"several software lists", R"(<?xml version="1.0"?>
<softwarelists>
	<softwarelist name="a2600" description="Atari 2600 cartridges"><notes>x</notes>
		<software name="adventp"><description>Adventure +</description><year>2003</year>
			<part name="cart" interface="a2600_cart"><feature name="compatibility" value="NTSC" />
				<dataarea name="rom" size="4096">
					<rom name="Adventure Plus.a26" size="4096" crc="0a25900b" sha1="cf0efc58ffc8ae2ac49d96177cc8b3e299e95160"/>
				</dataarea></part></software>
	</softwarelist>
	<softwarelist name="a2600_cass" description="Atari 2600 cassettes">
		<software name="commumut"><description>Communist Mutants from Space</description>
			<part name="cass" interface="a2600_cass"><dataarea name="cass" size="8448">
				<rom name="communist mutants from space (1982) (arcadia corporation).a26" size="8448" crc="d64ec816"/>
			</dataarea></part></software>
	</softwarelist>
	<softwarelist description="a list without a name, nor a place in the name of all"/>
</softwarelists>)",
         DatFormat::SoftwareList, "a2600, a2600_cass", "Communist Mutants from Space", 0, "commumut"},
        {"ClrMamePro", "clrmamepro ( name \"coleco\" )\r\ngame ( name a description \"A\" rom ( name a.1 size 8192 crc "
                       "07a3d3db ) )\ngame ( name \"b c\" description \"B C\" cloneof a sample ( x ) rom ( name "
                       "\"b 1.bin\" size 4 crc 00000002 flags nodump ) )\n",
         DatFormat::ClrMamePro, "coleco", "B C", 1, "b c"},
        // A game named only by its comment, its rom known by its CRC alone.
        {"ClrMamePro named by comments", kNamedByComments,
         DatFormat::ClrMamePro, "Nintendo - Game Boy", "", 1, "4 in 1 (Europe) (4B-001, Sachen-Commin) (Unl)"},
        // Some lists give the size, some do not.
        {"SMDB", smdbLine("Genesis/1 US - A-F/Aladdin (USA).md", "ed427ea9", "2097152") +
                     smdbLine("Genesis/1 US - A-F/Alien Storm (World).v1.1.md", "2F0F5A7B") + "\r\n",
         DatFormat::Smdb, "", "", 1, "Alien Storm (World).v1.1"},
    };
    for (const GoodDat& good : cases) {
        SCOPED_TRACE(good.form);
        const DatRead read = parseDat(good.bytes, "x.dat");
        ASSERT_TRUE(read.dat) << read.problem.message();
        const DatIndex& dat = *read.dat;
        EXPECT_EQ(dat.format, good.format);
        EXPECT_EQ(dat.name, good.listName);
        ASSERT_EQ(dat.games.size(), 2u);
        EXPECT_EQ(std::tie(dat.games[1].name, dat.games[1].description), std::tie(good.secondName, good.secondDescription));
        EXPECT_EQ(dat.unmatchableRoms, good.unmatchable);
        EXPECT_EQ(dat.holdersOf(dat.roms[dat.games[0].firstRom].key).size(), 1u);
    }
    EXPECT_EQ(parseDat(kNamedByComments, "x.dat").dat->games[0].name, "Tetris (World)");
    const DatIndex smdb = std::move(*parseDat(smdbLine("a\\b\\.hidden", "00000001", "0x10"), "x.dat").dat);
    EXPECT_EQ(std::tie(smdb.games[0].name, smdb.roms[0].name, smdb.roms[0].sha1), std::tie(".hidden", ".hidden", kSha1));
    const DatIndex dat = std::move(*parseDat(kLogiqx, "x.dat").dat);
    EXPECT_EQ(dat.roms[1].key, (ContentKey{8192, 0x13f06adc}));
    EXPECT_EQ(dat.roms[0].sha1, "6243fc5593f40d7285ea6b69c541307d3fc583ac");
    EXPECT_EQ(dat.games[1].contentCount, 1u);  // the nodump rom cannot be matched
}

// The same BIOS, device and clone in each form an arcade collector meets;
// each must give the same index.
const std::string kMameMachines = R"dat(
<machine name="neogeo" isbios="yes"><description>Neo-Geo</description><biosset name="euro" description="Europe"/>
	<rom name="sp-s2.sp1" bios="euro" size="131072" crc="9036d879"/>
	<device_ref name="ng_memcard"/></machine>
<machine name="ng_memcard" isdevice="yes" runnable="no"><description>Memory card</description></machine>
<machine name="kof98" romof="neogeo"><description>KOF 98</description>
	<rom name="sp-s2.sp1" merge="sp-s2.sp1" bios="euro" size="131072" crc="9036d879"/>
	<rom name="242-p1.p1" size="2097152" crc="61ac868a" sha1="2b9a8b9e4fd5fe08c1d3ad0cd4a1e7a4f3b0c4d2" status="baddump"/>
	<disk name="kof98" sha1="0123456789abcdef0123456789abcdef01234567" status="nodump" optional="yes"/>
	<device_ref name="ng_memcard"/><device_ref name="ng_memcard"/>
	<input players="2"><control type="joy"/></input><dipswitch name="x" tag="y" mask="1"/></machine>
<game name="kof98a" cloneof="kof98" romof="kof98"><description>KOF 98 (alt)</description>
	<rom name="242-p1a.p1" merge="242-p1.p1" size="2097152" crc="61ac868b" optional="yes"/>
	<rom name="never.bin" size="16" status="nodump"/></game>
)dat";

const std::string kClrMamePro = R"dat(clrmamepro ( name "arcade" )
resource ( name neogeo description "Neo-Geo" rom ( name sp-s2.sp1 bios euro size 131072 crc 9036d879 )
	device_ref ng_memcard )
machine ( name ng_memcard description "Memory card" )
game ( name kof98 description "KOF 98" romof neogeo
	rom ( name sp-s2.sp1 merge sp-s2.sp1 bios euro size 131072 crc 9036d879 )
	rom ( name 242-p1.p1 size 2097152 crc 61ac868a sha1 2b9a8b9e4fd5fe08c1d3ad0cd4a1e7a4f3b0c4d2 flags baddump )
	disk ( name kof98 sha1 0123456789abcdef0123456789abcdef01234567 flags nodump optional yes )
	device_ref ng_memcard device_ref ng_memcard )
game ( name kof98a description "KOF 98 (alt)" cloneof kof98 romof kof98
	rom ( name 242-p1a.p1 merge 242-p1.p1 size 2097152 crc 61ac868b flags optional )
	rom ( name never.bin size 16 flags nodump ) )
)dat";

TEST(DatReader, ReadsArcadeSetsInEveryForm)
{
    const std::vector<std::pair<const char*, std::string>> forms = {
        {"MAME catalogue", "<mame build=\"0.251\">" + kMameMachines + "</mame>"},
        {"Logiqx", "<datafile><header><name>arcade</name></header>" + kMameMachines + "</datafile>"},
        {"ClrMamePro", kClrMamePro},
    };
    for (const auto& [form, bytes] : forms) {
        SCOPED_TRACE(form);
        const DatRead read = parseDat(bytes, "x.dat");
        ASSERT_TRUE(read.dat) << read.problem.message();
        const DatIndex& dat = *read.dat;
        ASSERT_EQ(dat.games.size(), 4u);
        const DatGame &bios = dat.games[0], &game = dat.games[2], &clone = dat.games[3];
        EXPECT_TRUE(bios.isBios && bios.runnable && !bios.isDevice && !game.isBios && !game.isDevice && !clone.isBios);
        // ClrMamePro has no word for a device.
        EXPECT_TRUE(std::string_view(form) == "ClrMamePro" || (dat.games[1].isDevice && !dat.games[1].runnable));
        EXPECT_EQ(std::make_tuple(dat.gameByName("kof98"), dat.gameByName("kof98a"), dat.gameByName("KOF98")),
                  std::make_tuple(2u, 3u, kNoGame));
        const std::span<const DatRom> roms = dat.romsOf(game), cloneRoms = dat.romsOf(clone);
        ASSERT_TRUE(roms.size() == 2 && cloneRoms.size() == 2);
        EXPECT_EQ(std::tie(roms[0].merge, roms[0].bios), std::make_tuple("sp-s2.sp1", "euro"));
        EXPECT_TRUE(roms[1].status == RomStatus::BadDump && roms[1].matchable && !roms[1].optional && roms[1].merge.empty());
        EXPECT_EQ(std::tie(roms[1].sha1, clone.cloneOf), std::make_tuple("2b9a8b9e4fd5fe08c1d3ad0cd4a1e7a4f3b0c4d2", "kof98"));
        EXPECT_TRUE(cloneRoms[0].merge == "242-p1.p1" && cloneRoms[0].optional && cloneRoms[0].status == RomStatus::Good);
        EXPECT_TRUE(cloneRoms[1].status == RomStatus::NoDump && !cloneRoms[1].matchable);

        const DatDisk& disk = dat.disks.at(game.firstDisk);
        EXPECT_EQ(std::tie(disk.name, disk.sha1, disk.status, disk.optional),
                  std::make_tuple("kof98", "0123456789abcdef0123456789abcdef01234567", RomStatus::NoDump, true));
        EXPECT_TRUE(std::ranges::equal(dat.deviceRefsOf(game), std::vector<std::string_view>{"ng_memcard"}));  // not twice
        EXPECT_EQ(dat.deviceRefsOf(bios).size() + dat.disksOf(clone).size(), 1u);
    }
    EXPECT_EQ(parseDat(forms[0].second, "x.dat").dat->format, DatFormat::MameListXml);
}

// Real machines of the emulator's own catalogue, its DOCTYPE and all.
TEST(DatReader, ReadsRealMachinesOfTheCatalogue)
{
    const DatRead read = readDatFile(TOKENADE_TEST_DATA "/arcade/mame_0251_extract.xml");
    ASSERT_TRUE(read.dat) << read.problem.message();
    const DatIndex& dat = *read.dat;
    const auto game = [&](std::string_view name) -> const DatGame& { return dat.games.at(dat.gameByName(name)); };
    EXPECT_EQ(std::tie(game("kof98a").cloneOf, game("kof98a").romOf, game("kof98").romOf),
              std::make_tuple("kof98", "kof98", "neogeo"));
    EXPECT_TRUE(game("neogeo").isBios && game("namco51").isDevice && dat.romsOf(game("namco51")).size() == 1);
    EXPECT_NE(std::ranges::find(dat.deviceRefsOf(game("galaga")), "namco51"), dat.deviceRefsOf(game("galaga")).end());
    EXPECT_EQ(dat.disksOf(game("btchamp")).front().sha1, "c9c858e9034826e1a12c3c003dd068a49a3577e1");
}

struct BadDat {
    const char* fault;
    std::string bytes;
    const char* message;
};

TEST(DatReader, RefusesBadInputWithItsPlace)
{
    const std::string game = "<game name=\"a\"><rom name=\"a\" size=\"4\" crc=\"00000001\"/></game>";
    const std::vector<BadDat> cases = {
        {"not XML", "<datafile><game name=\"a\"></datafil>", "x.dat:1:28: not XML: mismatched tag"},
        {"cut short", "<datafile>\n" + game + "\n<game name=\"b\"><rom name=", "x.dat:3:16: cut short: the file ends inside an element"},
        {"another root element", "<html><body/></html>", "x.dat:1:1: the root element is <html>, not <datafile>, "
                                                         "<mame> or <softwarelist>"},
        {"size not a number", "<datafile>\n<game name=\"a\">\n  <rom name=\"a\" size=\"12a\" crc=\"00000001\"/>"
                              "</game></datafile>",
         "x.dat:3:3: a size that is not a number: \"12a\""},
        {"size past 64 bits", "<datafile><game name=\"a\"><rom size=\"18446744073709551616\" crc=\"00000001\"/>"
                              "</game></datafile>",
         "a size that is not a number"},
        {"CRC not 8 hex digits", "<datafile><game name=\"a\"><rom size=\"4\" crc=\"1234567\"/></game></datafile>",
         "x.dat:1:26: a CRC that is not 8 hex digits: \"1234567\""},
        {"CRC not hex", "<datafile><game name=\"a\"><rom size=\"4\" crc=\"1234567g\"/></game></datafile>",
         "a CRC that is not 8 hex digits"},
        {"game without a name", "<datafile>\n  <game><rom size=\"4\" crc=\"00000001\"/></game></datafile>",
         "x.dat:2:3: a game without a name"},
        {"no games at all", "<datafile><header><name>x</name></header></datafile>", "x.dat:1:53: no games at all"},
        {"empty file", "", "x.dat:1:1: no games at all"},
        {"neither XML nor text", "\x89PNG\r\n\x1a\n", "x.dat:1:1: neither XML nor a ClrMamePro DAT"},
        {"text cut short", "game ( name a rom ( name a size 4 crc 00000001 )", "x.dat:1:49: cut short"},
        {"text CRC not hex", "game ( name a rom ( name a size 4 crc zz000001 ) )", "x.dat:1:39: a CRC that is not 8"},
        {"text game without a name", "game ( description x )", "x.dat:1:1: a game without a name"},
        {"text quote never closed", "game ( name \"a )", "x.dat:1:13: cut short"},
        {"text control characters", "game ( name\x01\x02 )", "x.dat:1:15: \"name\" without a value"},
        {"SMDB line of 4 fields", smdbLine("a.md", "00000001") + kSha256 + "\ta.md\t" + kSha1 + "\t" + kMd5,
         "x.dat:2:1: a line of 4 fields, not 5 or 6"},
        {"SMDB MD5 too short", kSha256 + "\ta.md\t" + kSha1 + "\t" + kMd5.substr(1) + "\t00000001",
         "x.dat:1:112: an MD5 that is not 32 hex digits"},
        {"SMDB CRC not hex", smdbLine("a.md", "0000000x", "4"), "x.dat:1:145: a CRC that is not 8 hex digits"},
        {"SMDB size not a number", smdbLine("a.md", "00000001", "4k"), "x.dat:1:154: a size that is not a number"},
        {"SMDB path of a folder", smdbLine("Genesis/", "00000001"), "x.dat:1:66: a path without a file name"},
        {"name too long", "<datafile><game name=\"" + std::string(5000, 'n') + "\"/></datafile>",
         "a name longer than 4,096 bytes"},
        {"nested too deep", "<datafile>" + std::string(100 * 3, 'x').replace(0, 300, [] {
             std::string open;
             for (int i = 0; i < 100; ++i)
                 open += "<a>";
             return open;
         }()),
         "elements nested deeper than 64"},
        {"entity expansion bomb", R"(<!DOCTYPE datafile [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
            <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;"><!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
            <!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;"><!ENTITY f "&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;">
            <!ENTITY g "&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;"><!ENTITY h "&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;">]>
            <datafile><game name="a"><description>&h;</description></game></datafile>)",
         "x.dat:5:51: not XML: limit on input amplification factor"},
    };
    for (const BadDat& bad : cases) {
        SCOPED_TRACE(bad.fault);
        const DatRead read = parseDat(bad.bytes, "x.dat");
        ASSERT_FALSE(read.dat);
        EXPECT_NE(read.problem.message().find(bad.message), std::string::npos) << read.problem.message();
    }
}

// Merged DATs repeat games: a repeat with the same roms is one game, one
// with other roms is kept and named, whatever lies between the two.
TEST(DatReader, MergesAGameListedTwiceWithTheSameRoms)
{
    auto game = [](const char* name, const std::string& roms) { return "game ( name " + (name + roms) + " )\n"; };
    const std::string one = " rom ( name a.1 size 4 crc 00000001 )", other = " rom ( name a.1 size 4 crc 00000009 )";
    const std::string two = " rom ( name a.2 size 8 crc 00000002 flags nodump )";
    const struct {
        const char* repeat;
        std::string bytes;
        std::vector<std::string> games;  // as kept, in order
        std::vector<std::string> repeated;
        size_t holders;  // games holding the rom of size 4 and CRC 1
    } cases[] = {
        {"same roms", game("a", one + two) + game("b", other) + game("a", one + two), {"a", "b"}, {}, 1},
        {"same roms, other order, thrice", game("a", one + two) + game("a", two + one) + game("a", one + two), {"a"}, {}, 1},
        {"another rom", game("a", one + two) + game("b", other) + game("a", other), {"a", "b", "a"}, {"a"}, 1},
        {"a rom fewer", game("b", other) + game("a", one + two) + game("a", one), {"b", "a", "a"}, {"a"}, 2},
        {"one other, then the first again", game("a", one + two) + game("a", other) + game("a", other) + game("c", one),
         {"a", "a", "c"}, {"a"}, 2},
        {"thrice, each other", game("a", one + two) + game("a", other) + game("a", one), {"a", "a", "a"}, {"a"}, 2},
    };
    for (const auto& dat : cases) {
        SCOPED_TRACE(dat.repeat);
        const DatRead read = parseDat(dat.bytes, "x.dat");
        ASSERT_TRUE(read.dat) << read.problem.message();
        std::vector<std::string_view> games;
        for (const DatGame& game : read.dat->games)
            games.push_back(game.name);
        EXPECT_EQ(std::vector<std::string>(games.begin(), games.end()), dat.games);
        EXPECT_EQ(read.dat->unmatchableRoms, 1u);  // the first game's nodump rom, never a dropped repeat's
        games = repeatedGameNames(*read.dat);
        EXPECT_EQ(std::vector<std::string>(games.begin(), games.end()), dat.repeated);
        EXPECT_EQ(read.dat->holdersOf({4, 1}).size(), dat.holders);
    }
    // A repeat without the disk is another game; the game after a dropped one keeps its own rom, disk and device.
    const std::string disk = " disk ( name x sha1 01 ) device_ref z";
    const DatIndex dat = std::move(*parseDat(game("a", one + two + disk) + game("a", one + two + disk) +
                                                 game("b", other + " disk ( name y ) device_ref w") + game("a", one + two),
                                             "x.dat").dat);
    ASSERT_EQ(dat.games.size(), 3u);
    EXPECT_EQ(std::tie(dat.romsOf(dat.games[1])[0].key.crc, dat.disksOf(dat.games[1])[0].name, dat.deviceRefsOf(dat.games[1])[0]),
              std::make_tuple(9u, "y", "w"));
    EXPECT_EQ(dat.roms.size() + dat.disks.size() + dat.deviceRefs.size() + dat.disksOf(dat.games[2]).size(), 9u);
}

// What is not a regular file is refused at once by every reader of what the
// user names or the cache keeps: a FIFO without a writer must not hang it.
TEST(Readers, RefuseWhatIsNoRegularFileAtOnce)
{
    TempTree tree;
    tree.addFifo("fifo");
    std::string room;
    for (const std::string& path : {tree.path("fifo"), tree.root(), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(readDatFile(path).problem.reason, "not a regular file");
        EXPECT_EQ(readZipFile(path).problem, ZipProblem::Unreadable);
        EXPECT_FALSE(cacheRomsListFile(path).list);
        bool damaged = false;
        EXPECT_FALSE(readCacheFile(path, "TKACACHE", 2, damaged,
                                   [&](size_t size) { return room.resize(size), room.data(); }));
    }
    // A read that fails ends the DAT with its error instead of being tried again and again.
    const int folder = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY);
    DatSource source(folder);
    EXPECT_TRUE(source.next().empty());
    EXPECT_EQ(source.error(), EISDIR);
    ::close(folder);
}

// A DAT past the game limit is refused before its games are built: the
// games are counted exactly, whichever chunk of the count each one ends in.
TEST(DatReader, RefusesTooManyGamesBeforeBuildingThem)
{
    TempTree tree(fastTemporaryBase());
    for (const size_t games : {kDatGameLimit, kDatGameLimit + 1}) {
        std::string text = "<datafile/>";  // then games after the end: read, only the count refuses them
        for (size_t i = 0; i < games; ++i)
            text += "<game ";
        tree.addFile("big.dat", text);
        ASSERT_EQ(::truncate(tree.path("big.dat").c_str(), 64 << 20), 0);
        EXPECT_EQ(readDatFile(tree.path("big.dat")).problem.reason,
                  games > kDatGameLimit ? "more than 4,194,304 games" : "not XML: junk after document element");
    }
}

// A fixdat is XML a reader takes back: markup escaped, a tab kept, a control
// character or a byte of no UTF-8 replaced.
TEST(FixdatText, IsXmlThatReadsBack)
{
    const DatIndex dat = std::move(*parseDat("game ( name \"A&B <1>\" description \"Tab\there, bell\x07, \xff.\" "
                                             "rom ( name r.bin size 1 crc 00000001 ) )\n", "x.dat").dat);
    const DatRead back = parseDat(fixdatText(dat, std::vector<FixdatGame>{{0, {0}, {}}}), "fix.xml");
    ASSERT_TRUE(back.dat) << back.problem.message();
    EXPECT_EQ(back.dat->games[0].name, "A&B <1>");
    EXPECT_EQ(back.dat->games[0].description, "Tab\there, bell\uFFFD, \uFFFD.");
}

}  // namespace
}  // namespace tokenade::testing
