#include "core/content/collection_identity.h"
#include "core/content/dat_reader.h"
#include "core/content/identification.h"
#include "tests/core/content/held_files.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tokenade::testing {
namespace {

// Games as a DAT gives them: name, description and the CRCs of 4-byte roms.
DatIndex datOf(const std::vector<std::tuple<std::string, std::string, std::vector<uint32_t>>>& games)
{
    std::string text;
    for (const auto& [name, description, crcs] : games) {
        text += "game ( name \"" + name + "\" description \"" + description + "\"";
        for (const uint32_t crc : crcs) {
            char value[9];
            std::snprintf(value, sizeof value, "%08x", crc);
            text += std::string(" rom ( name r size 4 crc ") + value + " )";
        }
        text += " )\n";
    }
    return std::move(*parseDat(text, "test.dat").dat);
}

TEST(GameLines, MeetsByKeyThenByNearKeyOneToOneNeverAnotherRegion)
{
    const DatIndex dat = datOf({{"alpha", "Alpha (USA)", {1}},
                                {"beta", "Beta: The Game (Europe)", {2}},
                                {"gamma", "Gamma (Japan)", {3}},
                                {"delta", "Delta (USA)", {4}},
                                {"delta2", "Delta - (USA)", {5}},
                                {"eps", "Epsilon", {6}},
                                {"zeta", "Zeta", {7}}});
    const std::vector<std::string_view> lines = {"ALPHA (usa).zip", "Beta - The Game (Europe)", "Gamma (USA)",
                                                 "Delta (USA)!", "eps", "Dr. Who"};
    const GameLines met = matchGamesToList(dat, lines);
    // By key of the description (extension and letter case aside), by near key, never another
    // region, neither of two games of one near key, by the game's name.
    EXPECT_EQ(met.lineOfGame, (std::vector<uint32_t>{0, 1, kNoLine, kNoLine, kNoLine, 4, kNoLine}));
    EXPECT_EQ(met.meetingOfGame[1], LineMeeting::NearKey);
    EXPECT_EQ(met.linesKnown, 3u);
    EXPECT_EQ(met.expectedName[5], "Dr.zip");
    EXPECT_EQ(met.gameNamed("DELTA2.zip"), 4u);
    EXPECT_EQ(met.gameNamed("ZETA.zip"), 6u);  // its name and its description alike
}

TEST(ContentMatcher, TheGameWithMostFilesWinsAndTheListBreaksTies)
{
    const DatIndex dat = datOf({{"small", "Small", {1}},
                                {"large", "Large", {1, 2}},
                                {"twina", "Twin A", {3}},
                                {"twinb", "Twin B", {3}},
                                {"oddu", "Odd (USA)", {4}},
                                {"odde", "Odd (Europe)", {4}},
                                {"four", "Four", {5, 6, 7, 8}}});
    const std::vector<std::string_view> lines = {"Small", "Large", "Twin A", "Twin B", "Odd (USA)", "Unknown"};
    const GameLines met = matchGamesToList(dat, lines);
    const ContentMatcher matcher(dat, met);

    Identification found = matcher.identify("x.zip", holding({1, 2, 9}));
    EXPECT_EQ(std::tie(found.state, found.game, found.extras), std::make_tuple(ContentState::AnotherName, 1u, std::vector<uint32_t>{2}));
    EXPECT_EQ(matcher.identify("x.zip", holding({3})).state, ContentState::Ambiguous);  // both on the list
    found = matcher.identify("odd.zip", holding({4}));
    EXPECT_EQ(found.game, 4u);  // the one of the tie that is on the list
    EXPECT_EQ(matcher.identify("Odd (Europe).zip", holding({4})).state, ContentState::AnotherName);
    found = matcher.identify("four.zip", holding({5, 6, 8}));
    EXPECT_EQ(std::tie(found.state, found.matched, found.needed), std::make_tuple(ContentState::Incomplete, 3u, 4u));
    EXPECT_EQ(found.alsoGame, kNoGame);
    EXPECT_EQ(matcher.identify("l.zip", holding({2})).line, 1u);  // an incomplete game's line
    found = matcher.identify("mix.zip", holding({5, 6, 2}));  // parts of two games name both
    EXPECT_EQ(partsHeld(found, [&](uint32_t game) { return std::string(dat.games[game].name); }),
              "2 of 4 roms of four, 1 of 2 roms of large");
    EXPECT_EQ(matcher.identify("Small.zip", holding({2, 1})).state, ContentState::AnotherGame);
    EXPECT_EQ(matcher.identify("Large.ZIP", holding({2, 1})).state, ContentState::RightName);
    // Named for a line the DAT does not know: another game when what it
    // holds is on the list, unknown when it is not.
    EXPECT_EQ(matcher.identify("Unknown.zip", holding({2, 1})).state, ContentState::AnotherGame);
    EXPECT_EQ(matcher.identify("Unknown.zip", holding({5, 6, 7, 8})).state, ContentState::NotOnList);
}

// A line is present when an archive holds its game whole, missing when the DAT knows its game and none does.
TEST(IdentifiedArchives, CountsPresentAndMissingLines)
{
    ContentBasis basis;
    basis.dat = std::make_unique<const DatIndex>(datOf({{"alpha", "Alpha", {1}}, {"bb", "B", {2}}, {"gamma", "Gamma", {3}}}));
    GameLines met = matchGamesToList(*basis.dat, std::vector<std::string_view>{"Gamma", "Alpha", "Nowhere", "B"});
    // A game lies just past the end, so that a loop reading one line too far would count it.
    met.gameOfLine.push_back(0);
    met.gameOfLine.pop_back();
    basis.lines = std::make_unique<const GameLines>(std::move(met));
    IdentifiedArchives identified;
    for (const auto& [state, game, line] : {std::tuple{ContentState::Incomplete, 2u, 0u},
                                            {ContentState::RightName, 0u, 1u}, {ContentState::NotInDat, kNoGame, kNoLine}}) {
        Identification& one = identified.found.emplace_back();
        std::tie(one.state, one.game, one.line) = std::tie(state, game, line);
    }
    EXPECT_EQ(identified.missingLines(basis), (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(identified.linesPresent(basis), 1u);
}

}  // namespace
}  // namespace tokenade::testing
