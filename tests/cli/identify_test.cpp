#include "core/content/dat_reader.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace tokenade::testing {
namespace {

std::string fixture(const std::string& name)
{
    std::ifstream in(std::string(TOKENADE_TEST_DATA) + "/content/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The files of a game as the real DAT gives them.
std::vector<ZipFile> romsOf(const DatIndex& dat, std::string_view game)
{
    std::vector<ZipFile> files;
    for (const DatGame& entry : dat.games) {
        if (entry.name != game)
            continue;
        for (const DatRom& rom : dat.romsOf(entry))
            files.push_back({std::string(rom.name), rom.key.size, rom.key.crc});
    }
    return files;
}

// Two more games of one content beside a game of the list, and a pair of
// twins of which none is on the list, each listed twice; put before the DAT's
// closing tag.
std::string withPlantedGames(std::string dat, const std::string& close, bool softwareList)
{
    const std::string rom = R"(<rom name="blockrun.1" size="8192" crc=")";
    auto game = [&](const char* name, const char* description, const std::string& roms) {
        if (softwareList)
            return std::string("<software name=\"") + name + "\"><description>" + description +
                   "</description><part name=\"cart\" interface=\"coleco_cart\"><dataarea name=\"rom\" size=\"16384\">" +
                   roms + "</dataarea></part></software>\n";
        return std::string("<game name=\"") + name + "\"><description>" + description + "</description>" + roms +
               "</game>\n";
    };
    const std::string twin = R"(<rom name="twin.bin" size="4096" crc="12345678"/>)";
    // Repeats, as merged DATs have them: one of the same roms, one of others.
    const std::string planted = game("twinu", "Twin (USA)", twin) + game("twine", "Twin (Europe)", twin) +
                                game("blockrunc", "Blockade Runner (copy)", "{BLOCKRUN}") +
                                game("twine", "Twin (Europe)", twin) +
                                game("twinu", "Twin (USA)", R"(<rom name="t.bin" size="4" crc="00000001"/>)");
    dat.insert(dat.rfind(close), planted);
    return dat;
}

// The planted collection of short names, extras, missing roms, a RAR, an
// empty and a cut archive, a misnamed archive and games of one content.
class IdentifyTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ::setenv("XDG_CACHE_HOME", cache.root().c_str(), 1);
        const std::string name = GetParam();
        const bool softwareList = name.find("softwarelist") != std::string::npos;
        std::string text = fixture(name);
        DatRead real = parseDat(text, name);
        ASSERT_TRUE(real.dat) << real.problem.message();
        dat = std::move(*real.dat);
        if (!name.ends_with(".dat")) {
            text = withPlantedGames(text, softwareList ? "</softwarelist>" : "</datafile>", softwareList);
            std::string blockrun;
            for (const ZipFile& file : romsOf(dat, "blockrun")) {
                char crc[9];
                std::snprintf(crc, sizeof crc, "%08x", file.crc);
                blockrun += "<rom name=\"" + file.name + "\" size=\"" + std::to_string(file.size) + "\" crc=\"" +
                            crc + "\"/>";
            }
            text.replace(text.find("{BLOCKRUN}"), 10, blockrun);
        }
        collection.addFile("dat/games.dat", text);
        collection.addFile("list.txt", "Castelo\nQ*bert\nSuper Cobra\nSuper Sketch\nAntarctic Adventure\n"
                                       "Alphabet Zoo\nAmazing Bumpman\nAquattack\nArtillery Duel\nBeamrider\n"
                                       "Blockade Runner\nBoulder Dash\nBurgertime\nCarnival\nCentipede\n");
        collection.addFile("roms/short/castelo.zip", zipBytes(romsOf(dat, "castelo")));
        std::vector<ZipFile> withReadme = romsOf(dat, "qbert");
        withReadme.push_back({"readme.txt", 40, 0xDEADBEEF});
        for (uint32_t i = 1; i <= 11; ++i)
            withReadme.push_back({"extra" + std::to_string(i), 4, i});
        collection.addFile("roms/short/qbert.zip", zipBytes(withReadme));
        collection.addFile("roms/short/scobra.zip", zipBytes(romsOf(dat, "scobra")));
        collection.addFile("videos/scobra.xmv", "video");
        collection.addFile("roms/cast2.zip", zipBytes(romsOf(dat, "castelo")));
        collection.addFile("roms/antarct.zip", zipBytes({romsOf(dat, "antarct")[0]}));
        collection.addFile("roms/alphazoo.zip", std::string("Rar!\x1A\x07\x00 packed", 14));
        collection.addFile("roms/amazing.zip", "");
        const std::string cut = zipBytes(romsOf(dat, "aquatack"));
        collection.addFile("roms/aquatack.zip", cut.substr(0, cut.size() / 2));
        collection.addFile("romsConsoles/Beamrider.zip", zipBytes(romsOf(dat, "artduel")));
        collection.addFile("romsConsoles/br.zip", zipBytes(romsOf(dat, "blockrun")));
        collection.addFile("romsConsoles/unknown.zip", zipBytes({{"x.bin", 100, 42}}));
        if (!name.ends_with(".dat"))
            collection.addFile("romsConsoles/twin.zip", zipBytes({{"t.bin", 4096, 0x12345678}}));
        // A set of short names: two missing games, one that is there, and decoys.
        source.addFile("short/ssketch.zip", zipBytes(romsOf(dat, "ssketch")));
        source.addFile("short/bdash.zip", zipBytes(romsOf(dat, "bdash")));
        source.addFile("short/scobra.zip", zipBytes(romsOf(dat, "scobra")));
        source.addFile("short/btime.zip", zipBytes({romsOf(dat, "btime")[0]}));
        source.addFile("short/carnival.zip", zipBytes(romsOf(dat, "castelo")));
        source.addFile("Centipede.zip", zipBytes(romsOf(dat, "qbert")));
        source.addFile("Artillery Duel.zip", zipBytes(romsOf(dat, "artduel")));
    }

