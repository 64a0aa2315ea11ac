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

class SummaryCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("XDG_CACHE_HOME", home.path("cache").c_str(), 1);
        collection.addFile("list.txt", "alpha\nbravo\ncharlie\n");
        collection.addFile("roms/alpha.zip");
        collection.addFile("roms/junk.zip");
        collection.addFile("romsConsoles/Genesis/A-F/bravo.zip");
    }
    ProgramRun run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.end(), {"--dir", collection.root(), "--list", collection.path("list.txt")});
        return runProgram(TOKENADE_AUDIT_PATH, arguments);
    }

    TempTree collection, home;
};

TEST_F(SummaryCommand, ByFolderAsTextJsonAndCsv)
{
    EXPECT_EQ(run({"roms", "--summary", "--by-system"}).out,
              "Systems by rom folder\n"
              "system                valid  missing  unknown\n"
              "roms                      1        -        1\n"
              "romsConsoles/Genesis      1        -        0\n"
              "(all)                     2        1        1\n");
    const auto json = nlohmann::json::parse(run({"roms", "--summary", "--by-system", "--json"}).out);
    EXPECT_EQ(json["by"], "folder");
    EXPECT_EQ(json["systems"][0], (nlohmann::json{{"system", "roms"}, {"kind", "folder"}, {"valid", 1},
                                                  {"missing", nullptr}, {"unknown", 1}}));
    EXPECT_EQ(json["systems"][2]["system"], nullptr);
    EXPECT_EQ(run({"roms", "--summary", "--by-system", "--format", "csv"}).out,
              "system,kind,valid,missing,unknown\r\nroms,folder,1,,1\r\nromsConsoles/Genesis,folder,1,,0\r\n"
              ",all,2,1,1\r\n");
    for (const std::vector<std::string>& refused : {std::vector<std::string>{"roms", "--by-system"},
                                                    {"roms", "--summary", "--by-system", "--only", "valid"},
                                                    {"videos", "--summary", "--by-system"}}) {
        SCOPED_TRACE(refused.back());
        EXPECT_EQ(run(refused).exitStatus, 2);
    }
}

// A split set of the real catalogue that lacks its BIOS counts as needing
// one, in the one DAT's row, by identify as by the audit with --dat.
TEST_F(SummaryCommand, ByDatCountsASetThatNeedsItsBios)
{
    const std::string dat = TOKENADE_TEST_DATA "/arcade/mame_0251_extract.xml";
    const DatIndex extract = std::move(*readDatFile(dat).dat);
    const SetRules rules(extract);
    std::vector<ZipFile> files;
    for (const SetRom& rom : rules.contents(rules.machineNamed("orlegend"), SetForm::Split).roms)
        files.push_back({std::string(extract.roms[rom.rom].name), extract.roms[rom.rom].key.size,
                         extract.roms[rom.rom].key.crc});
    collection.addFile("list.txt", "orlegend\nalpha\n");
    collection.addFile("roms/orlegend.zip", zipBytes(files));

    const ProgramRun identified = run({"identify", "roms", "--summary", "--json", "--dat", dat});
    ASSERT_EQ(identified.exitStatus, 0) << identified.err;
    const auto rows = nlohmann::json::parse(identified.out)["systems"];
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["kind"], "dat");
    EXPECT_EQ(rows[0]["valid"], 1);
    EXPECT_EQ(rows[0]["correct"], 0);
    EXPECT_EQ(rows[0]["needs_other"], 1);
    EXPECT_EQ(rows[1]["valid"], 1);  // alpha, in no DAT
    EXPECT_EQ(rows[1]["unknown"], 2);
    EXPECT_EQ(rows[1]["correct"], nullptr);
    const std::string text = run({"roms", "--summary", "--by-system", "--dat", dat}).out;
    EXPECT_NE(text.find("needs parent/BIOS/device  not on list\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n(no DAT) "), std::string::npos) << text;
}

}  // namespace
}  // namespace tokenade::testing
