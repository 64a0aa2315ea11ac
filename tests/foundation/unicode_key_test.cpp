#include "platform/foundation/unicode_key.h"

#include <gtest/gtest.h>

#include <string>

namespace tokenade {
namespace {

struct Alike {
    std::string first;
    std::string second;
};

class UnicodeKeyAlike : public ::testing::TestWithParam<Alike> {};

TEST_P(UnicodeKeyAlike, SameKey)
{
    EXPECT_EQ(unicodeKey(GetParam().first), unicodeKey(GetParam().second))
        << GetParam().first << " / " << GetParam().second;
}

INSTANTIATE_TEST_SUITE_P(
    Folding, UnicodeKeyAlike,
    ::testing::Values(Alike{"Alpha.ZIP", "alpha.zip"},
                      Alike{"Stra\xC3\x9F" "e", "STRASSE"},           // full folding: sharp s is "ss"
                      Alike{"\xC3\xA9t\xC3\xA9", "e\xCC\x81t\xC3\xA9"},  // precomposed and decomposed
                      Alike{"\xC3\x89T\xC3\x89", "e\xCC\x81t\xC3\xA9"},  // and both across letter case
                      Alike{"\xCE\xA3\xCE\xB1", "\xCF\x83\xCE\xB1"}));

struct Different {
    std::string first;
    std::string second;
};

class UnicodeKeyDifferent : public ::testing::TestWithParam<Different> {};

TEST_P(UnicodeKeyDifferent, KeysDiffer)
{
    EXPECT_NE(unicodeKey(GetParam().first), unicodeKey(GetParam().second))
        << GetParam().first << " / " << GetParam().second;
}

INSTANTIATE_TEST_SUITE_P(
    NotFolded, UnicodeKeyDifferent,
    ::testing::Values(Different{"e", "\xC3\xA9"},                 // accents count
                      Different{"a", "\xEF\xBD\x81"},             // widths are not folded
                      Different{"file10", "file010"}));

TEST(UnicodeKeyOrder, CodePointOrderOfKeys)
{
    EXPECT_LT(unicodeKey("a_b"), unicodeKey("ab"));        // "_" before the lower-case letters
    EXPECT_LT(unicodeKey("ab-x.zip"), unicodeKey("ab.zip"));
    EXPECT_LT(unicodeKey("file10"), unicodeKey("file2"));  // digits are characters, not numbers
    EXPECT_LT(unicodeKey("\xC3\xA9t\xC3\xA9"), unicodeKey("f"));  // decomposed: sorts with the e
    EXPECT_LT(unicodeKey("ab"), unicodeKey("abc"));
}

TEST(UnicodeKeyOrder, BytesThatAreNotUtf8StillGiveAKey)
{
    EXPECT_EQ(unicodeKey("A\xFF"), unicodeKey("a\xEF\xBF\xBD"));
}

}  // namespace
}  // namespace tokenade
