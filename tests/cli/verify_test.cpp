#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace tokenade::testing {
namespace {

// One flipped data byte is found by the bytes, not by the directory; a
// file that is no zip does not stop the others being checked.
TEST(VerifyRoms, ReportsEachArchiveAndGoesOnPastTheBadOnes)
{
    TempTree tree;
    const std::string good = zipBytes({{"a.bin", 4096, 0x1234abcd}, {"b.bin", 100, 0x00c0ffee}});
    std::string flipped = good;
    flipped[30 + 5 + 1000] ^= 0x40;
    tree.addFile("roms/good.zip", good);
    tree.addFile("roms/flipped.zip", flipped);
    tree.addFile("roms/Sega/text.zip", "not an archive");
    const ProgramRun run = runProgram(TOKENADE_AUDIT_PATH, {"verify", "roms", "--dir", tree.root(), "--json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    std::map<std::string, std::string> states;
    for (const auto& archive : json["archives"])
        states[archive["path"]] = archive["state"];
    EXPECT_EQ(states, (std::map<std::string, std::string>{
                          {"roms/Sega/text.zip", "unreadable"}, {"roms/flipped.zip", "corrupt"}, {"roms/good.zip", "intact"}}));
    EXPECT_EQ(json["bytes_checked"], 2 * 4196);

    const ProgramRun text = runProgram(TOKENADE_AUDIT_PATH, {"verify", "roms", "--dir", tree.root()});
    EXPECT_NE(text.out.find("roms/flipped.zip: corrupt\n  a.bin: its data gives CRC "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("not CRC 1234abcd, as its central directory says\n"), std::string::npos) << text.out;

    tree.addFile("broken.dat", "<datafile><game>");
    const ProgramRun badDat = runProgram(TOKENADE_AUDIT_PATH,
                                         {"verify", "roms", "--dir", tree.root(), "--dat", tree.path("broken.dat")});
    EXPECT_EQ(badDat.exitStatus, 1);
    EXPECT_NE(badDat.err.find("broken.dat:"), std::string::npos) << badDat.err;
}

}  // namespace
}  // namespace tokenade::testing
