#include "core/foundation/atomic_write.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::TempTree;

TEST(AtomicWrite, WritesNewFileReplacesOldOneAndLeavesNoTemporaryFile)
{
    TempTree tree;
    EXPECT_FALSE(writeFileAtomically(tree.path("report.txt"), "first").has_value());
    EXPECT_FALSE(writeFileAtomically(tree.path("report.txt"), "second").has_value());
    EXPECT_EQ(tree.read("report.txt"), "second");
    {
        AtomicFile abandoned(tree.path("report.txt"));
        abandoned.write("never committed");
    }
    EXPECT_EQ(tree.read("report.txt"), "second");
    EXPECT_EQ(tree.list(), "report.txt\n");
}

TEST(AtomicWrite, FailureKeepsTheFormerFileAndSaysWhy)
{
    TempTree tree;
    tree.addFile("report.txt/inside", "kept");
    const auto failure = writeFileAtomically(tree.path("report.txt"), "new");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, tree.path("report.txt"));
    EXPECT_EQ(tree.read("report.txt/inside"), "kept");
    EXPECT_EQ(tree.list(), "report.txt\n");

    tree.addFile("out/report.txt", "old");
    tree.setMode("out", 0555);
    const std::string outcome = testing::runWithoutPrivileges([&] {
        const auto failed = writeFileAtomically(tree.path("out/report.txt"), "new");
        return failed ? failed->reason : std::string("written");
    });
    EXPECT_EQ(outcome, "Permission denied");
    EXPECT_EQ(tree.read("out/report.txt"), "old");
    EXPECT_TRUE(writeFileAtomically(tree.path("absent/report.txt"), "x").has_value());
}

}  // namespace
}  // namespace tokenade
