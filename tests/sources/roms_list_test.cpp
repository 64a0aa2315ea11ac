#include "sources/roms_list.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace tokenade {
namespace {

using namespace std::string_literals;
using testing::TempTree;

class RomsListTest : public ::testing::Test {
protected:
    std::optional<NameList> readList(std::string_view contents)
    {
        tree.addFile("list.txt", contents);
        return cacheRomsListFile(tree.path("list.txt"));
    }

    TempTree tree;
};

TEST_F(RomsListTest, CrLfSplittingKeepsSpacesAndCase)
{
    EXPECT_EQ(readList("alpha\r\n\r\nbeta \r\nGamma"), (NameList{"alpha", "beta ", "Gamma"}));
}

TEST_F(RomsListTest, EveryNewlineCharacterEndsALine)
{
    const auto names = readList("a\nb\vc\fd\re\xC2\x85" "f\xE2\x80\xA8g\xE2\x80\xA9h");
    EXPECT_EQ(names, (NameList{"a", "b", "c", "d", "e", "f", "g", "h"}));
}

TEST_F(RomsListTest, LinesAreSortedRepeatsKeptAndSpacesAreNames)
{
    EXPECT_EQ(readList("zulu\nroms/alpha\n  \nbeta\nbeta\n"), (NameList{"  ", "roms/alpha", "beta", "beta", "zulu"}));
}

TEST_F(RomsListTest, OnlyLineBreaksOrNoBytesGiveAnEmptyList)
{
    EXPECT_EQ(readList("\r\n\n\r"), NameList{});
    EXPECT_EQ(readList(""), NameList{});
}

TEST_F(RomsListTest, Utf16ListWithMarkIsRead)
{
    EXPECT_EQ(readList("\xFF\xFE" "b\0\n\0a\0"s), (NameList{"a", "b"}));
}

TEST_F(RomsListTest, SizeLimitIsInclusive)
{
    std::string atLimit(kRomsListSizeLimit, 'a');
    atLimit[10] = '\n';
    const auto read = readList(atLimit);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->size(), 2u);
    EXPECT_FALSE(readList(atLimit + "a").has_value());
}

TEST_F(RomsListTest, UnusableItemsGiveNoList)
{
    tree.addFile("real.txt", "alpha");
    tree.addLink("link.txt", "real.txt");
    tree.addLink("dangling.txt", "absent.txt");
    tree.addFolder("folder.txt");
    tree.addFifo("fifo.txt");
    tree.addFile("latin1.txt", "caf\xE9");
    for (const char* name : {"link.txt", "dangling.txt", "folder.txt", "fifo.txt", "absent.txt", "latin1.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(cacheRomsListFile(tree.path(name)).has_value());
    }
    EXPECT_FALSE(cacheRomsListFile("").has_value());
    EXPECT_FALSE(cacheRomsListFile("/dev/null").has_value());
}

TEST_F(RomsListTest, UnreadableFileGivesNoList)
{
    tree.addFile("closed.txt", "alpha");
    tree.setMode("closed.txt", 0);
    const std::string outcome = testing::runWithoutPrivileges(
        [&] { return cacheRomsListFile(tree.path("closed.txt")) ? "list" : "none"; });
    EXPECT_EQ(outcome, "none");
}

// A list that another program is still writing: whatever the read catches, it
// never takes more than the limit, and a list past the limit is refused.
TEST_F(RomsListTest, ListGrowingWhileItIsRead)
{
    tree.addFile("growing.txt", std::string(kRomsListSizeLimit - 100, 'a'));
    std::thread writer([&] {
        std::ofstream out(tree.path("growing.txt"), std::ios::app | std::ios::binary);
        for (int i = 0; i < 20000; ++i)
            out << "\nmore names" << std::flush;
    });
    for (int read = 0; read < 50; ++read) {
        const auto names = cacheRomsListFile(tree.path("growing.txt"));
        if (!names)
            continue;
        size_t bytes = 0;
        for (const auto& name : *names)
            bytes += name.size() + 1;
        EXPECT_LE(bytes, kRomsListSizeLimit + 1);
    }
    writer.join();
    EXPECT_FALSE(cacheRomsListFile(tree.path("growing.txt")).has_value());
}

}  // namespace
}  // namespace tokenade
