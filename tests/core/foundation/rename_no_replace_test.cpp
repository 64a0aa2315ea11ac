#include "core/foundation/rename_no_replace.h"

#include "core/foundation/folder_reader.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>

namespace tokenade {
namespace {

using testing::TempTree;

// The kernel's rename and the fallback by linking must behave alike.
class RenameNoReplaceTest : public ::testing::TestWithParam<int (*)(int, const std::string&, const std::string&)> {
protected:
    int rename(const std::string& from, const std::string& to)
    {
        const int fd = openFolder(tree.root(), false);
        const int error = GetParam()(fd, from, to);
        ::close(fd);
        return error;
    }

    TempTree tree;
};

TEST_P(RenameNoReplaceTest, RenamesAFile)
{
    tree.addFile("Dr Mario.zip", "mario");
    EXPECT_EQ(rename("Dr Mario.zip", "Dr. Mario (Japan, USA).zip"), 0);
    EXPECT_EQ(tree.list(), "Dr. Mario (Japan, USA).zip\n");
    EXPECT_EQ(tree.read("Dr. Mario (Japan, USA).zip"), "mario");
}

TEST_P(RenameNoReplaceTest, NeverReplacesWhatHasTheNewName)
{
    tree.addFile("Tetris.zip", "mine");
    tree.addFile("Tetris (World).zip", "theirs");
    tree.addFolder("Kirby (USA).zip");
    tree.addLink("Zelda.zip", "absent");
    for (const char* taken : {"Tetris (World).zip", "Kirby (USA).zip", "Zelda.zip"}) {
        SCOPED_TRACE(taken);
        EXPECT_EQ(rename("Tetris.zip", taken), EEXIST);
    }
    EXPECT_EQ(tree.read("Tetris.zip"), "mine");
    EXPECT_EQ(tree.read("Tetris (World).zip"), "theirs");
    EXPECT_EQ(rename("Absent.zip", "Other.zip"), ENOENT);
    EXPECT_EQ(tree.list(), "Kirby (USA).zip\nTetris (World).zip\nTetris.zip\nZelda.zip\n");
}

INSTANTIATE_TEST_SUITE_P(BothWays, RenameNoReplaceTest, ::testing::Values(&renameNoReplace, &renameByLinking));

}  // namespace
}  // namespace tokenade
