#include "core/audit/audit_run.h"
#include "core/repair/fill_plan.h"
#include "core/repair/rename_offers.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::TempTree;

// A list line "Star Fox (USA) " expects "Star Fox (USA) .zip": a fill once
// offered a download under that name, ticked, while "Star Fox (USA).zip"
// was valid; a near miss would have renamed a file to it alike.
TEST(SpacedNames, NamesWithSpacesAtEitherEndAreOfferedUntickedWithTheReason)
{
    TempTree collection;
    TempTree downloads;
    collection.addFile("list.txt", "Star Fox (USA)\nStar Fox (USA) \n Metroid (USA)\nZelda (USA) \n");
    for (auto path : {"roms/Star Fox (USA).zip", "roms/Zelda  (USA).zip"})
        collection.addFile(path);
    for (auto path : {"Star  Fox (USA).zip", "Metroid (USA).zip"})
        downloads.addFile(path, "game");
    const AuditOutcome audit = runRomAudit({collection.root(), collection.path("list.txt"), false, true}, {});
    ASSERT_TRUE(audit.result);

    const ChangePlan fill = planFill(*audit.result, {collection.root(), downloads.root(), "", false});
    ASSERT_EQ(fill.items.size(), 2u) << fill.problem;
    EXPECT_EQ(fill.items[0].expected, " Metroid (USA).zip");
    EXPECT_EQ(fill.items[0].caution, "the list line begins with a space, which the expected name keeps");
    EXPECT_EQ(fill.items[1].expected, "Star Fox (USA) .zip");
    EXPECT_EQ(fill.items[1].caution, "\u201CStar Fox (USA).zip\u201D is there already: the list line ends with a "
                                     "space, which the expected name keeps");
    EXPECT_EQ(fill.defaultTicks(), (std::vector<bool>{false, false}));

    const ChangePlan renames = planRenameOffers(*audit.result, collection.root(), nullptr);
    ASSERT_EQ(renames.items.size(), 1u);
    EXPECT_EQ(renames.items[0].change.to, "Zelda (USA) .zip");
    EXPECT_FALSE(renames.items[0].caution.empty());
    EXPECT_EQ(renames.defaultTicks(), std::vector<bool>{false});
    EXPECT_EQ(std::string(stemOf("K.zip")) + "|" + std::string(stemOf(".zip")), "K|.zip");  // one letter; none
}

}  // namespace
}  // namespace tokenade
