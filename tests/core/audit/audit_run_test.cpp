#include "core/audit/audit_run.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <map>

namespace tokenade {
namespace {

using testing::TempTree;

class AuditRunTest : public ::testing::Test {
protected:
    void addFiles(std::initializer_list<std::string_view> paths)
    {
        for (auto path : paths)
            tree.addFile(path);
    }
    void writeList(std::string_view contents) { tree.addFile("list.txt", contents); }

    AuditOutcome audit(AuditKind kind, bool availableOnly = false, std::stop_token stop = {})
    {
        statuses.clear();
        AuditProgress progress;
        progress.status = [&](std::string_view text) { statuses.emplace_back(text); };
        progress.stop = stop;
        const AuditInputs inputs{tree.root(), tree.path("list.txt"), availableOnly};
        return kind == AuditKind::Roms ? runRomAudit(inputs, progress) : runVideoAudit(inputs, progress);
    }

    // Every category as "key: name@folder, name", in display order.
    static std::string describe(const AuditOutcome& outcome)
    {
        if (!outcome.result)
            return "no result: " + outcome.listProblem.reason;
        std::string text;
        for (const ResultCategory& category : outcome.result->categories) {
            text += std::string(category.facts->key) + ":";
            for (const ResultEntry& entry : category.entries) {
                const std::string folder(outcome.result->folderOf(entry));
                text += " " + std::string(entry.name()) + (folder.empty() ? "" : "@" + folder);
            }
            text += "\n";
        }
        return text;
    }

