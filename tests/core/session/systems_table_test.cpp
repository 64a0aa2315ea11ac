#include "core/audit/audit_run.h"
#include "core/session/systems_table.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

namespace tokenade::testing {
namespace {

std::string datOf(const std::string& name, const std::vector<std::pair<std::string, ZipFile>>& games)
{
    std::string text = "<?xml version=\"1.0\"?>\n<datafile><header><name>" + name + "</name></header>\n";
    for (const auto& [game, rom] : games) {
        char crc[9];
        std::snprintf(crc, sizeof crc, "%08x", rom.crc);
        text += "<game name=\"" + game + "\"><description>" + game + "</description><rom name=\"" + rom.name +
                "\" size=\"" + std::to_string(rom.size) + "\" crc=\"" + crc + "\"/></game>\n";
    }
    return text + "</datafile>\n";
}

// The names of a part are those its row counts: by DAT the lines and the
// archives of that DAT's games, the rest under no DAT; the All row stands
// for the whole category, and what a row cannot know has no names.
TEST(SystemsTableTest, APartOfADatRowStandsForTheNamesOfItsGames)
{
    TempTree tree;
    const ZipFile a{"a", 4, 1}, b{"b", 4, 2}, c{"c", 4, 3};
    tree.addFile("dats/arcade.dat", datOf("Arcade", {{"alpha", a}, {"bravo", b}}));
    tree.addFile("dats/console.dat", datOf("Console", {{"charlie", c}}));
    tree.addFile("list.txt", "alpha\nbravo\ncharlie\nhotel\n");
    tree.addFile("roms/alpha.zip", zipBytes({a}));
    tree.addFile("roms/x.zip", zipBytes({c}));  // charlie under another name
    tree.addFile("roms/junk.zip", zipBytes({{"j", 4, 9}}));
    auto result = std::make_shared<const AuditResult>(
        std::move(*runRomAudit({tree.root(), tree.path("list.txt")}, {}).result));
    auto content = std::make_shared<const BasisAndArchives>(
        readAndIdentify({tree.root(), false, {tree.path("dats")}, tree.path("list.txt"), {false, ""}}));
    ASSERT_TRUE(content->read.basis);
    const SystemsTable table = systemsByDat(result, content);
    ASSERT_EQ(table.summary.systems.size(), 4u);  // Arcade, Console, no DAT, All

    const auto names = [&](size_t row, SystemCount count) {
        std::string shown;
        const std::optional<SystemScope> scope = scopeOf(table, row, count);
        if (!scope)
            return std::string("none");
        const ResultList& list = result->list(scope->category);
        if (!scope->positions)
            return "all " + std::to_string(list.size());
        for (const uint32_t at : *scope->positions)
            shown += std::string(list[at].name()) + " ";
        return shown;
    };
    EXPECT_EQ(names(0, SystemCount::Missing), "bravo.zip ");
    EXPECT_EQ(names(1, SystemCount::Missing), "charlie.zip ");
    EXPECT_EQ(names(1, SystemCount::Unknown), "x.zip ");
    EXPECT_EQ(names(2, SystemCount::Unknown), "junk.zip ");
    EXPECT_EQ(names(2, SystemCount::Missing), "hotel.zip ");
    EXPECT_EQ(names(3, SystemCount::Missing), "all 3");
    EXPECT_EQ(names(0, SystemCount::Correct), "none");  // archives by content are no names of the results
    EXPECT_EQ(names(2, SystemCount::Correct), "none");
    EXPECT_EQ(scopeOf(table, 0, SystemCount::Missing)->system, "the DAT \u201C" "Arcade\u201D");
}

}  // namespace
}  // namespace tokenade::testing
