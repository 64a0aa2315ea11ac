#include "core/results/report_text.h"

#include "tests/support/result_entries.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::entriesOf;

struct ReportCase {
    std::string_view header;
    std::vector<std::string> names;
    std::string text;
};

class ReportText : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportText, HeaderCountAndNamesJoinedByCrLf)
{
    const std::vector<std::string> names = GetParam().names;
    EXPECT_EQ(reportText(GetParam().header, entriesOf(names)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReportText,
    ::testing::Values(
        ReportCase{kRomCategories[1].windowHeader, {}, "Found 0 missing roms:\r\n\r\n"},
        ReportCase{kVideoCategories[3].windowHeader, {"a.xmv", "b.xmv", "c.xmv"},
                   "Found 3 videos with unknown filename:\r\n\r\na.xmv\r\nb.xmv\r\nc.xmv"},
        // A name is never format text.
        ReportCase{kRomCategories[0].windowHeader, {"100%@ %lu.zip", "%n%s.zip"},
                   "Found 2 roms with valid filename:\r\n\r\n100%@ %lu.zip\r\n%n%s.zip"},
        // The window and the file word the unknown archives differently.
        ReportCase{kRomCategories[2].windowHeader, {"neogeo.zip"},
                   "Found 1 unknown archives:\r\n(warning, these could be necessary ones too, like neogeo.zip)"
                   "\r\n\r\nneogeo.zip"},
        ReportCase{kRomCategories[2].reportHeader, {"neogeo.zip"},
                   "Found 1 roms with unknown filename:\r\n(warning, these could be necessary archives too, like "
                   "neogeo.zip)\r\n\r\nneogeo.zip"}));

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
    ::testing::Values(Shown{"Tom & Jerry (USA).zip", "Tom & Jerry (USA).zip"},
                      Shown{"tab\there", "tab\there"},
                      Shown{"Pok\xC3\xA9mon\xC2\xAE\xC2\xA0\xE3\x83\x9D\xE3\x82\xB1\xE3\x83\xA2\xE3\x83\xB3",
                            "Pok\xC3\xA9mon\xC2\xAE\xC2\xA0\xE3\x83\x9D\xE3\x82\xB1\xE3\x83\xA2\xE3\x83\xB3"},
                      Shown{"cr\rlf\n", "cr\xEF\xBF\xBDlf\xEF\xBF\xBD"},
                      Shown{"bell\x07", "bell\xEF\xBF\xBD"}, Shown{"del\x7F", "del\xEF\xBF\xBD"},
                      Shown{"latin1\xE9", "latin1\xEF\xBF\xBD"},
                      Shown{"nel\xC2\x85" "ls\xE2\x80\xA8", "nel\xEF\xBF\xBDls\xEF\xBF\xBD"},
                      Shown{"a longer name\rwith\x1F" "controls\x7F.", "a longer name\xEF\xBF\xBDwith\xEF\xBF\xBD"
                                                                    "controls\xEF\xBF\xBD."},
                      Shown{"truncated\xE2\x82", "truncated\xEF\xBF\xBD\xEF\xBF\xBD"}));

TEST(ReportText, LargeListsComeInPiecesThatJoinToTheWholeText)
{
    std::vector<std::string> names(120000, "Super Mario Bros. 3 (USA) (Rev 1).zip");
    size_t pieces = 0;
    std::string joined;
    writeReportText(kRomCategories[0].reportHeader, entriesOf(names), "\r\n", [&](std::string_view piece) {
        ++pieces;
        joined.append(piece);
    });
    EXPECT_GT(pieces, 1u);
    EXPECT_EQ(joined, reportText(kRomCategories[0].reportHeader, entriesOf(names)));
    EXPECT_EQ(reportHeader(kRomCategories[0].windowHeader, 12, "\n"), "Found 12 roms with valid filename:\n\n");
}

}  // namespace
}  // namespace tokenade
