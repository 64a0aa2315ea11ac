#include "core/sources/list_discovery.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::TempTree;

const std::string kName(kSupportedListName);

TEST(ListDiscovery, FirstRegularFileOfTheExactNameInPreorder)
{
    TempTree tree;
    EXPECT_FALSE(findSupportedList(tree.root()).has_value());
    tree.addFile("a/- supported games lookup for naming.txt");  // letter case counts
    tree.addFolder("b/" + kName);                              // a folder of the name is searched, not taken
    tree.addFile("outside/" + kName);
    tree.addLink("c/" + kName, tree.path("outside/" + kName));  // links are not taken
    tree.addLink("c/link", tree.path("outside"));                // nor followed
    EXPECT_FALSE(findSupportedList(tree.root() + "/b").has_value());
    tree.addFile("b/" + kName + "/" + kName);
    tree.addFile("d/deep/" + kName);
    EXPECT_EQ(findSupportedList(tree.root() + "/"), tree.path("b/" + kName + "/" + kName));
    tree.addFile("B/" + kName);  // "B" comes before "a" in byte order
    EXPECT_EQ(findSupportedList(tree.root()), tree.path("B/" + kName));
}

TEST(ListDiscovery, NoFolderOrAStopFindsNothing)
{
    TempTree tree;
    tree.addFile("docs/" + kName);
    EXPECT_FALSE(findSupportedList(tree.path("absent")).has_value());
    EXPECT_FALSE(findSupportedList("").has_value());
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(findSupportedList(tree.root(), stop.get_token()).has_value());
}

}  // namespace
}  // namespace tokenade
