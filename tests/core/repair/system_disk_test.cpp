#include "core/repair/disk.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace tokenade {
namespace {

// What the kernel cannot do for a pipe (copy_file_range from it, fsync it) is
// done another way or is no failure: nothing is lost and nothing reported.
TEST(SystemDiskTest, CopiesFromAPipeAndFlushesItWithoutAFailure)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "Kirby’s Adventure (USA)", 25), 25);
    ::close(ends[1]);
    testing::TempTree tree;
    Disk& disk = systemDisk();
    int folder = -1;
    int copy = -1;
    ASSERT_EQ(disk.openFolder(tree.root(), folder) + disk.createFile(folder, "copy.zip", 0600, copy), 0);
    for (uint64_t copied = 1, pieces = 0; copied > 0 && pieces < 16; ++pieces)
        ASSERT_EQ(disk.copy(ends[0], copy, 8, copied), 0);
    EXPECT_EQ(disk.sync(ends[0]), 0);
    for (const int fd : {ends[0], copy, folder})
        disk.close(fd);
    EXPECT_EQ(tree.read("copy.zip"), "Kirby’s Adventure (USA)");
}

}  // namespace
}  // namespace tokenade
