#include "platform/foundation/unicode_key.h"

#include <gtest/gtest.h>

#include <string>

namespace tokenade {
namespace {

struct NamePair {
    std::string first;
    std::string second;
};

class UnicodeKeyAlike : public ::testing::TestWithParam<NamePair> {};

TEST_P(UnicodeKeyAlike, SameKey)
{
    EXPECT_EQ(unicodeKey(GetParam().first), unicodeKey(GetParam().second))
        << GetParam().first << " / " << GetParam().second;
}

INSTANTIATE_TEST_SUITE_P(
    Folding, UnicodeKeyAlike,
    ::testing::Values(NamePair{"Alpha.ZIP", "alpha.zip"},
                      NamePair{"Stra\xC3\x9F" "e", "STRASSE"},           // full folding: sharp s is "ss"
                      NamePair{"\xC3\xA9t\xC3\xA9", "e\xCC\x81t\xC3\xA9"},  // precomposed and decomposed
                      NamePair{"\xC3\x89T\xC3\x89", "e\xCC\x81t\xC3\xA9"},  // and both across letter case
                      NamePair{"\xCE\xA3\xCE\xB1", "\xCF\x83\xCE\xB1"}));

class UnicodeKeyDifferent : public ::testing::TestWithParam<NamePair> {};

TEST_P(UnicodeKeyDifferent, KeysDiffer)
{
    EXPECT_NE(unicodeKey(GetParam().first), unicodeKey(GetParam().second))
        << GetParam().first << " / " << GetParam().second;
}

INSTANTIATE_TEST_SUITE_P(
    NotFolded, UnicodeKeyDifferent,
    ::testing::Values(NamePair{"e", "\xC3\xA9"},                 // accents count
                      NamePair{"a", "\xEF\xBD\x81"},             // widths are not folded
                      NamePair{"file10", "file010"}));

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
