#include "core/content/dat_reader.h"
#include "core/content/sets/set_rules.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace tokenade::testing {
namespace {

// Real machines of the extract, each archive built exactly in its form.
class ArcadeSetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("XDG_CACHE_HOME", home.path("cache").c_str(), 1);
        ::setenv("XDG_STATE_HOME", home.path("state").c_str(), 1);
        DatRead read = readDatFile(datPath);
        ASSERT_TRUE(read.dat) << read.problem.message();
        dat = std::move(read.dat);
        rules.emplace(*dat);
    }

    // In `tree`, per set of `sets` (a path without ".zip", a machine, a form)
    // the machine's archive in that form, its set's roms.
    using Sets = std::vector<std::tuple<std::string, std::string, SetForm>>;
    void addSets(const TempTree& tree, const Sets& sets) const
    {
        for (const auto& [path, machine, form] : sets) {
            std::vector<ZipFile> files;
            for (const SetRom& rom : rules->contents(rules->machineNamed(machine), form).roms) {
                const DatRom& entry = dat->roms[rom.rom];
                files.push_back({std::string(entry.name), entry.key.size, entry.key.crc});
            }
            tree.addFile(path + ".zip", zipBytes(files));
        }
    }

    ProgramRun run(const std::string& command, std::vector<std::string> more = {}) const
    {
        std::vector<std::string> arguments{command, "roms", "--dir", collection.root(), "--list",
                                           collection.path("list.txt"), "--dat", datPath};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runProgram(TOKENADE_AUDIT_PATH, arguments);
    }

    const std::string datPath = TOKENADE_TEST_DATA "/arcade/mame_0251_extract.xml";
    TempTree collection;
    TempTree source;
    TempTree home;  // the caches, the journals and the fixdat
    std::optional<DatIndex> dat;
    std::optional<SetRules> rules;
};

// Sets under their titles take their short names; then the missing ones in
// the collection's form come with the needs it lacks, never one in another
// form nor beside an archive of its name; both batches undone exactly.
TEST_F(ArcadeSetsTest, SetsTakeTheirShortNamesTheMissingAreFilledWithTheirNeedsAndAllIsUndone)
{
    collection.addFile("list.txt", "puckman\npacman\ncterrani\n1942\n1942a\nxeviousa\ncexplore\nhangly\n");
    addSets(collection, {{"roms/puckman", "puckman", SetForm::Split}, {"roms/Pac-Man (Midway)", "pacman", SetForm::Split},
                         {"roms/Terranean (DECO Cassette) (US)", "cterrani", SetForm::Split},
                         {"roms/1942", "1942", SetForm::NonMerged}, {"roms/1942 (Revision A)", "1942a", SetForm::NonMerged}});
    collection.addFile("roms/namco51.zip", zipBytes({{"x.bin", 10, 1}}));
    addSets(source, {{"Xevious (Atari, harder)", "xeviousa", SetForm::Split}, {"parents/xevious", "xevious", SetForm::Split},
                     {"chips/namco50", "namco50", SetForm::Split}, {"chips/namco51", "namco51", SetForm::Split},
                     {"cexplore", "cexplore", SetForm::Split}, {"bios/DECO Cassette System", "decocass", SetForm::Split},
                     {"Hangly-Man (set 1)", "hangly", SetForm::NonMerged}});
    const std::string before = collection.state();

    const auto renamed = run("rename", {"--apply"});
    ASSERT_EQ(renamed.exitStatus, 0) << renamed.out << renamed.err;
    EXPECT_EQ(collection.list("roms"), "1942.zip\n1942a.zip\ncterrani.zip\nnamco51.zip\npacman.zip\npuckman.zip\n");
    const auto filled = run("fill", {"--from", source.root(), "--apply"});
    ASSERT_EQ(filled.exitStatus, 0) << filled.out << filled.err;
    EXPECT_EQ(collection.list("roms"), "1942.zip\n1942a.zip\ncexplore.zip\ncterrani.zip\ndecocass.zip\nnamco50.zip\n"
                                       "namco51.zip\npacman.zip\npuckman.zip\nxevious.zip\nxeviousa.zip\n");
    EXPECT_NE(filled.out.find("\"bios/DECO Cassette System.zip\" -> \"" + collection.path("roms/decocass.zip") +
                              "\"  [content: holds DECO Cassette System, the BIOS that cexplore needs, "),
              std::string::npos) << filled.out;
    for (int batch = 0; batch < 2; ++batch)
        EXPECT_EQ(runProgram(TOKENADE_AUDIT_PATH, {"undo", "--dir", collection.root()}).exitStatus, 0);
    EXPECT_EQ(collection.state(), before);
}

// A split collection's fixdat: clones with their own roms alone, then the
// parent, BIOS and devices missing; non-merged, clones hold their parent's.
TEST_F(ArcadeSetsTest, FixdatWritesTheMissingSetsInTheCollectionsFormWithWhatTheyNeed)
{
    collection.addFile("list.txt", "puckman\npacman\nhangly\nkof98a\ngalaga\n");
    addSets(collection, {{"roms/puckman", "puckman", SetForm::Split}, {"roms/pacman", "pacman", SetForm::Split}});
    const auto fixdatOf = [&](std::vector<std::string> more) {
        more.insert(more.end(), {"--fixdat", home.path("fix.xml")});
        const auto made = run("identify", more);
        EXPECT_EQ(made.exitStatus, 0) << made.err;
        const DatRead fixdat = readDatFile(home.path("fix.xml"));
        std::string games;  // "+" after a game with more roms than its own, BIOSes and devices marked
        for (const DatGame& game : fixdat.dat->games) {
            const size_t own = rules->contents(rules->machineNamed(game.name), SetForm::Split).roms.size();
            games += std::string(game.name) + (game.isBios ? "/bios" : "") + (game.isDevice ? "/device" : "") +
                     (fixdat.dat->romsOf(game).size() == own ? " " : "+ ");
        }
        return games + made.err.substr(made.err.rfind(": ") + 2);
    };
    EXPECT_EQ(fixdatOf({}),
              "hangly kof98a galaga kof98 neogeo/bios namco51/device namco54/device 7 missing sets, split, 4 of them needed by the others\n");
    // Non-merged, the split clone lacks its parent's roms: missing too.
    EXPECT_EQ(fixdatOf({"--sets", "non-merged"}),
              "pacman+ hangly+ kof98a+ galaga neogeo/bios namco51/device namco54/device 7 missing sets, non-merged, 3 of them needed by the "
              "others\n");
}

}  // namespace
}  // namespace tokenade::testing
