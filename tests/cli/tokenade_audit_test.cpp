#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace tokenade::testing {
namespace {

const std::string kListName = "- Supported Games Lookup For Naming.txt";

class TokenadeAuditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        collection.addFile("docs/" + kListName, "Tetris\n\xC3\xA9t\xC3\xA9\n100% \"quoted\"\nCharlie\n");
        for (auto path : {"roms/Tetris.zip", "roms/sub/E\xCC\x81T\xC3\x89.zip", "romsConsoles/100% \"quoted\".zip",
                          "roms/zulu.zip", "videos/tetris.xmv", "videos2/charlie.xmv", "videos/omega.xmv"})
            collection.addFile(path);
    }

    ProgramRun audit(std::vector<std::string> arguments, bool unprivileged = false)
    {
        return runProgram(TOKENADE_AUDIT_PATH, arguments, unprivileged);
    }

    TempTree collection;
    TempTree out;
};

TEST_F(TokenadeAuditTest, RomAuditFindsTheListAndPrintsEveryCategory)
{
    const auto run = audit({"roms", "--dir", collection.root()});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("  valid:    3\n  missing:  1\n  unknown:  1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Found 3 roms with valid filename:\n\n100% \"quoted\".zip\n\xC3\xA9t\xC3\xA9.zip\n"
                           "Tetris.zip\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

// A mistyped list or folder gives results all the same, but never without a word.
TEST_F(TokenadeAuditTest, WarningsGoToStandardErrorAndIntoJson)
{
    collection.addFile("docs/" + kListName, "Dr. Mario (Japan, USA)\nTetris\n");
    collection.addFolder("roms/closed");
    collection.setMode("roms/closed", 0);
    auto run = audit({"roms", "--dir", collection.root(), "--summary"}, true);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "ROM audit\n  valid:    1\n  missing:  1\n  unknown:  3\n");
    EXPECT_EQ(run.err, "tokenade-audit: warning: 1 folder could not be read: the files in them may show as missing. "
                       "For example: roms/closed\n"
                       "tokenade-audit: warning: 1 list line has a period that starts an extension: the text after it "
                       "is cut off the file name expected. Either the file is renamed to that name, or the line is given "
                       "the extension (\"Dr. Mario (Japan, USA).zip\"), which makes it expect the whole title. "
                       "For example: \"Dr. Mario (Japan, USA)\" -> \"Dr.zip\"\n");
    run = audit({"videos", "--dir", collection.path("roms"), "--list", collection.path("docs/" + kListName), "--json",
                 "--summary"});
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["warnings"][0]["kind"], "no-video-folders");
    EXPECT_EQ(json["warnings"][0]["count"], 5);
    EXPECT_EQ(json["counts"]["missing"], 2);
    EXPECT_EQ(run.exitStatus, 0);
}

