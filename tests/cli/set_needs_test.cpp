#include "core/content/dat_reader.h"
#include "core/content/sets/set_rules.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>

namespace tokenade::testing {
namespace {

// Two split sets of the real catalogue on BIOSes the list leaves out: one
// BIOS is missing until it is put there, the other is short of its roms.
TEST(SetNeedsCommands, ANeededBiosIsNamedWarnedOfAndNeverSetAside)
{
    TempTree collection, home;
    ::setenv("XDG_CACHE_HOME", home.path("cache").c_str(), 1);
    ::setenv("XDG_STATE_HOME", home.path("state").c_str(), 1);
    const std::string dat = TOKENADE_TEST_DATA "/arcade/mame_0251_extract.xml";
    const DatIndex extract = std::move(*readDatFile(dat).dat);
    const SetRules rules(extract);
    const auto splitArchive = [&](std::string_view machine, size_t dropped = 0) {
        std::vector<ZipFile> files;
        for (const SetRom& rom : rules.contents(rules.machineNamed(machine), SetForm::Split).roms)
            files.push_back({std::string(extract.roms[rom.rom].name), extract.roms[rom.rom].key.size, extract.roms[rom.rom].key.crc});
        files.resize(files.size() - dropped);
        return zipBytes(files);
    };
    collection.addFile("list.txt", "orlegend\nkof98\n");
    collection.addFile("roms/orlegend.zip", splitArchive("orlegend"));
    collection.addFile("roms/kof98.zip", splitArchive("kof98"));
    collection.addFile("roms/neogeo.zip", splitArchive("neogeo", 3));
    collection.addFile("roms/junk.zip", zipBytes({{"junk.bin", 10, 7}}));
    const auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--dir", collection.root(), "--dat", dat, "--list",
                                           collection.path("list.txt")});
        return runProgram(TOKENADE_AUDIT_PATH, arguments);
    };

    EXPECT_NE(run({"identify", "roms"}).out.find("roms/orlegend.zip: right name: holds \"Oriental Legend / Xiyou Shi E "
                                                 "Chuan (ver. 126)\" (orlegend), split or non-merged, needs pgm.zip (BIOS), "
                                                 "missing\n"),
              std::string::npos);
    EXPECT_NE(run({"roms", "--summary"}).err.find("warning: 2 listed sets cannot run: an archive they need beside "
                                                  "their own is missing, incomplete or wrong. For example: \"kof98"),
              std::string::npos);

    collection.addFile("roms/pgm.zip", splitArchive("pgm"));
    const auto json = nlohmann::json::parse(run({"identify", "roms", "--json"}).out)["archives"];  // by name
    EXPECT_EQ(json[1]["needs"][0], (nlohmann::json{{"archive", "neogeo.zip"}, {"kind", "BIOS"}, {"state", "incomplete"}}));
    EXPECT_EQ(json[4]["needed_by"], 1);
    // Every unknown archive, or one by name: the BIOSes stay, unless forced by name.
    EXPECT_NE(run({"set-aside", "roms", "--all", "--apply"}).out.find("not made: \"roms/pgm.zip\" -> "), std::string::npos);
    EXPECT_TRUE(collection.exists("roms/pgm.zip") && collection.exists("roms/neogeo.zip") && !collection.exists("roms/junk.zip"));
    const ProgramRun named = run({"set-aside", "roms", "pgm.zip", "--apply"});
    EXPECT_EQ(named.exitStatus, 2);
    EXPECT_NE(named.err.find("\"roms/pgm.zip\" stays: it is needed by 1 listed set (--force"), std::string::npos);
    EXPECT_NE(run({"set-aside", "roms", "roms/pgm.zip", "--force"}).out.find("1 move would be made:\n  \"roms/pgm.zip\" -> "),
              std::string::npos);

    // Beside a console DAT, each DAT's fixdat is written as that DAT's games are kept.
    home.addFile("console.dat", "game ( name \"Dino\" rom ( name d.bin size 4 crc 00000009 ) )\n");
    collection.addFile("list.txt", "orlegend\nkof98\nDino\n");
    const ProgramRun fixdats = run({"identify", "roms", "--dat", home.path("console.dat"), "--fixdat", home.path("fixdats")});
    EXPECT_NE(fixdats.err.find("console fixdat.dat: 1 missing game\n"), std::string::npos) << fixdats.err;
    EXPECT_NE(fixdats.err.find(" fixdat.dat: 0 missing sets, split\n"), std::string::npos) << fixdats.err;
    EXPECT_NE(home.read("fixdats/console fixdat.dat").find("<description>The games of the list that are missing<"),
              std::string::npos);
}

}  // namespace
}  // namespace tokenade::testing
