#include "results/report_text.h"

#include "results/categories.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

TEST(ReportText, EmptyListIsHeaderWithZeroAndEmptyLine)
{
    EXPECT_EQ(reportText(kRomCategories[1].windowHeader, {}), "Found 0 missing roms:\r\n\r\n");
}

TEST(ReportText, NamesJoinedByCrLfWithoutFinalBreak)
{
    EXPECT_EQ(reportText(kRomCategories[0].windowHeader, {"a.zip"}),
              "Found 1 roms with valid filename:\r\n\r\na.zip");
    EXPECT_EQ(reportText(kVideoCategories[3].windowHeader, {"a.xmv", "b.xmv", "c.xmv"}),
              "Found 3 videos with unknown filename:\r\n\r\na.xmv\r\nb.xmv\r\nc.xmv");
}

TEST(ReportText, PercentInANameIsNotFormatText)
{
    EXPECT_EQ(reportText(kRomCategories[0].windowHeader, {"100%@ %lu.zip", "%n%s.zip"}),
              "Found 2 roms with valid filename:\r\n\r\n100%@ %lu.zip\r\n%n%s.zip");
}

TEST(ReportText, UnknownRomsHeadersOfWindowAndFileDiffer)
{
    EXPECT_EQ(reportText(kRomCategories[2].windowHeader, {"x.zip"}),
              "Found 1 unknown archives:\r\n(warning, these could be necessary ones too, like neogeo.zip)\r\n\r\nx.zip");
    EXPECT_EQ(reportText(kRomCategories[2].fileHeader, {"x.zip"}),
              "Found 1 roms with unknown filename:\r\n(warning, these could be necessary archives too, like "
              "neogeo.zip)\r\n\r\nx.zip");
}

struct Shown {
    std::string name;
    std::string shown;
};

class DisplayName : public ::testing::TestWithParam<Shown> {};

TEST_P(DisplayName, EveryNameStaysOnOneLine)
{
    EXPECT_EQ(displayName(GetParam().name), GetParam().shown) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, DisplayName,
    ::testing::Values(Shown{"plain name.zip", "plain name.zip"},
                      Shown{"tab\there", "tab\there"},
                      Shown{"caf\xC3\xA9", "caf\xC3\xA9"},
                      Shown{"cr\rlf\n", "cr\xEF\xBF\xBDlf\xEF\xBF\xBD"},
                      Shown{"bell\x07" "del\x7F", "bell\xEF\xBF\xBD" "del\xEF\xBF\xBD"},
                      Shown{"latin1\xE9", "latin1\xEF\xBF\xBD"},
                      Shown{"nel\xC2\x85" "ls\xE2\x80\xA8", "nel\xEF\xBF\xBDls\xEF\xBF\xBD"},
                      Shown{"a longer name\rwith\x1F" "controls\x7F.", "a longer name\xEF\xBF\xBDwith\xEF\xBF\xBD"
                                                                    "controls\xEF\xBF\xBD."},
                      Shown{"eight+ bytes \xC3\xA9 then more", "eight+ bytes \xC3\xA9 then more"},
                      Shown{"truncated\xE2\x82", "truncated\xEF\xBF\xBD\xEF\xBF\xBD"}));

}  // namespace
}  // namespace tokenade
