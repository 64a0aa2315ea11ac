#include "core/sources/roms_list.h"

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
    std::vector<std::string_view> lines(std::string_view contents)
    {
        tree.addFile("list.txt", contents);
        read = cacheRomsListFile(tree.path("list.txt"));
        EXPECT_TRUE(read.list) << read.problem.reason;
        return read.list ? read.list->lines : std::vector<std::string_view>{};
    }
    std::string problemWith(const std::string& name) { return cacheRomsListFile(tree.path(name)).problem.reason; }

    TempTree tree;
    RomsListRead read;
};

TEST_F(RomsListTest, EveryNewlineEndsALineAndEmptyPiecesAreSkipped)
{
    using Lines = std::vector<std::string_view>;
    const std::string dashed = "Dr. Mario \xE2\x80\x93 Don\xE2\x80\x99t \xE2\x82\xA9";  // no newlines among them
    EXPECT_EQ(lines("Tetris\r\n\r\n Zelda \r\n" + dashed), (Lines{"Tetris", " Zelda ", dashed}));
    EXPECT_EQ(lines("a\nb\vc\fd\re\xC2\x85" "f\xE2\x80\xA8g\xE2\x80\xA9h"), (Lines{"a", "b", "c", "d", "e", "f", "g", "h"}));
    EXPECT_EQ(lines("zulu\n  \nbeta\nbeta\n"), (Lines{"zulu", "  ", "beta", "beta"}));  // file order, repeats kept
    EXPECT_EQ(lines("\xFF\xFE" "b\0\n\0a\0"s), (Lines{"b", "a"}));
    EXPECT_EQ(lines("\r\n\n\r"), Lines{});
    EXPECT_EQ(lines(""), Lines{});
}

TEST_F(RomsListTest, SizeLimitIsInclusive)
{
    std::string atLimit(kRomsListSizeLimit, 'a');
    atLimit[10] = '\n';
    EXPECT_EQ(lines(atLimit).size(), 2u);
    tree.addFile("big.txt", atLimit + "a");
    EXPECT_EQ(problemWith("big.txt"), "2,097,153 bytes, over the 2 MiB limit");
}

TEST_F(RomsListTest, UnusableItemsSayWhy)
{
    tree.addFile("real.txt", "alpha");
    tree.addLink("link.txt", "real.txt");
    tree.addLink("dangling.txt", "absent.txt");
    tree.addFolder("folder.txt");
    tree.addFifo("fifo.txt");
    tree.addFile("latin1.txt", "Tetris\nCaf\xE9");
    tree.addFile("utf16.txt", "\xFF\xFE" "a\0\0\xDC"s);
    const std::pair<const char*, const char*> cases[] = {
        {"link.txt", "a symbolic link"},       {"dangling.txt", "a symbolic link"},
        {"folder.txt", "a folder"},            {"fifo.txt", "not a regular file"},
        {"absent.txt", "not found"},           {"latin1.txt", "not UTF-8 (at byte 10)"},
        {"utf16.txt", "broken UTF-16 (at byte 4)"},
    };
    for (const auto& [name, reason] : cases)
        EXPECT_EQ(problemWith(name), reason) << name;
    EXPECT_EQ(cacheRomsListFile("").problem.reason, "no list chosen");
    EXPECT_EQ(cacheRomsListFile("/dev/null").problem.reason, "not a regular file");

    tree.addFile("closed.txt", "alpha");
    tree.setMode("closed.txt", 0);
    EXPECT_EQ(testing::runWithoutPrivileges([&] { return problemWith("closed.txt"); }),
              "cannot be read (Permission denied)");
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
    for (int attempt = 0; attempt < 50; ++attempt) {
        const RomsListRead growing = cacheRomsListFile(tree.path("growing.txt"));
        if (growing.list) {
            EXPECT_LE(growing.list->text->size(), kRomsListSizeLimit);
        }
    }
    writer.join();
    EXPECT_FALSE(cacheRomsListFile(tree.path("growing.txt")).list.has_value());
}

}  // namespace
}  // namespace tokenade
