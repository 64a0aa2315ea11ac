#include "core/session/change_choice.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

OfferedChange offer(OfferKind kind, std::string source, bool ticked = true, int follows = -1, std::string refusal = {})
{
    Change copy{.kind = ChangeKind::Copy, .folder = {}, .from = {}, .toFolder = {}, .to = {}, .identity = {}};
    copy.identity.size = 1'500'000;
    return {kind, copy, {}, 0, std::move(source), ticked, std::move(refusal), follows, {}};
}

// Near miss 0 with its video 2, cut name 1 (unticked) with its video 3, and
// a rename that cannot be made.
ChangeChoice renames()
{
    ChangePlan plan;
    plan.items = {offer(OfferKind::NearMiss, "roms/Tom and Jerry.zip"),
                  offer(OfferKind::CutName, "roms/Dr. Mario.zip", false),
                  offer(OfferKind::Follower, "videos/Tom and Jerry.xmv", true, 0),
                  offer(OfferKind::Follower, "videos/Dr. Mario.xmv", false, 1),
                  offer(OfferKind::NearMiss, "roms/Beta.zip", true, -1, "the file is no longer there")};
    return ChangeChoice(std::move(plan));
}

TEST(ChangeChoice, FollowersKeepTheirLeadersTickAndRefusedOffersNone)
{
    struct Case {
        const char* name;
        std::vector<std::pair<size_t, bool>> ticks;
        std::vector<bool> expected;
    };
    for (const Case& c : std::vector<Case>{
             {"as planned", {}, {true, false, true, false, false}},
             {"cut name ticked, its video along", {{1, true}}, {true, true, true, true, false}},
             {"near miss unticked, its video along", {{0, false}}, {false, false, false, false, false}},
             {"a follower alone is not untied", {{2, false}, {3, true}}, {true, false, true, false, false}},
             {"refused stays unticked", {{4, true}, {9, true}}, {true, false, true, false, false}},
         }) {
        SCOPED_TRACE(c.name);
        ChangeChoice choice = renames();
        for (auto [item, ticked] : c.ticks)
            choice.tick(item, ticked);
        EXPECT_EQ(choice.ticks(), c.expected);
    }
}

TEST(ChangeChoice, SelectedNamesOnlyAndTheRoomForTheCopies)
{
    ChangeChoice choice = renames();
    choice.tickOnly({"roms/Dr. Mario.zip", "roms/Beta.zip", "roms/elsewhere.zip"});
    EXPECT_EQ(choice.ticks(), (std::vector<bool>{false, true, false, false, false}));

    ChangePlan plan;
    plan.items = {offer(OfferKind::Fill, "Downloads/a.zip"), offer(OfferKind::Fill, "Downloads/b.zip")};
    plan.freeSpace = 2'000'000;
    ChangeChoice fill(std::move(plan));
    EXPECT_FALSE(hasRoomFor(fill));
    EXPECT_EQ(fillSummary(fill), "2 files ticked, 3.0 MB to copy, 2.0 MB free there. Not enough room: tick fewer "
                                 "files or make room first.");
    fill.tick(1, false);
    EXPECT_TRUE(hasRoomFor(fill));
}

}  // namespace
}  // namespace tokenade
