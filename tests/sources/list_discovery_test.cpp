#include "sources/list_discovery.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::TempTree;

class ListDiscoveryTest : public ::testing::Test {
protected:
    void addList(const std::string& folder) { tree.addFile(folder + std::string(kSupportedListName)); }
    std::optional<std::string> find() { return findSupportedList(tree.root()); }

    TempTree tree;
};

TEST_F(ListDiscoveryTest, ListDirectlyInside)
{
    addList("");
    EXPECT_EQ(find(), tree.root() + "/" + std::string(kSupportedListName));
}

TEST_F(ListDiscoveryTest, ListSeveralFoldersDeep)
{
    addList("Docs/lists/");
    EXPECT_EQ(find(), tree.root() + "/Docs/lists/" + std::string(kSupportedListName));
}

TEST_F(ListDiscoveryTest, TrailingSlashOfTheDirectoryIsNotDoubled)
{
    addList("Docs/");
    EXPECT_EQ(findSupportedList(tree.root() + "/"), tree.root() + "/Docs/" + std::string(kSupportedListName));
}

TEST_F(ListDiscoveryTest, OtherLetterCaseAndFoldersOfTheNameAreNotTaken)
{
    tree.addFile("a/- supported games lookup for naming.txt");
    tree.addFolder("b/" + std::string(kSupportedListName));
    EXPECT_FALSE(find().has_value());
    addList("b/" + std::string(kSupportedListName) + "/");
    EXPECT_EQ(find(), tree.path("b/" + std::string(kSupportedListName) + "/" + std::string(kSupportedListName)));
}

TEST_F(ListDiscoveryTest, FirstCandidateInPreorderByteOrderWins)
{
    addList("b/");
    addList("a/deep/deeper/");
    addList("B/");
    EXPECT_EQ(find(), tree.path("B/" + std::string(kSupportedListName)));
}

TEST_F(ListDiscoveryTest, LinksAreNotTakenNorFollowed)
{
    tree.addFile("outside/" + std::string(kSupportedListName));
    tree.addLink("tokenade/link", tree.path("outside"));
    tree.addLink("tokenade/" + std::string(kSupportedListName), tree.path("outside/" + std::string(kSupportedListName)));
    EXPECT_FALSE(findSupportedList(tree.path("tokenade")).has_value());
}

TEST_F(ListDiscoveryTest, NoneFoundOrNoFolder)
{
    tree.addFile("roms/a.zip");
    EXPECT_FALSE(find().has_value());
    EXPECT_FALSE(findSupportedList(tree.path("absent")).has_value());
    EXPECT_FALSE(findSupportedList("").has_value());
}

}  // namespace
}  // namespace tokenade
