#include "core/audit/audit_run.h"
#include "core/repair/content_offers.h"
#include "core/repair/fill_plan.h"
#include "core/repair/rename_offers.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <map>

namespace tokenade {
namespace {

using testing::TempTree;
using testing::ZipFile;

// Games of one 4-byte rom each, their CRCs 1 to 6; the list has them all, and one more.
class ContentOffersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string dat;
        int crc = 0;
        for (const char* game : {"Alpha", "Beta", "Gamma", "Delta", "Omega", "Kappa"})
            dat += std::string("game ( name \"") + game + "\" rom ( name r size 4 crc 0000000" +
                   std::to_string(++crc) + " ) )\n";
        tree.addFile("games.dat", dat);
        tree.addFile("list.txt", "Alpha\nBeta\nGamma\nDelta\nOmega\nKappa\nZeta\n");  // Zeta: not in the DAT
        cache.use = false;
    }
    static std::string holding(uint32_t crc, bool readme = false)
    {
        std::vector<ZipFile> files{{"rom", 4, crc}};
        if (readme)
            files.push_back({"readme.txt", 10, 99});
        return testing::zipBytes(files);
    }
    // Audits and identifies the collection, and the source when there is one.
    void identify()
    {
        audit = runRomAudit({tree.root(), tree.path("list.txt"), false, true}, {});
        BasisRead read = readContentBasis(tree.path("games.dat"), tree.path("list.txt"), cache);
        ASSERT_TRUE(read.basis);
        basis = std::move(*read.basis);
        collection = identifyArchives(*basis, {tree.root(), false, {}, "", cache});
        source = identifyArchives(*basis, {sourceTree.root(), true, {}, "", cache});
    }
    // Each item as "shown source -> name" and its refusal, "unticked: " before
    // it when it is not ticked.
    static std::map<std::string, std::string> itemsOf(const ChangePlan& plan)
    {
        std::map<std::string, std::string> items;
        for (const OfferedChange& item : plan.items)
            items[item.shownSource + " -> " + item.change.to] =
                (item.tickedByDefault ? "" : "unticked: ") + item.refusal;
        return items;
    }

    TempTree tree;
    TempTree sourceTree;
    CacheChoice cache;
    AuditOutcome audit;
    std::optional<ContentBasis> basis;
    IdentifiedArchives collection;
    IdentifiedArchives source;
};

TEST_F(ContentOffersTest, OneArchivePerLineTheExactOneFirstAndNoneChangedSinceRead)
{
    tree.addFile("roms/Kappa .zip", holding(6));  // a near miss of Kappa that its content bears out
    tree.addFile("roms/k.zip", holding(6));
    tree.addFile("roms/a.zip", holding(1));
    tree.addFile("roms/b1.zip", holding(2, true));
    tree.addFile("roms/b2.zip", holding(2));
    tree.addFile("roms/g.zip", holding(3));
    tree.addFile("roms/o.zip", holding(5));
    identify();
    tree.addFile("roms/g.zip", holding(4, true));  // another game since it was read, and another size
    tree.rewriteKeepingTime("roms/o.zip", holding(6));  // another game of the same size, its mtime put back
    const ContentFindings content{*basis, collection};
    const auto items = itemsOf(planRenameOffers(*audit.result, tree.root(), nullptr, &content));
    const std::map<std::string, std::string> expected{
        {"roms/Kappa .zip -> Kappa.zip", ""},
        {"roms/k.zip -> Kappa.zip", "unticked: a second archive of Kappa: \"roms/Kappa .zip\" takes its name"},
        {"roms/a.zip -> Alpha.zip", ""},
        {"roms/b2.zip -> Beta.zip", ""},
        {"roms/b1.zip -> Beta.zip", "unticked: a second archive of Beta: \"roms/b2.zip\" takes its name"},
        {"roms/g.zip -> Gamma.zip", "the archive changed since what it holds was read"},
        {"roms/o.zip -> Omega.zip", "the archive changed since what it holds was read"},
    };
    EXPECT_EQ(items, expected);
}

// By name first, but never a decoy; a game the collection holds under
// another name is left to the rename, as is one that a near miss mends; the
// rest by content.
TEST_F(ContentOffersTest, FillsByNameThenByContentNeverADecoy)
{
    tree.addFile("roms/d.zip", holding(4));
    tree.addFile("roms/Kappa .zip", holding(6));  // renamed to Kappa by name
    sourceTree.addFile("Alpha.zip", holding(1, true));
    sourceTree.addFile("Beta.zip", holding(3, true));  // Gamma with extras: the exact one below is taken
    sourceTree.addFile("Delta.zip", holding(4));
    sourceTree.addFile("set/g2.zip", holding(3));
    sourceTree.addFile("set/b.zip", holding(2));
    sourceTree.addFile("Omega.zip", std::string("Rar!\x1A\x07\x00 packed", 14));
    identify();
    const ContentFindings content{*basis, collection, &source};
    const auto plan = planFill(*audit.result, {tree.root(), sourceTree.root(), "", false}, {}, &content);
    const std::map<std::string, std::string> expected{
        {"Alpha.zip -> Alpha.zip", ""},
        {"Beta.zip -> Beta.zip", "unticked: by content it holds Gamma, not Beta"},
        {"set/b.zip -> Beta.zip", ""},
        {"set/g2.zip -> Gamma.zip", ""},
        {"Omega.zip -> Omega.zip", "unticked: not a zip: a RAR archive"},
    };
    EXPECT_EQ(itemsOf(plan), expected);
}

// A name, exact or near, is offered only when the content bears it out,
// whether the DAT knows the line's game or not; a renamed decoy is free for
// the rename by content. An archive keeps its name only when its line takes
// it: another spelling of a valid game is renamed to the game it holds.
TEST_F(ContentOffersTest, NamesOfferedOnlyWhereTheContentBearsThemOut)
{
    tree.addFile("roms/Alpha .zip", holding(4));  // near Alpha, but Delta whole
    tree.addFile("roms/Beta.zip", holding(2));
    tree.addFile("roms/Zeta!.zip", holding(2));   // near Zeta, which the DAT does not know, but Beta whole
    tree.addFile("roms/Gamma.zip", holding(3));
    tree.addFile("roms/gamma.zip", holding(6));   // Kappa
    sourceTree.addFile("Alpha.zip", holding(1));
    sourceTree.addFile("Zeta.zip", holding(2));
    sourceTree.addFile("Omega!.zip", holding(5));
    identify();
    const ContentFindings content{*basis, collection, &source};
    const std::map<std::string, std::string> renames{
        {"roms/Alpha .zip -> Alpha.zip", "unticked: by content it holds Delta, not Alpha"},
        {"roms/Alpha .zip -> Delta.zip", ""},
        {"roms/Zeta!.zip -> Zeta.zip", "unticked: by content it holds Beta"},
        {"roms/Zeta!.zip -> Beta.zip", "unticked: a second archive of Beta: \"roms/Beta.zip\" has its name"},
        {"roms/gamma.zip -> Kappa.zip", ""},
    };
    EXPECT_EQ(itemsOf(planRenameOffers(*audit.result, tree.root(), nullptr, &content)), renames);
    const std::map<std::string, std::string> fills{
        {"Alpha.zip -> Alpha.zip", ""},
        {"Zeta.zip -> Zeta.zip", "unticked: by content it holds Beta"},
        {"Omega!.zip -> Omega.zip", ""},
    };
    EXPECT_EQ(itemsOf(planFill(*audit.result, {tree.root(), sourceTree.root(), "", false}, {}, &content)), fills);
}

}  // namespace
}  // namespace tokenade
