#include "core/audit/audit_run.h"
#include "core/summary/system_summary.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

namespace tokenade::testing {
namespace {

// A row as a test expects it: the counts of the first columns, in their order.
struct Row {
    SystemKind kind;
    std::string name;
    std::vector<size_t> counts;
};

void expectRows(const SystemSummary& summary, const std::vector<Row>& rows)
{
    ASSERT_EQ(summary.systems.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i) + " " + rows[i].name);
        EXPECT_EQ(summary.systems[i].kind, rows[i].kind);
        EXPECT_EQ(summary.systems[i].name, rows[i].name);
        for (size_t column = 0; column < rows[i].counts.size(); ++column)
            EXPECT_EQ(summary.systems[i][kSystemColumns[column].count], rows[i].counts[column])
                << kSystemColumns[column].key;
    }
}

class SystemSummaryTest : public ::testing::Test {
protected:
    void writeList(const std::string& lines) { tree.addFile("list.txt", lines); }
    void addArchive(const std::string& path, const std::vector<ZipFile>& files = {}) { tree.addFile(path, zipBytes(files)); }
    AuditResult audit() { return std::move(*runRomAudit({tree.root(), tree.path("list.txt")}, {}).result); }

    TempTree tree;
};

// Missing games lie in no folder: only the whole collection's row knows them.
TEST_F(SystemSummaryTest, ByFolderCountsEachRomFolderAndFirstSubfolder)
{
    writeList("alpha\nbravo\ncharlie\ndelta\n");
    addArchive("roms/alpha.zip");
    addArchive("roms/junk.zip");
    addArchive("romsConsoles/charlie.zip");
    addArchive("romsConsoles/Genesis/x.zip");
    // A folder of the system below one that sorts between it and its own subfolders.
    addArchive("romsConsoles/Genesis 2/y.zip");
    addArchive("romsConsoles/Genesis/A-F/bravo.zip");

    const SystemSummary summary = summarizeByFolder(audit());
    EXPECT_FALSE(summary.byDat);
    expectRows(summary, {{SystemKind::Folder, "roms", {1, 0, 1}},
                         {SystemKind::Folder, "romsConsoles", {1, 0, 0}},
                         {SystemKind::Folder, "romsConsoles/Genesis", {1, 0, 1}},
                         {SystemKind::Folder, "romsConsoles/Genesis 2", {0, 0, 1}},
                         {SystemKind::All, "", {3, 1, 3}}});
    EXPECT_FALSE(isKnown(SystemKind::Folder, SystemCount::Missing));
}

std::string game(const std::string& name, const std::vector<ZipFile>& roms)
{
    std::string text = "<game name=\"" + name + "\"><description>" + name + "</description>";
    for (const ZipFile& rom : roms) {
        char crc[9];
        std::snprintf(crc, sizeof crc, "%08x", rom.crc);
        text += "<rom name=\"" + rom.name + "\" size=\"" + std::to_string(rom.size) + "\" crc=\"" + crc + "\"/>";
    }
    return text + "</game>\n";
}

std::string datNamed(const std::string& name, const std::string& games)
{
    return "<?xml version=\"1.0\"?>\n<datafile><header><name>" + name + "</name></header>\n" + games + "</datafile>\n";
}

// Every line, archive and game counts for the DAT of its game, one that two
// DATs list alike for both but once in the whole; what no DAT knows apart.
TEST_F(SystemSummaryTest, ByDatCountsEachDatByTheGamesOfItsLinesAndArchives)
{
    const ZipFile a{"a", 4, 1}, b1{"b1", 4, 2}, b2{"b2", 4, 0x22}, c{"c", 4, 3}, d{"d", 4, 4}, e{"e", 4, 5},
        f{"f", 4, 6}, g{"g", 4, 7}, k{"k", 4, 9};
    tree.addFile("dats/arcade.dat", datNamed("Arcade", game("alpha", {a}) + game("bravo", {b1, b2}) +
                                                           game("echo", {e}) + game("kilo", {k})));
    tree.addFile("dats/console.dat", datNamed("Console", game("charlie", {c}) + game("delta", {d}) +
                                                             game("foxtrot", {f}) + game("golf", {g}) +
                                                             game("kilo", {k})));
    writeList("alpha\nbravo\ncharlie\ndelta\nhotel\nkilo\n");
    addArchive("roms/alpha.zip", {a});
    addArchive("roms/bravo.zip", {b1});  // incomplete
    addArchive("roms/x.zip", {c});       // charlie under another name
    addArchive("roms/junk.zip", {{"j", 4, 0x99}});
    addArchive("romsConsoles/echo.zip", {e});
    addArchive("romsConsoles/kilo.zip", {k});

    const BasisAndArchives content =
        readAndIdentify({tree.root(), false, {tree.path("dats")}, tree.path("list.txt"), {false, ""}});
    ASSERT_TRUE(content.read.basis);
    const SystemSummary summary = summarizeByDat(audit(), *content.read.basis, content.identified);
    EXPECT_TRUE(summary.byDat);
    // valid, missing, unknown, correct, incomplete, needs other, not on list
    expectRows(summary, {{SystemKind::Dat, "Arcade", {3, 0, 1, 2, 1, 0, 1}},
                         {SystemKind::Dat, "Console", {1, 2, 1, 1, 0, 0, 2}},
                         {SystemKind::NoDat, "", {0, 1, 1}},
                         {SystemKind::All, "", {3, 3, 3, 2, 1, 0, 3}}});
}

}  // namespace
}  // namespace tokenade::testing
