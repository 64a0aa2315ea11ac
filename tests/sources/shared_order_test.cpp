#include "sources/shared_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tokenade {
namespace {

TEST(SharedOrder, ConsequencesOfTheOrder)
{
    EXPECT_EQ(compareSringsCaseInsensitive("Alpha.zip", "alpha.zip"), 0);
    EXPECT_EQ(compareSringsCaseInsensitive("a_b", "ab"), -1);
    EXPECT_EQ(compareSringsCaseInsensitive("ab-x.zip", "ab.zip"), -1);
    EXPECT_EQ(compareSringsCaseInsensitive("file10", "file2"), -1);
    EXPECT_EQ(compareSringsCaseInsensitive("9lives", "alpha"), -1);
    EXPECT_EQ(compareSringsCaseInsensitive("roms/zeta", "zeta"), 0);  // the last component decides
    EXPECT_EQ(compareSringsCaseInsensitive("roms/zeta", "yankee"), 1);
    EXPECT_EQ(compareSringsCaseInsensitive("abc", "ab"), 1);
}

TEST(SharedOrder, WholeNamesForTheMerges)
{
    EXPECT_EQ(caseInsensitiveCompare("roms/zeta", "zeta"), -1);
    EXPECT_EQ(caseInsensitiveCompare("CHARLIE.ZIP", "charlie.zip"), 0);
}

TEST(SharedOrder, SortPutsAlikeNamesInByteOrderWhateverTheInputOrder)
{
    NameList expected{"a_b", "ab", "Alpha.zip", "alpha.zip", "ALPHA.zip", "roms/zeta", "Zulu"};
    std::sort(expected.begin() + 2, expected.begin() + 5);  // alike names: plain byte order
    NameList names = expected;
    std::mt19937 shuffle(7);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(names.begin(), names.end(), shuffle);
        sortNames(names, SortBy::LastPathComponent);
        EXPECT_EQ(names, expected);
    }
}

TEST(SharedOrder, WholeNameSortPlacesPathsByTheirFullText)
{
    NameList names{"zeta.zip", "roms/zeta.zip", "abc (x).zip", "abc.zip"};
    sortNames(names, SortBy::WholeName);
    EXPECT_EQ(names, (NameList{"abc (x).zip", "abc.zip", "roms/zeta.zip", "zeta.zip"}));
}

}  // namespace
}  // namespace tokenade
