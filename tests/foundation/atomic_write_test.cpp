#include "platform/foundation/atomic_write.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::TempTree;

class AtomicWriteTest : public ::testing::Test {
protected:
    TempTree tree;
};

TEST_F(AtomicWriteTest, WritesNewFileAndReplacesOldOne)
{
    EXPECT_FALSE(writeFileAtomically(tree.path("report.txt"), "first").has_value());
    EXPECT_EQ(tree.read("report.txt"), "first");
    EXPECT_FALSE(writeFileAtomically(tree.path("report.txt"), "second").has_value());
    EXPECT_EQ(tree.read("report.txt"), "second");
    EXPECT_EQ(testing::listFolder(tree.root()), "report.txt\n");
}

TEST_F(AtomicWriteTest, FolderInTheWayKeepsItAndLeavesNoTemporaryFile)
{
    tree.addFile("report.txt/inside", "kept");
    const auto failure = writeFileAtomically(tree.path("report.txt"), "new");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, tree.path("report.txt"));
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_EQ(tree.read("report.txt/inside"), "kept");
    EXPECT_EQ(testing::listFolder(tree.root()), "report.txt\n");
}

TEST_F(AtomicWriteTest, ReadOnlyFolderKeepsTheOldFile)
{
    tree.addFile("out/report.txt", "old");
    tree.setMode("out", 0555);
    const std::string outcome = testing::runWithoutPrivileges([&] {
        const auto failure = writeFileAtomically(tree.path("out/report.txt"), "new");
        return failure ? failure->reason : std::string("written");
    });
    EXPECT_EQ(outcome, "Permission denied");
    EXPECT_EQ(tree.read("out/report.txt"), "old");
    EXPECT_EQ(testing::listFolder(tree.path("out")), "report.txt\n");
}

TEST_F(AtomicWriteTest, MissingFolderFails)
{
    EXPECT_TRUE(writeFileAtomically(tree.path("absent/report.txt"), "x").has_value());
}

}  // namespace
}  // namespace tokenade
