#include "results/report_files.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::TempTree;

class ReportFilesTest : public ::testing::Test {
protected:
    std::vector<WriteError> saveRoms(const std::string& folder)
    {
        const NameList* lists[] = {&valid, &missing, &unknown};
        return saveReportFiles(folder, kRomCategories, lists);
    }

    TempTree tree;
    NameList valid{"\xC3\x89t\xC3\xA9.zip"};
    NameList missing;
    NameList unknown{"a.zip", "b.zip"};
};

TEST_F(ReportFilesTest, EachCategoryInItsFileWithTheFileHeader)
{
    EXPECT_TRUE(saveRoms(tree.root()).empty());
    EXPECT_EQ(tree.read("valid_roms.txt"), "Found 1 roms with valid filename:\r\n\r\n\xC3\x89t\xC3\xA9.zip");
    EXPECT_EQ(tree.read("missing_roms.txt"), "Found 0 missing roms:\r\n\r\n");
    EXPECT_EQ(tree.read("unknown_roms.txt"),
              "Found 2 roms with unknown filename:\r\n(warning, these could be necessary archives too, like "
              "neogeo.zip)\r\n\r\na.zip\r\nb.zip");
}

TEST_F(ReportFilesTest, ReplacesItsOwnFilesOnly)
{
    tree.addFile("valid_roms.txt", "old");
    tree.addFile("valid_videos.txt", "other command");
    tree.addFile("notes.txt", "mine");
    EXPECT_TRUE(saveRoms(tree.root()).empty());
    EXPECT_NE(tree.read("valid_roms.txt"), "old");
    EXPECT_EQ(tree.read("valid_videos.txt"), "other command");
    EXPECT_EQ(tree.read("notes.txt"), "mine");
}

TEST_F(ReportFilesTest, FailedFileDoesNotStopTheOthers)
{
    tree.addFile("missing_roms.txt/blocker", "");
    const auto failures = saveRoms(tree.root());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].path, tree.path("missing_roms.txt"));
    EXPECT_TRUE(tree.exists("valid_roms.txt"));
    EXPECT_TRUE(tree.exists("unknown_roms.txt"));
    EXPECT_EQ(testing::listFolder(tree.root()), "missing_roms.txt\nunknown_roms.txt\nvalid_roms.txt\n");
}

}  // namespace
}  // namespace tokenade
