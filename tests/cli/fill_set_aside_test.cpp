#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

namespace tokenade::testing {
namespace {

// A collection with games missing, and a download folder that holds some of
// them under their own name or a near one, and others that must not be taken.
class FillSetAsideTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        collection.addFile("list.txt", "Tom & Jerry (USA)\nSonic (Europe)\nPok\xC3\xA9mon Red (USA)\n"
                                       "\xE3\x82\xB9\xE3\x83\x88 (Japan)\nStreet Fighter II: The World Warrior (Japan)\n"
                                       "Kirby\xE2\x80\x99s Adventure (USA)\nMetroid (USA)\n");
        for (auto path : {"roms/Metroid (USA).zip", "roms/Sega/bios.zip", "videos/old.xmv"})
            collection.addFile(path, path);
        for (auto path : {"deep/Tom and Jerry (USA).zip", "Sonic (USA).zip", "Poke\xCC\x81mon Red (USA).zip",
                          "deep/er/\xE3\x82\xB9\xE3\x83\x88 (Japan).zip", "Kirby's Adventure (USA).zip",
                          "Street Fighter II - The World Warrior (Japan).zip", "Metroid (USA) (Rev 1).zip"})
            source.addFile(path, std::string(1000, 'x') + path);
        ::setenv("XDG_STATE_HOME", state.root().c_str(), 1);
    }
    ProgramRun run(const std::string& command, std::vector<std::string> more)
    {
        std::vector<std::string> arguments{command, "roms", "--dir", collection.root(), "--list", collection.path("list.txt")};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runProgram(TOKENADE_AUDIT_PATH, arguments);
    }
    TempTree collection;
    TempTree source;
    TempTree state;
};

TEST_F(FillSetAsideTest, FillsThePlantedGamesSetsAsideTheChosenFileAndUndoGivesBackTheTree)
{
    const std::string before = collection.state();
    const std::string dryRun = run("fill", {"--from", source.root()}).out;
    EXPECT_NE(dryRun.find("5 copies would be made:\n"), std::string::npos);
    EXPECT_NE(dryRun.find("\"deep/Tom and Jerry (USA).zip\" -> \"" + collection.path("roms/Tom & Jerry (USA).zip")),
              std::string::npos) << dryRun;
    EXPECT_EQ(collection.state(), before);
    const auto filled = run("fill", {"--from", source.root(), "--apply"});
    EXPECT_EQ(filled.exitStatus, 0) << filled.out << filled.err;
    const auto audit = runProgram(TOKENADE_AUDIT_PATH, {"roms", "--dir", collection.root(), "--list",
                                                        collection.path("list.txt"), "--format", "csv"});
    EXPECT_EQ(audit.out, "category,name,folder\r\nvalid,Kirby\xE2\x80\x99s Adventure (USA).zip,roms\r\n"
                         "valid,Metroid (USA).zip,roms\r\nvalid,Pok\xC3\xA9mon Red (USA).zip,roms\r\n"
                         "valid,Street Fighter II: The World Warrior (Japan).zip,roms\r\n"
                         "valid,Tom & Jerry (USA).zip,roms\r\nvalid,\xE3\x82\xB9\xE3\x83\x88 (Japan).zip,roms\r\n"
                         "missing,Sonic (Europe).zip,\r\nunknown,bios.zip,roms/Sega\r\n");

    EXPECT_NE(run("set-aside", {}).out.find("0 moves would be made:\n  offered, not chosen: \"roms/Sega/bios.zip\""),
              std::string::npos);
    const auto aside = run("set-aside", {"roms/Sega/bios.zip", "--to", "aside", "--apply"});  // below DIR
    EXPECT_EQ(aside.exitStatus, 0);
    EXPECT_NE(aside.out.find("\n18 bytes to move\n"), std::string::npos) << aside.out;
    EXPECT_EQ(collection.read("aside/roms/Sega/bios.zip"), "roms/Sega/bios.zip");
    const auto after = runProgram(TOKENADE_AUDIT_PATH, {"roms", "--dir", collection.root(), "--list",
                                                        collection.path("list.txt"), "--summary"});
    EXPECT_NE(after.out.find("unknown:  0\n"), std::string::npos) << after.out;

    // The set-aside, then the fill: the newest first, of this collection or of any, named then.
    const auto set = runProgram(TOKENADE_AUDIT_PATH, {"undo", "--dir", collection.root()});
    EXPECT_EQ(set.exitStatus, 0);
    EXPECT_NE(set.out.find("undone: \"" + collection.path("aside/roms/Sega/bios.zip") + "\" -> \"" +
                           collection.path("roms/Sega/bios.zip")),
              std::string::npos)
        << set.out;
    const auto fill = runProgram(TOKENADE_AUDIT_PATH, {"undo"});
    EXPECT_NE(fill.out.find(" (made on " + collection.root() + "):\n"), std::string::npos) << fill.out;
    EXPECT_EQ(collection.state(), before);
}

