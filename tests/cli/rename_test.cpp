#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>

namespace tokenade::testing {
namespace {

// A collection with the mistakes collectors make, and a place for journals
// that an unprivileged run can write to.
class RenameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        collection.addFile("list.txt", "Tom & Jerry (USA)\nPok\xC3\xA9mon Red (USA)\nBeta (USA)\nZelda: A Link\nroms/x\n");
        for (auto path : {"roms/Sega/Tom and Jerry (USA).zip", "romsConsoles/Pokemon Red (USA).zip",
                          "roms/Beta (Europe).zip", "roms/locked/Zelda - A Link.zip", "roms/roms x.zip"})
            collection.addFile(path);
        state.setMode("", 0777);
        ::setenv("XDG_STATE_HOME", state.root().c_str(), 1);
        before = tree();
    }
    ProgramRun run(std::vector<std::string> arguments, bool unprivileged = false)
    {
        return runProgram(TOKENADE_AUDIT_PATH, arguments, unprivileged);
    }
    std::vector<std::string> rename(std::vector<std::string> more = {})
    {
        std::vector<std::string> arguments{"rename", "roms", "--dir", collection.root(), "--list", collection.path("list.txt")};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }
    std::string tree() { return collection.list("roms") + collection.list("roms/Sega") + collection.list("romsConsoles"); }

    TempTree collection;
    TempTree state;
    std::string before;
};

TEST_F(RenameTest, NearMissesInJson)
{
    const auto audit = run({"roms", "--dir", collection.root(), "--list", collection.path("list.txt"), "--json",
                            "--near-misses"});
    ASSERT_EQ(audit.exitStatus, 0) << audit.err;
    const auto pairs = nlohmann::json::parse(audit.out)["near_misses"];
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs[0], nlohmann::json::parse(R"({"expected": "Pokémon Red (USA).zip", "found": "Pokemon Red (USA).zip",
                                                 "folder": "romsConsoles", "differences": ["accents"]})"));
    EXPECT_EQ(pairs[2]["folder"], "roms/Sega");
}

// What is shown is what is made; a rename that fails leaves the others made
// and journaled, and undo gives back the exact tree, twice without harm.
TEST_F(RenameTest, RenamesAreShownMadeAndUndone)
{
    auto shown = run(rename());
    EXPECT_EQ(shown.exitStatus, 0);
    EXPECT_NE(shown.out.find("\"roms/Sega/Tom and Jerry (USA).zip\" -> \"Tom & Jerry (USA).zip\""), std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find("not renamed: \"roms/roms x.zip\" -> \"roms/x.zip\""), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("Beta"), std::string::npos);  // another region is another release
    EXPECT_EQ(tree(), before);

    for (auto folder : {"roms", "roms/Sega", "romsConsoles"})
        collection.setMode(folder, 0777);  // the unprivileged run may rename there, not in "locked"
    const auto applied = run(rename({"--apply"}), true);
    EXPECT_EQ(applied.exitStatus, 3) << applied.out << applied.err;
    EXPECT_NE(applied.out.find("not renamed: " + collection.path("roms/locked")), std::string::npos) << applied.out;
    EXPECT_NE(applied.out.find("Renamed:\n  renamed: " + collection.path("romsConsoles") + ": \"Pokemon Red (USA).zip\""),
              std::string::npos)
        << applied.out;
    EXPECT_TRUE(collection.exists("romsConsoles/Pok\xC3\xA9mon Red (USA).zip"));
    const auto audit = run({"roms", "--dir", collection.root(), "--list", collection.path("list.txt"), "--summary"});
    EXPECT_NE(audit.out.find("valid:    2"), std::string::npos) << audit.out;

    const size_t at = applied.out.find("journal: ");
    ASSERT_NE(at, std::string::npos);
    const std::string journal = applied.out.substr(at + 9, applied.out.find('\n', at) - at - 9);
    EXPECT_EQ(run({"undo", journal}).exitStatus, 0);
    EXPECT_EQ(tree(), before);
    const auto again = run({"undo", journal});
    EXPECT_EQ(again.exitStatus, 0);
    EXPECT_NE(again.out.find("done before"), std::string::npos);
    EXPECT_EQ(tree(), before);

    collection.addFile("cut.txt", "roms/x\n");  // its only rename is refused: not a success
    EXPECT_EQ(run({"rename", "roms", "--dir", collection.root(), "--list", collection.path("cut.txt"), "--apply"})
                  .exitStatus, 3);
    for (auto path : {"roms/Dr. Mario (Japan, USA).zip", "videos/Dr. Mario (Japan, USA).xmv"})
        collection.addFile(path);  // a cut name, renamed only when asked, and its video with it
    collection.addFile("dr.txt", "Dr. Mario (Japan, USA)\n");
    run({"rename", "roms", "--dir", collection.root(), "--list", collection.path("dr.txt"), "--apply"});
    EXPECT_FALSE(collection.exists("roms/Dr.zip"));
    run({"rename", "roms", "--dir", collection.root(), "--list", collection.path("dr.txt"), "--cut-names", "--apply"});
    EXPECT_TRUE(collection.exists("roms/Dr.zip") && collection.exists("videos/Dr.xmv")) << collection.list("videos");
}

}  // namespace
}  // namespace tokenade::testing
