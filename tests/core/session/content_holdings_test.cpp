#include "core/session/content_holdings.h"

#include "core/audit/audit_run.h"
#include "tests/support/temp_tree.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <map>

namespace tokenade {
namespace {

using testing::zipBytes;

// Each unknown archive gets the words of what it holds, keyed by its own
// entry of the result: a valid one gets none, and one the DAT does not know
// says so, unlike one never read.
TEST(ContentHoldings, EachUnknownArchiveSaysWhatItHolds)
{
    testing::TempTree tree;
    tree.addFile("games.dat",
                 "game ( name \"Alpha\" rom ( name a size 4 crc 00000001 ) )\n"
                 "game ( name \"Beta\" rom ( name b size 4 crc 00000002 ) rom ( name c size 4 crc 00000003 ) )\n"
                 "game ( name \"Gamma\" description \"Gamma (Japan)\" rom ( name g size 4 crc 00000004 ) )\n");
    tree.addFile("list.txt", "Alpha\nBeta\n");
    tree.addFile("roms/Alpha.zip", zipBytes({{"a", 4, 1}}));
    tree.addFile("roms/gam.zip", zipBytes({{"g", 4, 4}}));
    tree.addFile("roms/sub/half.zip", zipBytes({{"b", 4, 2}}));
    tree.addFile("roms/junk.zip", zipBytes({{"x", 4, 9}}));
    tree.addFile("roms/rar.zip", "Rar!\x1a\x07");
    AuditOutcome audit = runRomAudit({tree.root(), tree.path("list.txt"), false, false}, {});
    ASSERT_TRUE(audit.result);
    const auto result = std::make_shared<const AuditResult>(std::move(*audit.result));
    const BasisAndArchives found = readAndIdentify({tree.root(), false, {tree.path("games.dat")}, tree.path("list.txt"),
                                                    CacheChoice{false, ""}});

    const ContentHoldings holdings = unknownHoldings(result, found);
    EXPECT_EQ(holdings.result, result);
    std::map<std::string, std::string> words;
    for (const auto& [entry, text] : holdings.words)
        words[std::string(result->folderOf(*entry)) + "/" + std::string(entry->name())] = text;
    EXPECT_EQ(words, (std::map<std::string, std::string>{{"roms/gam.zip", "holds Gamma (Japan)"},
                                                         {"roms/sub/half.zip", "1 of 2 roms of Beta"},
                                                         {"roms/rar.zip", "not a zip"},
                                                         {"roms/junk.zip", "no rom of the DAT"}}));
}

}  // namespace
}  // namespace tokenade