// What names nothing, or a folder that is no collection, is bad usage: nothing is made, not even a lock.
TEST_F(FillSetAsideTest, NamesThatMatchNothingAndFoldersThatAreNoCollectionAreBadUsage)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"set-aside", "roms", "--dir", collection.root(), "--list", collection.path("list.txt"), "../outside.zip",
          "/abs.zip", "", "--apply"},
         "no unknown file is named \"../outside.zip\", \"/abs.zip\", \"\""},
        {{"fill", "roms", "--dir", source.root(), "--from", collection.root(), "--list", collection.path("list.txt"),
          "--apply"},
         "holds none of the folders roms,roms16BitConsoles,romsConsoles"},
        {{"undo", ""}, "the journal named is \"\""},
    };
    for (const auto& [arguments, problem] : cases) {
        const auto refused = runProgram(TOKENADE_AUDIT_PATH, arguments);
        EXPECT_EQ(refused.exitStatus, 2) << problem;
        EXPECT_NE(refused.err.find(problem), std::string::npos) << refused.err;
    }
    EXPECT_EQ(state.list(), "");
}

// A fill from the collection itself would take its own files for missing ones.
TEST_F(FillSetAsideTest, SourcesThatAreTheCollectionAndTargetsOutsideTheSetAreRefused)
{
    source.addFolder("previews");
    collection.addLink("videos2", source.path("previews"));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--from", collection.root()}, "is inside the Tokenade directory"},
        {{"--from", collection.path("roms/Sega")}, "is inside the Tokenade directory"},
        {{"--from", source.path("previews")}, "is the collection's folder videos2"},  // linked there
        {{"--from", collection.root() + "/.."}, "holds the Tokenade directory"},
        {{"--from", source.root(), "--to", "videos"}, "\"videos\" is not one of the folders"},
        {{"--from", source.root(), "--to", "roms/.."}, "\"roms/..\" is not one of the folders"},
        {{"--from", source.path("absent")}, "cannot read the source folder"},
    };
    for (const auto& [arguments, problem] : cases) {
        auto more = arguments;
        more.push_back("--apply");
        const auto refused = run("fill", more);
        EXPECT_EQ(refused.exitStatus, 2) << problem;
        EXPECT_NE(refused.err.find(problem), std::string::npos) << refused.err;
    }
}

// Hard links from another file system are refused in the plan, not left to
// fail one by one when the batch is made.
TEST_F(FillSetAsideTest, LinksFromAnotherFileSystemAreRefusedWhenPlanned)
{
    TempTree memory(fastTemporaryBase());
    struct stat here {}, there {};
    if (::stat(collection.root().c_str(), &here) != 0 || ::stat(memory.root().c_str(), &there) != 0 ||
        here.st_dev == there.st_dev)
        GTEST_SKIP() << "the temporary folders share one file system";
    memory.addFile("Sonic (Europe).zip", "sonic");
    source.addFile("Sonic (Europe).zip", "sonic");
    const std::string before = collection.state();
    const auto refused = run("fill", {"--from", memory.root(), "--link", "--apply"});
    EXPECT_EQ(refused.exitStatus, 3);
    EXPECT_NE(refused.out.find("0 copies to make:\n  not made: \"Sonic (Europe).zip\" -> \"" +
                               collection.path("roms/Sonic (Europe).zip") +
                               "\"  [5 bytes]: a hard link cannot reach another file system"), std::string::npos);
    EXPECT_EQ(collection.state(), before);
    EXPECT_EQ(run("fill", {"--from", source.root(), "--link"}).out.find("another file system"), std::string::npos);
}

}  // namespace
}  // namespace tokenade::testing
