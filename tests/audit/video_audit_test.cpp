#include "audit/audit_run.h"
#include "audit/name_merge.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <random>

namespace tokenade {
namespace {

using testing::TempTree;

class VideoAuditTest : public ::testing::Test {
protected:
    void addFiles(std::initializer_list<std::string_view> paths)
    {
        for (auto path : paths)
            tree.addFile(path);
    }
    void writeList(std::string_view contents) { tree.addFile("list.txt", contents); }

    std::optional<VideoAuditResult> audit(bool availableOnly)
    {
        statuses.clear();
        AuditProgress progress;
        progress.status = [&](std::string_view text) { statuses.emplace_back(text); };
        return runVideoAudit(AuditInputs{tree.root(), tree.path("list.txt"), availableOnly}, progress);
    }

    TempTree tree;
    std::vector<std::string> statuses;
};

TEST_F(VideoAuditTest, WorkedExampleCheckBoxOff)
{
    writeList("alpha\nCharlie\ndelta\necho");
    addFiles({"videos/alpha.xmv", "videos/bravo.XMV", "videos2/charlie.xmv"});
    const auto result = audit(false);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"alpha.xmv", "Charlie.xmv"}));
    EXPECT_EQ(result->missing, (NameList{"delta.xmv", "echo.xmv"}));
    EXPECT_EQ(result->unknown, (NameList{"bravo.XMV"}));
    EXPECT_TRUE(result->extra.empty());
    EXPECT_EQ(statuses, (std::vector<std::string>{"Caching Tokenade video directories...",
                                                  "Caching supported rom list...", "Auditing videos..."}));
}

TEST_F(VideoAuditTest, WorkedExampleCheckBoxOn)
{
    writeList("alpha\nCharlie\ndelta\necho\ngolf\nlima");
    addFiles({"roms/alpha.zip", "roms/delta.zip", "romsConsoles/hotel.zip", "roms/kilo.zip"});
    addFiles({"videos/alpha.xmv", "videos/charlie.xmv", "videos3/golf.xmv", "videos/hotel.xmv",
              "videosextra/india.xmv", "videos/zulu.xmv"});
    const auto result = audit(true);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"alpha.xmv", "hotel.xmv"}));
    EXPECT_EQ(result->missing, (NameList{"delta.xmv"}));
    EXPECT_EQ(result->extra, (NameList{"charlie.xmv", "golf.xmv"}));
    EXPECT_EQ(result->unknown, (NameList{"india.xmv", "zulu.xmv"}));
    EXPECT_EQ(statuses.size(), 4u);
    EXPECT_EQ(statuses[2], "Caching available rom list...");
}

TEST_F(VideoAuditTest, CheckBoxOnWithUnusableListStillAudits)
{
    addFiles({"roms/Alpha.zip", "roms/bravo.zip", "videos/ALPHA.xmv", "videos/zulu.xmv"});
    const auto result = audit(true);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"Alpha.xmv"}));  // the archive's letter case
    EXPECT_EQ(result->missing, (NameList{"bravo.xmv"}));
    EXPECT_EQ(result->unknown, (NameList{"zulu.xmv"}));
    EXPECT_TRUE(result->extra.empty());
}

TEST_F(VideoAuditTest, CheckBoxOffWithUnusableListGivesNothing)
{
    addFiles({"videos/alpha.xmv"});
    EXPECT_FALSE(audit(false).has_value());
}

TEST_F(VideoAuditTest, SameVideoInTwoFolders)
{
    writeList("alpha\nbeta");
    addFiles({"videos/alpha.xmv", "videos4/alpha.xmv", "roms/alpha.zip"});
    auto result = audit(false);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"alpha.xmv"}));
    EXPECT_EQ(result->unknown, (NameList{"alpha.xmv"}));
    result = audit(true);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->extra, (NameList{"alpha.xmv"}));
}

// The membership cursor keeps the entry a test stopped on for the next test.
TEST(VideoMerge, MembershipEntryWhereATestStoppedIsFoundByTheNext)
{
    const NameList supported{"alpha.xmv", "delta.xmv"};
    const auto merged = mergeNames({"delta.xmv"}, {"bravo.xmv"}, &supported);
    EXPECT_TRUE(merged.missing.empty());
    EXPECT_EQ(merged.extra, (NameList{"delta.xmv"}));
}

TEST(VideoMerge, NamesAfterTheLastSupportedEntry)
{
    const NameList supported{"alpha.xmv"};
    const auto merged = mergeNames({"zulu.xmv"}, {"yankee.xmv"}, &supported);
    EXPECT_EQ(merged.unknown, (NameList{"zulu.xmv"}));
    EXPECT_TRUE(merged.missing.empty());
    EXPECT_TRUE(merged.extra.empty());
}

TEST(VideoMerge, EmptyListsGiveEmptyResults)
{
    const auto merged = mergeNames({}, {});
    EXPECT_TRUE(merged.valid.empty() && merged.missing.empty() && merged.extra.empty() && merged.unknown.empty());
}

}  // namespace
}  // namespace tokenade

namespace tokenade {
namespace {

// Names from a small alphabet, so that repeats, letter-case twins and
// prefixes are common, with a few outside ASCII.
KeyedNames randomNames(std::mt19937& random, size_t count)
{
    static const char* const pieces[] = {"a", "B", "c", "ab", "A b", "(x)", "\xC3\xA9", "e\xCC\x81", "-", "1"};
    KeyedNames names;
    for (size_t i = 0; i < count; ++i) {
        std::string name;
        for (int length = 1 + random() % 4; length > 0; --length)
            name += pieces[random() % 10];
        names.add(name + ".xmv", SortBy::WholeName);
    }
    names.sort();
    return names;
}

TEST(VideoMerge, TwoThreadsGiveTheSerialResult)
{
    std::mt19937 random(11);
    const KeyedNames videos = randomNames(random, 120000);
    const KeyedNames expected = randomNames(random, 60000);
    const KeyedNames supported = randomNames(random, 30000);
    for (const KeyedNames* membership : {static_cast<const KeyedNames*>(nullptr), &supported}) {
        KeyedNames videosA = videos, expectedA = expected, videosB = videos, expectedB = expected;
        const MergedNames serial = mergeNames(videosA, expectedA, membership, 1);
        const MergedNames parallel = mergeNames(videosB, expectedB, membership, 2);
        EXPECT_EQ(parallel.valid, serial.valid);
        EXPECT_EQ(parallel.missing, serial.missing);
        EXPECT_EQ(parallel.extra, serial.extra);
        EXPECT_EQ(parallel.unknown, serial.unknown);
        // Every video is matched, extra or unknown; without membership every expected name is matched or missing.
        EXPECT_EQ(serial.valid.size() + serial.extra.size() + serial.unknown.size(), videos.size());
        if (!membership) {
            EXPECT_EQ(serial.valid.size() + serial.missing.size(), expected.size());
        }
    }
}

}  // namespace
}  // namespace tokenade
