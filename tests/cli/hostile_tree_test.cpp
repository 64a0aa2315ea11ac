#include "core/foundation/text_decoding.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace tokenade::testing {
namespace {

const std::string kList = "list.txt";
const std::string kReplacement = "\xEF\xBF\xBD";

// Collections that no tidy collector has: the command line must audit what
// it can read, say nothing false, and keep every report on its lines.
class HostileTreeTest : public ::testing::Test {
protected:
    ProgramRun audit(std::vector<std::string> arguments, bool unprivileged = false)
    {
        return runProgram(TOKENADE_AUDIT_PATH, arguments, unprivileged);
    }

    TempTree tree;
    TempTree out;
};

TEST_F(HostileTreeTest, FolderOfTwoHundredThousandFiles)
{
    TempTree big(fastTemporaryBase());
    big.addFile(kList, "game0\ngame199999\nabsent\n");
    big.addFolder("roms/all");
    const int fd = ::open(big.path("roms/all").c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 200000; ++i)
        ::close(::openat(fd, ("game" + std::to_string(i) + ".zip").c_str(), O_CREAT | O_WRONLY, 0644));
    ::close(fd);
    const auto run = audit({"roms", "--dir", big.root(), "--list", big.path(kList), "--json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const auto found = nlohmann::json::parse(run.out)["categories"];
    EXPECT_EQ(found["valid"], nlohmann::json::array({"game0.zip", "game199999.zip"}));
    EXPECT_EQ(found["missing"], nlohmann::json::array({"absent.zip"}));
    EXPECT_EQ(found["unknown"].size(), 199998u);
}

TEST_F(HostileTreeTest, NamesThatAreNotUtf8OrHoldLineBreaksStayOnTheirLines)
{
    tree.addFile(kList, "alpha\n");
    tree.addFile("roms/bad\xFF.zip");
    tree.addFile("roms/two\nlines.zip");
    tree.addFile("roms/carriage\rreturn.zip");
    tree.addFile("roms/bell\x07.zip");
    tree.addFile("roms/bad\xFF.zip.d/inner.zip");  // a folder with such a name is entered too
    const auto run = audit({"roms", "--dir", tree.root(), "--list", tree.path(kList), "--save", out.root()});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(out.read("unknown_roms.txt"),
              "Found 5 roms with unknown filename:\r\n(warning, these could be necessary archives too, like "
              "neogeo.zip)\r\n\r\nbad" + kReplacement + ".zip\r\nbell" + kReplacement + ".zip\r\ncarriage" +
                  kReplacement + "return.zip\r\ninner.zip\r\ntwo" + kReplacement + "lines.zip");
    EXPECT_NE(run.out.find("\ntwo" + kReplacement + "lines.zip\n"), std::string::npos);
}

// The raw bytes are compared, so a name that is not UTF-8 still finds its twin.
TEST_F(HostileTreeTest, RawNamesAreComparedAsTheDiskHasThem)
{
    tree.addFile("roms/bad\xFF.zip");
    tree.addFile("videos/bad\xFF.xmv");
    tree.addFile("videos/bad\xFE.xmv");
    const auto run = audit({"videos", "--dir", tree.root(), "--list", tree.path("absent"), "--available-only",
                            "--save", out.root()});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(out.read("valid_videos.txt"), "Found 1 videos with valid filename:\r\n\r\nbad" + kReplacement + ".xmv");
    EXPECT_EQ(out.read("unknown_videos.txt"),
              "Found 1 videos with unknown filename:\r\n\r\nbad" + kReplacement + ".xmv");
}

// Names from the disk, the DAT and the arguments reach the terminal only as
// the report lines show them, whichever command prints them: no control
// character but the line break (C1 ones included), no byte that is not UTF-8.
TEST(TerminalOutput, NoNameCanSteerTheTerminal)
{
    TempTree tree;
    const std::string evil = "\x1b]0;owned\x07\x1b[2J\r\xFF";
    tree.addFile("list.txt", "Alpha\n");
    tree.addFile("games.dat", "<datafile><game name=\"alpha\"><description>Alpha\xC2\x9B" "2J</description><rom "
                              "name=\"a.bin\" size=\"4\" crc=\"00000001\"/></game></datafile>");
    for (const std::string& name : {evil, std::string("Alpha")})
        tree.addFile("roms/" + name + ".zip", zipBytes({{"a.bin", 4, 1}}));
    const std::string common = " --dir '" + tree.root() + "' --list '" + tree.path("list.txt") + "' --no-cache --dat ";
    for (const std::string& command : {"identify roms" + common + "\"$1\"", "rename roms" + common + "\"$1\"",
                                       "roms" + common + "\"$1\"", "identify roms" + common + "\"$1\" --fixdat \"$2\"",
                                       "identify roms" + common + "\"$2\"", std::string("roms --dir \"$2\"")}) {
        const auto run = runProgram("/bin/sh", {"-c", "\"$0\" " + command, TOKENADE_AUDIT_PATH, tree.path("games.dat"),
                                                tree.path("roms/" + evil)});
        const std::string both = run.out + run.err;
        EXPECT_TRUE(isValidUtf8(both) && !both.empty()) << command;
        EXPECT_EQ(both.find_first_of(std::string("\x00\x07\x1b\r\x7f", 5)), std::string::npos) << both;
        EXPECT_EQ(both.find("\xC2\x9B"), std::string::npos) << both;
    }
}

}  // namespace
}  // namespace tokenade::testing
