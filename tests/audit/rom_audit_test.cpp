#include "audit/audit_run.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace tokenade {
namespace {

using testing::TempTree;

class RomAuditTest : public ::testing::Test {
protected:
    void addArchive(std::string_view path) { tree.addFile(path); }
    void writeList(std::string_view contents) { tree.addFile("list.txt", contents); }

    std::optional<RomAuditResult> audit()
    {
        statuses.clear();
        AuditProgress progress;
        progress.status = [&](std::string_view text) { statuses.emplace_back(text); };
        return runRomAudit(AuditInputs{tree.root(), tree.path("list.txt"), false}, progress);
    }

    TempTree tree;
    std::vector<std::string> statuses;
};

TEST_F(RomAuditTest, WorkedExample)
{
    writeList("delta\nalpha\nCharlie\necho\n");
    addArchive("roms/ALPHA.zip");
    addArchive("roms/bravo.zip");
    addArchive("romsConsoles/charlie.ZIP");
    addArchive("roms16BitConsoles/foxtrot.zip");
    addArchive("roms/readme.txt");

    const auto result = audit();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"alpha.zip", "Charlie.zip"}));
    EXPECT_EQ(result->missing, (NameList{"delta.zip", "echo.zip"}));
    EXPECT_EQ(result->unknown, (NameList{"bravo.zip", "foxtrot.zip"}));
    EXPECT_EQ(statuses, (std::vector<std::string>{"Caching Tokenade rom directories...",
                                                  "Caching supported rom list...", "Auditing roms..."}));
}

// Sorted as lines, "abc" comes before "abc (x)"; as archive names the order flips.
TEST_F(RomAuditTest, RewriteThatReordersNamesStillMatches)
{
    writeList("abc\nabc (x)\n");
    addArchive("roms/abc.zip");
    addArchive("roms/abc (x).zip");
    const auto result = audit();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"abc (x).zip", "abc.zip"}));
    EXPECT_TRUE(result->missing.empty());
    EXPECT_TRUE(result->unknown.empty());
}

// A line with "/" sorts by its last component but merges by its whole text.
TEST_F(RomAuditTest, LineWithASlashDoesNotPushOthersOutOfTheMerge)
{
    writeList("alpha\nbeta\nz/aaa\ngamma\n");
    addArchive("roms/alpha.zip");
    addArchive("roms/beta.zip");
    addArchive("roms/gamma.zip");
    const auto result = audit();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"alpha.zip", "beta.zip", "gamma.zip"}));
    EXPECT_EQ(result->missing, (NameList{"z/aaa.zip"}));
    EXPECT_TRUE(result->unknown.empty());
}

TEST_F(RomAuditTest, RepeatedNames)
{
    writeList("alpha\nalpha.7z\nbeta\nbeta\ngamma.ZIP\n");
    addArchive("roms/alpha.zip");
    addArchive("roms/beta.zip");
    addArchive("roms/gamma.zip");
    addArchive("romsConsoles/gamma.zip");
    const auto result = audit();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"alpha.zip", "beta.zip", "gamma.zip"}));
    EXPECT_EQ(result->missing, (NameList{"alpha.zip", "beta.zip"}));
    EXPECT_EQ(result->unknown, (NameList{"gamma.zip"}));
}

TEST_F(RomAuditTest, EmptyListOrNoArchives)
{
    writeList("\r\n");
    addArchive("roms/alpha.zip");
    auto result = audit();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->unknown, (NameList{"alpha.zip"}));
    EXPECT_TRUE(result->valid.empty() && result->missing.empty());

    writeList("alpha");
    std::remove(tree.path("roms/alpha.zip").c_str());
    result = audit();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->missing, (NameList{"alpha.zip"}));
}

TEST_F(RomAuditTest, UnusableListStopsBeforeTheMerge)
{
    addArchive("roms/alpha.zip");
    EXPECT_FALSE(audit().has_value());
    EXPECT_EQ(statuses, (std::vector<std::string>{"Caching Tokenade rom directories...",
                                                  "Caching supported rom list..."}));
}

TEST_F(RomAuditTest, NonAsciiNamesMatchAcrossCaseAndComposition)
{
    writeList("\xC3\x89t\xC3\xA9\nstra\xC3\x9F" "e\n");            // "Été" precomposed, "straße"
    addArchive("roms/e\xCC\x81t\xC3\xA9.zip");                  // "été" decomposed
    addArchive("roms/STRASSE.ZIP");
    const auto result = audit();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->valid, (NameList{"\xC3\x89t\xC3\xA9.zip", "stra\xC3\x9F" "e.zip"}));
    EXPECT_TRUE(result->unknown.empty());
}

}  // namespace
}  // namespace tokenade
