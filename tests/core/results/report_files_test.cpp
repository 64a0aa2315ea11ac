#include "core/results/report_files.h"

#include "tests/support/result_entries.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::TempTree;

class ReportFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        result = AuditResult::empty(AuditKind::Roms);
        result.categories[0].entries = testing::entriesOf(valid, 0);
        result.categories[2].entries = testing::entriesOf(unknown, 0);
    }

    TempTree tree;
    std::vector<std::string> valid{"\xC3\x89t\xC3\xA9.zip"};
    std::vector<std::string> unknown{"a.zip", "b.zip"};
    AuditResult result;
};

TEST_F(ReportFilesTest, EachCategoryInItsOwnFileAndNothingElseReplaced)
{
    tree.addFile("valid_roms.txt", "old");
    tree.addFile("valid_videos.txt", "other command");
    EXPECT_TRUE(saveReportFiles(tree.root(), result).empty());
    EXPECT_EQ(tree.read("valid_roms.txt"), "Found 1 roms with valid filename:\r\n\r\n\xC3\x89t\xC3\xA9.zip");
    EXPECT_EQ(tree.read("missing_roms.txt"), "Found 0 missing roms:\r\n\r\n");
    EXPECT_EQ(tree.read("unknown_roms.txt"),
              "Found 2 roms with unknown filename:\r\n(warning, these could be necessary archives too, like "
              "neogeo.zip)\r\n\r\na.zip\r\nb.zip");
    EXPECT_EQ(tree.read("valid_videos.txt"), "other command");
}

TEST_F(ReportFilesTest, FailedFileDoesNotStopTheOthers)
{
    tree.addFile("missing_roms.txt/blocker", "");
    const auto failures = saveReportFiles(tree.root(), result);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].path, tree.path("missing_roms.txt"));
    EXPECT_EQ(tree.list(), "missing_roms.txt\nunknown_roms.txt\nvalid_roms.txt\n");
}

}  // namespace
}  // namespace tokenade
