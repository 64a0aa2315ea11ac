#include "core/content/dat_reader.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>

namespace tokenade::testing {
namespace {

// Real machines: Pac-Man split with a rom missing, one of another CRC and a
// stray file; a BIOS game whose CD is another image; its BIOS whole; an
// archive named for Galaga with nothing of it.
TEST(IdentifySets, ASetNotCorrectIsToldRomByRomInEachForm)
{
    TempTree collection;
    TempTree cache;
    ::setenv("XDG_CACHE_HOME", cache.root().c_str(), 1);
    const std::string mame = TOKENADE_TEST_DATA "/arcade/mame_0251_extract.xml";
    collection.addFile("list.txt", "pacman\nsimpbowl\nkonamigv\n");
    const DatRead read = readDatFile(mame);
    ASSERT_TRUE(read.dat);
    std::vector<ZipFile> pacman, konamigv;
    for (const DatGame& game : read.dat->games) {
        for (const DatRom& rom : read.dat->romsOf(game)) {
            if (game.name == "konamigv")
                konamigv.push_back({std::string(rom.name), rom.key.size, rom.key.crc});
            else if (game.name == "pacman" && rom.merge.empty() && rom.name != "pacman.6e")
                pacman.push_back({std::string(rom.name), rom.key.size, rom.name == "pacman.6f" ? 7 : rom.key.crc});
        }
    }
    pacman.push_back({"readme.txt", 5, 1});
    collection.addFile("roms/pacman.zip", zipBytes(pacman));
    collection.addFile("roms/konamigv.zip", zipBytes(konamigv));
    collection.addFile("roms/galaga.zip", zipBytes({{"galaga.txt", 5, 1}}));  // a set by its name alone
    collection.addFile("roms/simpbowl.zip", zipBytes({{"simpbowl.25c", 128, 0x2c61050c}}));
    collection.addLink("roms/simpbowl/829uaa02.chd", TOKENADE_TEST_DATA "/archives/v5_raw_four_compressors.chd");
    const auto identify = [&](std::vector<std::string> more) {
        std::vector<std::string> arguments{"identify", "roms", "--dir", collection.root(), "--dat", mame,
                                           "--list", collection.path("list.txt")};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runProgram(TOKENADE_AUDIT_PATH, arguments).out;
    };

    const std::string text = identify({});
    EXPECT_NE(text.find("roms/pacman.zip: incomplete: 4 of 6 roms of \"Pac-Man (Midway)\" (pacman)\n"
                        "  set pacman, split: incorrect: 1 missing, 1 wrong, 1 left over\n"
                        "  pacman.6e: missing (4,096 bytes, CRC c1e6ab10)\n"
                        "  pacman.6f: wrong: found 4,096 bytes, CRC 00000007; the DAT has 4,096 bytes, CRC 1a6fb2d4\n"
                        "  readme.txt: left over\n"),
              std::string::npos) << text;
    EXPECT_NE(text.find("  set simpbowl, split: incorrect: 1 disk not present\n  disk 829uaa02: wrong: its header gives "
                        "SHA-1 81332040808d616bd14ef61b2b2a876b6c110db1, not 2ec4cc608d5582e478ee047b60ccee67b52f060c\n"),
              std::string::npos) << text;
    EXPECT_EQ(text.find("set konamigv"), std::string::npos) << text;  // correct: no block
    EXPECT_NE(text.find("roms/galaga.zip: not in the DAT\n  set galaga, split: not found: "), std::string::npos);

    const nlohmann::json json = nlohmann::json::parse(identify({"--json"}));
    const nlohmann::json& set = json["archives"][2]["set"];
    EXPECT_EQ(set["name"], "pacman");
    EXPECT_EQ(set["state"], "incorrect");
    EXPECT_EQ(set["correct_roms"], 4);
    EXPECT_EQ(set["roms"][1]["found"], (nlohmann::json{{"size", 4096}, {"crc", "00000007"}, {"name", "pacman.6f"}}));
    EXPECT_EQ(set["left_over"][0]["name"], "readme.txt");
    EXPECT_EQ(json["archives"][0]["set"]["left_over"][0]["name"], "galaga.txt");
    EXPECT_EQ(json["archives"][1]["set"]["state"], "correct");
    EXPECT_EQ(json["archives"][3]["set"]["disks"][0]["state"], "wrong");

    const std::string csv = identify({"--format", "csv"});
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "state,folder,name,game,description,line,expected,form,set,set_state,set_detail,dat\r");
    EXPECT_NE(csv.find(",any form,konamigv,correct,,mame_0251_extract\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",split,pacman,incorrect,\"pacman.6e: missing (4,096 bytes, CRC c1e6ab10); pacman.6f: wrong"),
              std::string::npos) << csv;
}

}  // namespace
}  // namespace tokenade::testing