TEST_F(TokenadeAuditTest, JsonHoldsEveryNameInResultOrder)
{
    const auto run = audit({"videos", "--dir", collection.root(), "--available-only", "--json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["audit"], "videos");
    EXPECT_EQ(json["dir"], collection.root());
    EXPECT_EQ(json["list"], collection.path("docs/" + kListName));
    EXPECT_EQ(json["available_only"], true);
    EXPECT_EQ(json["categories"], nlohmann::json::parse(R"({"valid": ["Tetris.xmv"],
        "missing": ["100% \"quoted\".xmv", "E\u0301T\u00c9.xmv"], "extra": ["charlie.xmv"], "unknown": ["omega.xmv"]})"));
    EXPECT_EQ(json["folders"], nlohmann::json::parse(R"({"valid": ["videos"], "extra": ["videos2"], "unknown": ["videos"]})"));
}

// On a terminal the phases show on one line that is cleared at the end; in a
// pipe nothing shows (the other tests).
TEST_F(TokenadeAuditTest, ProgressShowsOnATerminalOnly)
{
    const std::string command = std::string(TOKENADE_AUDIT_PATH) + " roms --dir '" + collection.root() + "' > /dev/null";
    const auto run = runProgram("/usr/bin/script", {"-q", "-e", "-c", command, "/dev/null"});
    if (run.exitStatus == 127)
        GTEST_SKIP() << "no script(1) here";
    EXPECT_EQ(run.exitStatus, 0) << run.out;
    EXPECT_NE(run.out.find("\rCaching Tokenade rom directories... "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\rAuditing roms... "), std::string::npos) << run.out;
    EXPECT_TRUE(std::regex_search(run.out, std::regex("[1-9][0-9]* files seen"))) << run.out;
    EXPECT_EQ(run.out.substr(run.out.size() - 4), "\r\x1b[K");
}

TEST_F(TokenadeAuditTest, SavedReportsGoIntoANewFolder)
{
    const auto run = audit({"roms", "--dir", collection.root(), "--save", out.path("new/folder")});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(out.list("new/folder"), "missing_roms.txt\nunknown_roms.txt\nvalid_roms.txt\n");
    EXPECT_EQ(out.read("new/folder/missing_roms.txt"), "Found 1 missing roms:\r\n\r\nCharlie.zip");
}

TEST_F(TokenadeAuditTest, UnusableListExitsOneAndWritesNothing)
{
    const auto run = audit({"roms", "--dir", collection.root(), "--list", collection.path("absent.txt"), "--save",
                            out.root()});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "Can't find supported roms list or it is too big.\ntokenade-audit: " +
                           collection.path("absent.txt") + ": not found\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(out.list(), "");
}

// A full disk, made real: a small file system of its own, in a mount
// namespace of its own, filled to the last page before the save.
TEST_F(TokenadeAuditTest, FullFileSystemKeepsTheFormerReports)
{
    if (runProgram("/usr/bin/unshare", {"-m", "true"}).exitStatus != 0)
        GTEST_SKIP() << "cannot make a mount namespace here";
    const std::string script =
        "mount -t tmpfs -o size=256k tmpfs \"$0\" || exit 90\n"
        "printf former > \"$0/valid_roms.txt\"\n"
        "cat /dev/zero > \"$0/filler\" 2> /dev/null\n"
        "\"$1\" roms --dir \"$2\" --save \"$0\" > /dev/null 2> \"$3/err\"\n"
        "echo \"exit $?\"\n"
        "cat \"$0/valid_roms.txt\"; echo\n"
        "ls -A \"$0\"\n";
    const auto run = runProgram("/usr/bin/unshare", {"-m", "/bin/sh", "-c", script, out.root(), TOKENADE_AUDIT_PATH,
                                                    collection.root(), collection.root()});
    if (run.out.find("exit") == std::string::npos)
        GTEST_SKIP() << "cannot mount a file system here: " << run.err;
    EXPECT_EQ(run.out, "exit 3\nformer\nfiller\nvalid_roms.txt\n");
    EXPECT_NE(collection.read("err").find("No space left on device"), std::string::npos) << collection.read("err");
}

// Names that a careless CSV writer breaks; a name that is not UTF-8 keeps its bytes.
TEST_F(TokenadeAuditTest, CsvQuotesWhatNeedsItAndKeepsEveryByte)
{
    const std::string japanese = "\xE3\x82\xB9\xE3\x83\x88\xE3\x83\xAA\xE3\x83\xBC\xE3\x83\x88 (Japan).zip";
    for (const std::string& path : {"roms/Sega, Japan/" + japanese, std::string("roms/ lead.zip"),
                                    std::string("roms/line\nfeed.zip"), std::string("roms/Box /caf\xE9.zip")})
        collection.addFile(path);
    const auto run = audit({"roms", "--dir", collection.root(), "--format", "csv"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "category,name,folder\r\nvalid,\"100% \"\"quoted\"\".zip\",romsConsoles\r\n"
                       "valid,\xC3\xA9t\xC3\xA9.zip,roms/sub\r\nvalid,Tetris.zip,roms\r\nmissing,Charlie.zip,\r\n"
                       "unknown,\" lead.zip\",roms\r\nunknown,caf\xE9.zip,\"roms/Box \"\r\n"
                       "unknown,\"line\nfeed.zip\",roms\r\nunknown,zulu.zip,roms\r\n"
                       "unknown," + japanese + ",\"roms/Sega, Japan\"\r\n");
}

TEST_F(TokenadeAuditTest, OnlyLimitsJsonAndCsvButNotTheReportFiles)
{
    auto run = audit({"videos", "--dir", collection.root(), "--available-only", "--only", "unknown,extra", "--json"});
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["categories"], nlohmann::json::parse(R"({"extra": ["charlie.xmv"], "unknown": ["omega.xmv"]})"));
    EXPECT_EQ(json["folders"], nlohmann::json::parse(R"({"extra": ["videos2"], "unknown": ["videos"]})"));
    run = audit({"roms", "--dir", collection.root(), "--only", "missing", "--format", "csv", "--save", out.root()});
    EXPECT_EQ(run.out, "category,name,folder\r\nmissing,Charlie.zip,\r\n");
    EXPECT_EQ(out.list(), "missing_roms.txt\nunknown_roms.txt\nvalid_roms.txt\n");
}

// Good values give the counts of the categories named, in result order; bad
// ones, like any bad usage, say what is wrong and how the command is used.
TEST_F(TokenadeAuditTest, ArgumentsGoodAndBad)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"roms", "DIR", "--only", "unknown,valid", "--summary"}, "ROM audit\n  valid:    3\n  unknown:  1\n"},
        {{"roms", "DIR", "--only", "missing,missing"},
         "ROM audit\n  missing:  1\n\nFound 1 missing roms:\n\nCharlie.zip\n"},
        {{"videos", "DIR", "--available-only", "--only", "extra", "--summary"}, "Video audit\n  extra:    1\n"},
        {{"roms", "DIR", "--only", ""}, "--only: \"\" is not a category"},
        {{"roms", "DIR", "--only", "valid,"}, "--only: \"\" is not a category"},
        {{"roms", "DIR", "--only", "Valid"},
         "--only: \"Valid\" is not a category; choose from valid, missing, unknown\n"},
        {{"roms", "DIR", "--only", "valid, missing"}, "--only: \" missing\" is not a category"},
        {{"videos", "DIR", "--only", "valid,extra"}, "--only extra goes with videos --available-only\n"},
        {{"roms", "DIR", "--json", "--format", "csv"}, "--json and --format csv ask for two formats\n"},
        {{"roms", "DIR", "--format", "csv", "--summary"}, "--summary goes with text or JSON output\n"},
        {{"roms", "DIR", "--format", "xml"}, "--format: xml"},
        {{}, ""},
        {{"roms"}, "--dir is required"},
        {{"roms", "--dir", collection.path("absent")}, ""},
        {{"roms", "--dir", collection.path("roms/Tetris.zip")}, ""},
        {{"roms", "DIR", "--available-only"}, ""},
        {{"films", "DIR"}, ""},
        {{"rename", "films", "DIR"}, ""},
        {{"rename", "roms", "DIR", "--available-only"}, "--available-only goes with videos"},
        {{"roms", "DIR", "--fixdat", "f.xml"}, "--fixdat goes with --dat"},
        {{"fill", "videos", "DIR", "--from", "S", "--dat", "d.xml"}, "--dat goes with roms"},
        {{"identify", "roms", "DIR"}, "--dat is required"},
        {{"identify", "videos", "DIR", "--dat", "x"}, "kind: videos not in {roms}"},
    };
    for (auto [arguments, expected] : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        if (const auto dir = std::find(arguments.begin(), arguments.end(), "DIR"); dir != arguments.end()) {
            *dir = collection.root();
            arguments.insert(dir, "--dir");
        }
        const auto run = audit(arguments);
        if (expected.find(" audit\n") != std::string::npos) {
            EXPECT_EQ(run.exitStatus, 0) << run.err;
            EXPECT_EQ(run.out, expected);
        } else {
            EXPECT_EQ(run.exitStatus, 2);
            EXPECT_NE(run.err.find("tokenade-audit: " + expected), std::string::npos) << run.err;
            EXPECT_NE(run.err.find("usage: tokenade-audit"), std::string::npos) << run.err;
        }
    }
    EXPECT_EQ(audit({"roms", "--dir", collection.root(), "--json"}).out,
              audit({"roms", "--dir", collection.root(), "--format", "json"}).out);
    EXPECT_EQ(audit({"--help"}).exitStatus, 0);
    EXPECT_EQ(audit({"--version"}).out, "tokenade-audit 1.0.0\n");
}

// A full disk under the output must not pass for a whole report, nor for
// a whole list of the changes a dry run offers.
TEST_F(TokenadeAuditTest, OutputThatCannotBeWrittenExitsThree)
{
    for (const char* command : {"roms", "set-aside roms"}) {
        const auto run = runProgram("/bin/sh", {"-c", "\"$0\" " + std::string(command) + " --dir \"$1\" > /dev/full",
                                                TOKENADE_AUDIT_PATH, collection.root()});
        EXPECT_EQ(run.exitStatus, 3) << command;
        EXPECT_EQ(run.err, "tokenade-audit: cannot write standard output: No space left on device\n") << command;
    }
}

}  // namespace
}  // namespace tokenade::testing
