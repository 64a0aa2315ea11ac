#include "core/session/shown_text.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

// "Found 1 videos" read wrong; the report files keep the specified words.
TEST(ShownText, OneNameIsCountedInTheSingular)
{
    EXPECT_EQ(shownHeader(kRomCategories[0], 1), "Found 1 rom with valid filename:\n\n");
    EXPECT_EQ(shownHeader(kRomCategories[0], 2), "Found 2 roms with valid filename:\n\n");
    EXPECT_EQ(shownHeader(kRomCategories[2], 1),
              "Found 1 unknown archive:\n(warning, these could be necessary ones too, like neogeo.zip)\n\n");
    EXPECT_EQ(shownHeader(kVideoCategories[1], 1), "Found 1 missing video:\n\n");
    EXPECT_EQ(shownHeader(kVideoCategories[2], 1), "Found 1 video for missing roms:\n\n");
    EXPECT_EQ(shownHeader(kVideoCategories[3], 0), "Found 0 videos with unknown filename:\n\n");
}

// Rich text folds runs of spaces into one, and an end space shows as nothing.
TEST(ShownText, SpacesThatTheEyeWouldMissAreMarkedInQuotedNamesOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"\" \" -> \" .zip\"", "\"\u2423\" -> \"\u2423.zip\""},
        {"\"Star Fox (USA) \" -> \"Star Fox (USA) .zip\"", "\"Star Fox (USA)\u2423\" -> \"Star Fox (USA)\u2423.zip\""},
        {"\"Star  Fox\t\" -> \"Star  Fox\t.zip\"", "\"Star\u2423\u2423Fox\u21E5\" -> \"Star\u2423\u2423Fox\u21E5.zip\""},
        {"\"Say \"Hi\" \" -> \"Say \"Hi\" .zip\"", "\"Say \"Hi\"\u2423\" -> \"Say \"Hi\"\u2423.zip\""},
        {"\"Dr. Mario (Japan, USA)\" -> \"Dr.zip\"", "\"Dr. Mario (Japan, USA)\" -> \"Dr.zip\""},
        {"roms  and \"half", "roms  and \"half"},
    };
    for (const auto& [example, shown] : cases)
        EXPECT_EQ(withVisibleSpaces(example), shown) << example;
}

// "8 near misses" over 10 rows read as a miscount: a game's video is a row.
TEST(ShownText, NearMissHeadingCountsTheRowsByWhyEachIsOffered)
{
    ChangePlan plan;
    for (OfferKind kind :
         {OfferKind::NearMiss, OfferKind::NearMiss, OfferKind::CutName, OfferKind::Content, OfferKind::Follower})
        plan.items.push_back(OfferedChange{.kind = kind, .change = {}, .expected = {}, .differences = 0,
                                           .shownSource = {}, .tickedByDefault = true, .refusal = {}, .follows = -1});
    EXPECT_EQ(nearMissHeading(AuditKind::Roms, plan, 3),
              "5 renames offered: 2 near misses, 1 cut name, 1 archive by content and the video that goes with "
              "them. Below, 3 more that are never renamed.");
    plan.items.resize(1);
    EXPECT_EQ(nearMissHeading(AuditKind::Videos, plan, 0), "1 rename offered: 1 near miss.");
    EXPECT_EQ(nearMissHeading(AuditKind::Videos, {}, 1), "No renames offered. Below, 1 more that is never renamed.");
}

// The question before an undo lists what it will do, the last change first.
TEST(ShownText, UndoStepsSayWhatComesBackLastFirst)
{
    BatchSummary batch;
    batch.changes = {{ChangeKind::Copy, "/dl", "Star  Fox.zip", "/c/roms", "Star Fox.zip", {}},
                     {ChangeKind::Move, "/c/roms", "x.zip", "/c/_set-aside/roms", "x.zip", {}},
                     {ChangeKind::Folder, "", "", "/c", "roms", {}},
                     {ChangeKind::Rename, "/c/roms", "Dr Mario.zip", "/c/roms", "Dr. Mario.zip", {}}};
    EXPECT_EQ(undoSteps(batch), (std::vector<std::string>{
                                    "Rename \u201CDr. Mario.zip\u201D back to \u201CDr Mario.zip\u201D in /c/roms",
                                    "Move \u201Cx.zip\u201D back from /c/_set-aside/roms to /c/roms",
                                    "Remove \u201CStar Fox.zip\u201D from /c/roms"}));
}

}  // namespace
}  // namespace tokenade