    ProgramRun run(std::vector<std::string> arguments)
    {
        return runProgram(TOKENADE_AUDIT_PATH, arguments);
    }
    std::vector<std::string> identify(std::vector<std::string> more = {}) { return withDat("identify", more); }

    // `command` roms of the collection, with the DAT.
    std::vector<std::string> withDat(const std::string& command, std::vector<std::string> more = {})
    {
        std::vector<std::string> arguments{command, "roms", "--dir", collection.root(), "--dat",
                                           collection.path("dat/games.dat"), "--list", collection.path("list.txt")};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }

    // The ClrMamePro DAT is the real one alone: it gets no twins.
    size_t archiveCount() const { return std::string(GetParam()).ends_with(".dat") ? 11 : 12; }

    TempTree collection;
    TempTree source;
    TempTree cache;
    TempTree state;
    TempTree outside;  // neither the collection nor an input
    DatIndex dat;
};

TEST_P(IdentifyTest, NamesWhatEachArchiveHolds)
{
    const auto result = run(identify({"--json"}));
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    std::map<std::string, nlohmann::json> byName;
    for (const auto& archive : json["archives"])
        byName[archive["name"]] = archive;
    EXPECT_EQ(byName["castelo.zip"]["state"], "right name");  // letter case aside, as the audit compares
    EXPECT_EQ(byName["scobra.zip"]["state"], "another name");
    EXPECT_EQ(byName["scobra.zip"]["expected"], "Super Cobra.zip");
    EXPECT_EQ(byName["qbert.zip"]["state"], "another name");
    EXPECT_EQ(byName["qbert.zip"]["extras"].size(), 12u);
    EXPECT_EQ(byName["qbert.zip"]["extras"][11], "extra11");
    EXPECT_EQ(byName["antarct.zip"]["state"], "incomplete");
    EXPECT_EQ(byName["antarct.zip"]["matched"], 1);
    EXPECT_EQ(byName["antarct.zip"]["needed"], 2);
    EXPECT_EQ(byName["alphazoo.zip"]["reason"], "not a zip: a RAR archive");
    EXPECT_EQ(byName["amazing.zip"]["reason"], "an empty file");
    EXPECT_EQ(byName["aquatack.zip"]["state"], "not a zip");
    EXPECT_EQ(byName["Beamrider.zip"]["state"], "another game");
    EXPECT_EQ(byName["Beamrider.zip"]["game"]["name"], "artduel");
    EXPECT_EQ(byName["unknown.zip"]["state"], "not in the DAT");
    // Of games of one content, the one on the list wins; twins off the list tie.
    EXPECT_EQ(byName["br.zip"]["state"], "another name");
    EXPECT_EQ(byName["br.zip"]["expected"], "Blockade Runner.zip");
    if (byName.count("twin.zip")) {
        EXPECT_EQ(byName["twin.zip"]["state"], "ambiguous");
    }
    EXPECT_EQ(json["known"], 15);
    EXPECT_EQ(json["present"], 5);

    const auto text = run(identify());
    EXPECT_NE(text.out.find("romsConsoles/Beamrider.zip: another game: \"Beamrider.zip\" holds \"Artillery Duel\" "
                            "(artduel), not \"Beamrider\" (beamridr)\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("15 of the list's 15 games are in the DAT; 5 present by content.\n"), std::string::npos);
    EXPECT_NE(text.out.find("roms/cast2.zip: another name: holds \"Castelo\" (castelo), for \"Castelo\": a second "
                            "archive, \"roms/short/castelo.zip\" has its name\n"), std::string::npos);
    EXPECT_NE(text.out.find("with extras: \"readme.txt\", \"extra1\", \"extra2\", \"extra3\", \"extra4\", \"extra5\", "
                            "\"extra6\", \"extra7\", \"extra8\", \"extra9\" and 2 more\n"), std::string::npos);
    // A repeat of other roms said, one of the same merged.
    EXPECT_TRUE(!byName.count("twin.zip") || text.err.find("warning: 1 game of the DAT is listed more than once with "
        "different roms, so their archives cannot be told apart: \"twinu\"\n") != std::string::npos) << text.err;
}

// An unchanged collection is identified again without opening an archive;
// a changed archive is read again.
TEST_P(IdentifyTest, SecondRunTakesTheCache)
{
    EXPECT_EQ(nlohmann::json::parse(run(identify({"--json"})).out)["opened"], archiveCount());
    EXPECT_EQ(nlohmann::json::parse(run(identify({"--json"})).out)["opened"], 0);
    collection.addFile("romsConsoles/unknown.zip", zipBytes({{"x.bin", 100, 43}}));
    EXPECT_EQ(nlohmann::json::parse(run(identify({"--json"})).out)["opened"], 1);
    EXPECT_EQ(nlohmann::json::parse(run(identify({"--json", "--no-cache"})).out)["opened"], archiveCount());
}

// The audit warns of the misnamed archive; the fixdat holds the list's
// missing games the DAT knows, with their roms.
TEST_P(IdentifyTest, AuditWarnsAndFixdatListsTheMissing)
{
    const auto audit = run({"roms", "--dir", collection.root(), "--list", collection.path("list.txt"), "--dat",
                            collection.path("dat/games.dat"), "--fixdat", outside.path("fix.xml"), "--summary"});
    ASSERT_EQ(audit.exitStatus, 0) << audit.err;
    EXPECT_NE(audit.err.find("warning: 1 archive holds another game than its name says, by the sizes and CRCs of the "
                             "files in it. For example: \"Beamrider.zip\" holds Artillery Duel\n"),
              std::string::npos)
        << audit.err;
    const DatRead fixdat = readDatFile(outside.path("fix.xml"));
    ASSERT_TRUE(fixdat.dat) << fixdat.problem.message();
    std::vector<std::string> games;
    for (const DatGame& game : fixdat.dat->games)
        games.emplace_back(game.name);
    EXPECT_EQ(games, (std::vector<std::string>{"ssketch", "antarct", "alphazoo", "amazing", "aquatack", "beamridr",
                                               "bdash", "btime", "carnival", "centiped"}));
    ASSERT_EQ(fixdat.dat->romsOf(fixdat.dat->games[1]).size(), 2u);
    const ZipFile second = romsOf(dat, "antarct")[1];
    EXPECT_EQ(fixdat.dat->romsOf(fixdat.dat->games[1])[1].key, (ContentKey{second.size, second.crc}));
}

// Several DATs at once: each game names its DAT, a game two DATs list alike
// is one game of both, a DAT that cannot be read is named while the others
// serve, and the fixdats go one per DAT into a folder.
TEST_P(IdentifyTest, SeveralDatsNameTheDatOfEachGame)
{
    const DatRom& castelo = dat.romsOf(dat.games[dat.gameByName("castelo")])[0];
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", castelo.key.crc);
    outside.addFile("more/extra.xml", "<datafile><header><name>Extra</name></header><game name=\"castelo\">"
                                      "<description>Castelo</description><rom name=\"castelo.bin\" size=\"8192\" "
                                      "crc=\"" + std::string(crc) + "\" sha1=\"" + std::string(castelo.sha1) +
                                      "\"/></game><game name=\"other\"><rom name=\"x.bin\" size=\"100\" "
                                      "crc=\"0000002a\"/></game></datafile>\n");
    outside.addFile("more/broken.dat", "<datafile>\n<game><rom/></game></datafile>");
    const auto result = run(identify({"--json", "--dat", outside.path("more"), "--fixdat", outside.path("fixdats")}));
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.err.find(outside.path("more/broken.dat") + ":2:"), std::string::npos) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    std::map<std::string, nlohmann::json> byName;
    for (const auto& archive : json["archives"])
        byName[archive["name"]] = archive;
    const std::string first = dat.name.empty() ? "games" : std::string(dat.name);
    EXPECT_EQ(byName["castelo.zip"]["state"], "right name");
    EXPECT_EQ(byName["castelo.zip"]["game"]["dats"], nlohmann::json::array({first, "Extra"}));
    EXPECT_EQ(byName["unknown.zip"]["game"]["dats"], nlohmann::json::array({"Extra"}));
    EXPECT_EQ(outside.list("fixdats"), "Extra fixdat.dat\n" + first + " fixdat.dat\n");

    const auto none = run({"identify", "roms", "--dir", collection.root(), "--list", collection.path("list.txt"),
                           "--dat", outside.path("more/broken.dat"), "--dat", outside.path("nothing")});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_NE(none.err.find(outside.path("nothing") + ": cannot be opened"), std::string::npos) << none.err;
}

// A fixdat never replaces an input, a file of the collection, a link or
// what is no regular file: refused before any work, all left as they were.
TEST_P(IdentifyTest, FixdatRefusesWhatItMustNotReplace)
{
    ASSERT_EQ(::link(collection.path("dat/games.dat").c_str(), outside.path("dat.xml").c_str()), 0);
    outside.addLink("link.xml", "/proc/self/fd/1");
    outside.addFifo("fifo.xml");
    const std::string before = collection.state() + outside.list("");
    const std::vector<std::string> audit{"roms", "--dir", collection.root(), "--list", collection.path("list.txt"),
                                         "--dat", collection.path("dat/games.dat")};
    for (const auto& [target, why] : std::vector<std::pair<std::string, std::string>>{
             {collection.path("dat/games.dat"), "it is the DAT"},
             {outside.path("dat.xml"), "it is the DAT"},
             {collection.path("list.txt"), "it is the supported roms list"},
             {collection.path("roms/short/castelo.zip"), "it lies inside the collection"},
             {collection.path("romsConsoles/new.xml"), "it lies inside the collection"},
             {outside.path("link.xml"), "it is a symbolic link"},
             {outside.path("fifo.xml"), "it is not a regular file"}}) {
        for (std::vector<std::string> arguments : {identify(), audit}) {
            arguments.insert(arguments.end(), {"--fixdat", target});
            const auto refused = run(arguments);
            EXPECT_EQ(refused.exitStatus, 2) << target;
            EXPECT_NE(refused.err.find("--fixdat " + target + " refused: " + why), std::string::npos) << refused.err;
        }
    }
    EXPECT_EQ(collection.state() + outside.list(""), before);
}

// The wholly identified archives take their list names, the video with its
// archive; a copy and an archive named for another line keep theirs. The
// fill copies the missing games found by content or by a name the content
// bears out, and no decoy. Undoing both gives back the exact tree.
TEST_P(IdentifyTest, RenamesAndFillsByContentAreUndone)
{
    ::setenv("XDG_STATE_HOME", state.root().c_str(), 1);
    const std::string before = collection.state();
    const std::string roms = collection.list("roms");
    const std::string consoles = collection.list("romsConsoles");
    const auto renamed = run(withDat("rename", {"--apply"}));
    ASSERT_EQ(renamed.exitStatus, 0) << renamed.out << renamed.err;
    for (const char* listed : {"not renamed: \"roms/cast2.zip\" -> \"Castelo.zip\"  [content: holds Castelo]: a "
                               "second archive of Castelo: \"roms/short/castelo.zip\" has its name\n",
                               "not renamed: \"romsConsoles/Beamrider.zip\" -> \"Artillery Duel.zip\"  [content: "
                               "holds Artillery Duel]: named for the list's \"Beamrider\", it keeps its name\n"})
        EXPECT_NE(renamed.out.find(listed), std::string::npos) << renamed.out;
    EXPECT_EQ(collection.list("roms/short"), "Q*bert.zip\nSuper Cobra.zip\ncastelo.zip\n");
    EXPECT_EQ(collection.list("videos"), "Super Cobra.xmv\n");
    EXPECT_EQ(collection.list("roms"), roms);
    std::string renamedConsoles = consoles;
    renamedConsoles.replace(renamedConsoles.find("br.zip"), 6, "Blockade Runner.zip");
    EXPECT_EQ(collection.list("romsConsoles"), renamedConsoles);

    const auto filled = run(withDat("fill", {"--from", source.root(), "--apply"}));
    ASSERT_EQ(filled.exitStatus, 0) << filled.out << filled.err;
    for (const char* decoy : {"\"short/carnival.zip\" -> \"%s/roms/Carnival.zip\"  [8312 bytes]: by content it "
                              "holds Castelo, not Carnival\n",
                              "\"Centipede.zip\" -> \"%s/roms/Centipede.zip\"  [8308 bytes]: by content it holds "
                              "Q*bert, not Centipede\n"}) {
        char line[512];
        std::snprintf(line, sizeof line, decoy, collection.root().c_str());
        EXPECT_NE(filled.out.find(std::string("  not made: ") + line), std::string::npos) << filled.out;
    }
    EXPECT_EQ(collection.list("roms"), "Artillery Duel.zip\nBoulder Dash.zip\nSuper Sketch.zip\n" + roms);
    EXPECT_EQ(collection.read("roms/Boulder Dash.zip"), source.read("short/bdash.zip"));

    for (int batch = 0; batch < 2; ++batch)
        EXPECT_EQ(run({"undo", "--dir", collection.root()}).exitStatus, 0);
    EXPECT_EQ(collection.state(), before);
}

INSTANTIATE_TEST_SUITE_P(Dats, IdentifyTest,
                         ::testing::Values("colecovision_30_games.logiqx.xml", "colecovision_30_games.softwarelist.xml",
                                           "colecovision_30_games.clrmamepro.dat"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name = name.substr(name.find('.') + 1);
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace tokenade::testing
