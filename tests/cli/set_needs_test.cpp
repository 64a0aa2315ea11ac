#include "tests/support/arcade_archives.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"

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
    const ArcadeExtract extract;
    collection.addFile("list.txt", "orlegend\nkof98\n");
    collection.addFile("roms/orlegend.zip", extract.splitArchive("orlegend"));
    collection.addFile("roms/kof98.zip", extract.splitArchive("kof98"));
    collection.addFile("roms/neogeo.zip", extract.splitArchive("neogeo", 3));
    collection.addFile("roms/junk.zip", zipBytes({{"junk.bin", 10, 7}}));
    const auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--dir", collection.root(), "--dat", extract.path, "--list",
                                           collection.path("list.txt")});
        return runProgram(TOKENADE_AUDIT_PATH, arguments);
    };

    const ProgramRun missing = run({"identify", "roms"});
    EXPECT_NE(missing.out.find("roms/orlegend.zip: right name: holds \"Oriental Legend / Xiyou Shi E Chuan "
                               "(ver. 126)\" (orlegend), split or non-merged, needs pgm.zip (BIOS), missing\n"),
              std::string::npos) << missing.out;
    EXPECT_NE(missing.out.find(", needs neogeo.zip (BIOS), incomplete\n"), std::string::npos);
    EXPECT_NE(run({"roms"}).err.find("warning: 2 listed sets cannot run: an archive they need beside their own is "
                                     "missing, incomplete or wrong. For example: \"kof98.zip\" needs neogeo.zip (BIOS), incomplete"),
              std::string::npos);

    collection.addFile("roms/pgm.zip", extract.splitArchive("pgm"));
    const auto json = nlohmann::json::parse(run({"identify", "roms", "--json"}).out);
    for (const auto& archive : json["archives"]) {
        SCOPED_TRACE(archive.dump());
        EXPECT_EQ(archive.value("needed_by", 0), archive["name"] == "pgm.zip" || archive["name"] == "neogeo.zip");
        EXPECT_EQ(archive.contains("needs"), archive["name"] == "kof98.zip");
    }
    // Every unknown archive, or one by name: the BIOSes stay, unless forced by name.
    const ProgramRun all = run({"set-aside", "roms", "--all", "--apply"});
    EXPECT_EQ(all.exitStatus, 0) << all.err;
    EXPECT_NE(all.out.find("not made: \"roms/pgm.zip\" -> "), std::string::npos) << all.out;
    EXPECT_NE(all.out.find(": needed by 1 listed set\n"), std::string::npos);
    EXPECT_TRUE(collection.exists("roms/pgm.zip") && collection.exists("roms/neogeo.zip"));
    EXPECT_FALSE(collection.exists("roms/junk.zip"));
    const ProgramRun named = run({"set-aside", "roms", "pgm.zip", "--apply"});
    EXPECT_EQ(named.exitStatus, 2);
    EXPECT_NE(named.err.find("\ntokenade-audit: \"roms/pgm.zip\" stays: it is needed by 1 listed set "
                             "(--force sets it aside all the same)\n"),
              std::string::npos) << named.err;
    const ProgramRun forced = run({"set-aside", "roms", "roms/pgm.zip", "--force"});
    EXPECT_NE(forced.out.find("1 move would be made:\n  \"roms/pgm.zip\" -> "), std::string::npos) << forced.out;
    EXPECT_TRUE(collection.exists("roms/pgm.zip"));
}

}  // namespace
}  // namespace tokenade::testing
