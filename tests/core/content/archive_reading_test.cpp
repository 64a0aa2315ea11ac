#include "core/content/archive_reading.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

namespace tokenade::testing {
namespace {

class ArchiveReadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        source.addFile("top.ZIP", zipBytes({{"a.bin", 4, 1}, {"readme.txt", 9, 2}}));
        source.addFile("deep/er/b.zip", zipBytes({{"b.bin", 4, 3}}));
        source.addFile("deep/notes.txt", "not an archive");
        source.addLink("link.zip", "top.ZIP");
        choice.path = cache.path("contents.cache");
    }
    ArchiveSet read(std::stop_token stop = {})
    {
        ContentProgress progress{&found, &done, stop};
        return readSourceArchives(source.root(), choice, progress);
    }

    TempTree source;
    TempTree cache;
    CacheChoice choice;
    std::atomic<size_t> found{0};
    std::atomic<size_t> done{0};
};

// A planner's source folder: every zip at any depth but links, with
// progress; read again from the cache, whose entries get their names back
// when asked.
TEST_F(ArchiveReadingTest, ReadsASourceFolderThenItsCache)
{
    ArchiveSet first = read();
    ASSERT_EQ(first.archives.size(), 2u);
    EXPECT_EQ(first.pathOf(first.archives[0]), "top.ZIP");  // by folder, the top one first
    EXPECT_EQ(first.pathOf(first.archives[1]), "deep/er/b.zip");
    EXPECT_EQ(first.opened, 2u);
    EXPECT_EQ(found, 2u);
    EXPECT_EQ(done, 2u);

    const std::string written = cache.state();
    ArchiveSet second = read();
    EXPECT_EQ(second.opened, 0u);
    EXPECT_EQ(cache.state(), written);  // an unchanged folder's cache is not written again
    FoundArchive& top = second.archives[0];
    ASSERT_TRUE(top.fromCache);
    EXPECT_EQ(top.contents.entries[1].crc, 2u);
    EXPECT_EQ(top.contents.entries[1].name, "");
    nameEntries(source.root(), second, top);
    EXPECT_EQ(top.contents.entries[1].name, "readme.txt");

    std::stop_source stop;
    stop.request_stop();
    EXPECT_TRUE(read(stop.get_token()).stopped);
}

}  // namespace
}  // namespace tokenade::testing