    TempTree tree;
    std::vector<std::string> statuses;
};

TEST_F(AuditRunTest, RomAuditWorkedExample)
{
    writeList("delta\nalpha\nCharlie\necho\n");
    addFiles({"roms/ALPHA.zip", "roms/bravo.zip", "romsConsoles/charlie.ZIP", "roms16BitConsoles/sub/foxtrot.zip",
              "roms/readme.txt"});
    EXPECT_EQ(describe(audit(AuditKind::Roms)),
              "valid: alpha.zip@roms Charlie.zip@romsConsoles\n"
              "missing: delta.zip echo.zip\n"
              "unknown: bravo.zip@roms foxtrot.zip@roms16BitConsoles/sub\n");
    EXPECT_EQ(statuses, (std::vector<std::string>{"Caching Tokenade rom directories...",
                                                  "Caching supported rom list...", "Auditing roms..."}));
}

// Sorted as lines, "abc" comes before "abc (x)"; as archive names the order
// flips, and a line with "/" sorts by its last component but merges whole.
TEST_F(AuditRunTest, RewrittenNamesAreSortedAgainBeforeTheMerge)
{
    writeList("abc\nabc (x)\nz/aaa\nDr. Mario (Japan, USA)\n");
    addFiles({"roms/abc.zip", "roms/abc (x).zip", "roms/Dr.zip"});
    EXPECT_EQ(describe(audit(AuditKind::Roms)),
              "valid: abc (x).zip@roms abc.zip@roms Dr.zip@roms\nmissing: z/aaa.zip\nunknown:\n");
}

// "Dr.zip" alone does not say which game is missing; two lines may cut to it.
// A final period cuts nothing: "Super Mario Bros." is missing under its own name.
TEST_F(AuditRunTest, CutMissingNamesKeepTheirWholeListLine)
{
    writeList("Dr. Mario (Japan, USA)\nDR. Kawashima\nSuper Mario Bros.\nalpha\n");
    addFiles({"roms/alpha.zip", "roms/alpha.xmv"});
    const AuditOutcome roms = audit(AuditKind::Roms);
    std::map<std::string, std::string> lines;
    for (const auto& [entry, line] : roms.result->cutLines)
        lines[std::string(entry->name())] = line;
    EXPECT_EQ(lines, (std::map<std::string, std::string>{{"DR.zip", "DR. Kawashima"},
                                                        {"Dr.zip", "Dr. Mario (Japan, USA)"}}));
    EXPECT_EQ(audit(AuditKind::Videos, false).result->cutLines.size(), 2u);
    EXPECT_TRUE(audit(AuditKind::Videos, true).result->cutLines.empty());  // the archives are expected, not lines
}

TEST_F(AuditRunTest, VideoAuditWithAndWithoutTheCheckBox)
{
    writeList("alpha\nCharlie\ndelta\necho\ngolf\nlima");
    addFiles({"roms/alpha.zip", "roms/delta.zip", "romsConsoles/hotel.zip", "roms/kilo.zip"});
    addFiles({"videos/alpha.xmv", "videos/charlie.xmv", "videos3/golf.xmv", "videos/hotel.xmv",
              "videosextra/india.xmv", "videos/zulu.xmv"});
    EXPECT_EQ(describe(audit(AuditKind::Videos, true)),
              "valid: alpha.xmv@videos hotel.xmv@videos\nmissing: delta.xmv\n"
              "extra: charlie.xmv@videos golf.xmv@videos3\nunknown: india.xmv@videosextra zulu.xmv@videos\n");
    EXPECT_EQ(statuses[2], "Caching available rom list...");
    EXPECT_EQ(describe(audit(AuditKind::Videos, false)),
              "valid: alpha.xmv@videos Charlie.xmv@videos golf.xmv@videos3\n"
              "missing: delta.xmv echo.xmv lima.xmv\nextra:\n"
              "unknown: hotel.xmv@videos india.xmv@videosextra zulu.xmv@videos\n");
}

TEST_F(AuditRunTest, UnusableListGivesNoResultUnlessTheCheckBoxIsOn)
{
    addFiles({"roms/Alpha.zip", "roms/bravo.zip", "videos/ALPHA.xmv", "videos/zulu.xmv"});
    EXPECT_EQ(describe(audit(AuditKind::Roms)), "no result: not found");
    EXPECT_EQ(statuses, (std::vector<std::string>{"Caching Tokenade rom directories...",
                                                  "Caching supported rom list..."}));
    EXPECT_EQ(describe(audit(AuditKind::Videos)), "no result: not found");
    // With the check box on the archives are what is expected: the list only tells extra from unknown.
    EXPECT_EQ(describe(audit(AuditKind::Videos, true)),
              "valid: Alpha.xmv@videos\nmissing: bravo.xmv\nextra:\nunknown: zulu.xmv@videos\n");
}

// A batch of changes cut short leaves files under its hidden temporary names:
// each audit names those of its own folders, and no other hidden file.
TEST_F(AuditRunTest, FilesLeftByAnInterruptedBatchAreNamed)
{
    writeList("alpha");
    addFiles({"roms/Sega/.tokenade-1765288800-42-0-3.part", "roms/.tokenade-1765288800-42-0-1.part",
              "roms/.tokenade-notes.txt", "roms/tokenade-1765288800-42-0-2.part", "roms/.tokenade-.part",
              "roms/.tokenade-1-2-0-4.part/alpha.zip", "videos/.tokenade-1765288800-42-0-5.part"});
    const auto leftovers = [&](AuditKind kind) {
        std::string text;
        const AuditOutcome outcome = audit(kind, true);
        for (const AuditWarning& warning : outcome.result->warnings) {
            for (size_t i = 0; warning.kind == WarningKind::BatchLeftovers && i <= warning.examples.size(); ++i)
                text += i == 0 ? warning.message : " " + warning.examples[i - 1];
        }
        return text;
    };
    EXPECT_EQ(leftovers(AuditKind::Roms),
              "An interrupted batch left 2 temporary files; Undo removes them. "
              "roms/.tokenade-1765288800-42-0-1.part roms/Sega/.tokenade-1765288800-42-0-3.part");
    EXPECT_EQ(leftovers(AuditKind::Videos),
              "An interrupted batch left 1 temporary file; Undo removes it. videos/.tokenade-1765288800-42-0-5.part");
}

TEST_F(AuditRunTest, StoppedAuditGivesNothing)
{
    writeList("alpha");
    addFiles({"roms/alpha.zip"});
    std::stop_source stop;
    stop.request_stop();
    const AuditOutcome outcome = audit(AuditKind::Roms, false, stop.get_token());
    EXPECT_TRUE(outcome.stopped);
    EXPECT_FALSE(outcome.result.has_value());
}

}  // namespace
}  // namespace tokenade
