#include "core/audit/name_merge.h"

#include <gtest/gtest.h>

#include <random>

namespace tokenade {
namespace {

// A sorted list; a name's origin is its folder number, given as "name@3".
KeyedNames sorted(const std::vector<std::string>& names)
{
    KeyedNames list;
    for (const std::string& name : names) {
        const size_t at = name.find('@');
        list.add(name.substr(0, at), at == std::string::npos ? 0 : std::stoul(name.substr(at + 1)));
    }
    list.sort();
    return list;
}

std::string describe(const ResultList& entries)
{
    std::string text;
    for (const ResultEntry& entry : entries)
        text += (text.empty() ? "" : ", ") + std::string(entry.name()) +
                (entry.folder == kNoFolder ? "" : "@" + std::to_string(entry.folder));
    return text;
}

std::string describe(const MergedNames& merged)
{
    std::string copies;
    for (const auto& [unknown, valid] : merged.copies)
        copies += " " + std::string(merged.unknown.at(unknown).name()) + "=" + std::string(merged.valid.at(valid).name());
    return "valid: " + describe(merged.valid) + " | missing: " + describe(merged.missing) +
           " | extra: " + describe(merged.extra) + " | unknown: " + describe(merged.unknown) + " | copies:" + copies;
}

struct MergeCase {
    std::string name;
    std::vector<std::string> found;
    std::vector<std::string> expected;
    std::optional<std::vector<std::string>> supported;
    std::string merged;
};

class NameMerge : public ::testing::TestWithParam<MergeCase> {};

TEST_P(NameMerge, EachNameLandsInItsCategory)
{
    const MergeCase& c = GetParam();
    const KeyedNames supported = sorted(c.supported.value_or(std::vector<std::string>{}));
    EXPECT_EQ(describe(mergeNames(sorted(c.found), sorted(c.expected), c.supported ? &supported : nullptr)), c.merged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameMerge,
    ::testing::Values(
        MergeCase{"LetterCaseAndRepeats",
                  {"ALPHA.zip@1", "bravo.zip@1", "charlie.ZIP@2", "foxtrot.zip@3", "bravo.zip@2"},
                  {"alpha.zip", "Charlie.zip", "delta.zip", "echo.zip", "echo.zip"},
                  std::nullopt,
                  "valid: alpha.zip@1, Charlie.zip@2 | missing: delta.zip, echo.zip, echo.zip | extra:  | "
                  "unknown: bravo.zip@1, bravo.zip@2, foxtrot.zip@3 | copies:"},
        // The correctly named file counts, whatever folder comes first; the other copy is the unknown one.
        MergeCase{"ExactSpellingPairsFirst",
                  {"ALPHA (USA).ZIP@1", "Alpha (USA).zip@2"}, {"Alpha (USA).zip"}, std::nullopt,
                  "valid: Alpha (USA).zip@2 | missing:  | extra:  | unknown: ALPHA (USA).ZIP@1 | "
                  "copies: ALPHA (USA).ZIP=Alpha (USA).zip"},
        MergeCase{"OthersOfARunPairInStringOrder",
                  {"POKE\xCC\x81MON.zip@1", "pok\xC3\xA9mon.zip@2", "Pok\xC3\xA9mon.zip@3"},
                  {"Pok\xC3\xA9mon.zip", "POK\xC3\x89MON.zip"},
                  std::nullopt,
                  "valid: POK\xC3\x89MON.zip@1, Pok\xC3\xA9mon.zip@3 | missing:  | extra:  | "
                  "unknown: pok\xC3\xA9mon.zip@2 | copies: pok\xC3\xA9mon.zip=Pok\xC3\xA9mon.zip"},
        // Membership: the supported list tells extra videos from unknown ones, and
        // an entry where one test stopped is found by the next.
        MergeCase{"WorkedExampleWithMembership",
                  {"alpha.xmv@0", "charlie.xmv@0", "golf.xmv@0", "hotel.xmv@0", "india.xmv@0", "zulu.xmv@0"},
                  {"alpha.xmv", "delta.xmv", "hotel.xmv", "kilo.xmv"},
                  std::vector<std::string>{"alpha.xmv", "Charlie.xmv", "delta.xmv", "echo.xmv", "golf.xmv", "lima.xmv"},
                  "valid: alpha.xmv@0, hotel.xmv@0 | missing: delta.xmv | extra: charlie.xmv@0, golf.xmv@0 | "
                  "unknown: india.xmv@0, zulu.xmv@0 | copies:"},
        MergeCase{"LeftoversOfARunAreTestedForMembership",
                  {"Zelda.xmv@0", "ZELDA.xmv@1", "ZELDA.xmv@2"},
                  {"zelda.xmv", "Zelda.xmv"},
                  std::vector<std::string>{"ZELDA.XMV"},
                  "valid: Zelda.xmv@0, zelda.xmv@1 | missing:  | extra: ZELDA.xmv@2 | unknown:  | copies:"}),
    [](const auto& info) { return info.param.name; });

// Titles from a small alphabet, so that runs of names alike are common.
KeyedNames randomTitles(std::mt19937& random, size_t count)
{
    static const char* const pieces[] = {"a", "B", "Mario ", "(x)", "\xC3\xA9", "e\xCC\x81", "-", "1"};
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) {
        std::string name;
        for (int length = 1 + random() % 4; length > 0; --length)
            name += pieces[random() % std::size(pieces)];
        names.push_back(name + ".xmv@" + std::to_string(i % 5));
    }
    return sorted(names);
}

// A merge that uses up its found names gives their pages back behind it:
// it must never read a record it gave back.
TEST(NameMergeInParallel, TwoThreadsAndAMergeUsingUpItsFoundNamesGiveTheSerialResult)
{
    std::mt19937 random(11);
    const KeyedNames videos = randomTitles(random, 120000);
    const KeyedNames expected = randomTitles(random, 60000);
    const KeyedNames supported = randomTitles(random, 30000);
    for (const KeyedNames* membership : {static_cast<const KeyedNames*>(nullptr), &supported}) {
        const MergedNames serial = mergeNames(videos, expected, membership, 1);
        EXPECT_EQ(describe(mergeNames(videos, expected, membership, 2)), describe(serial));
        for (unsigned threads : {1u, 2u}) {
            std::mt19937 again(11);
            KeyedNames usedUp = randomTitles(again, videos.size());
            EXPECT_EQ(describe(mergeUsingUpFound(usedUp, expected, membership, threads)), describe(serial));
            EXPECT_TRUE(usedUp.empty());
        }
        EXPECT_EQ(serial.valid.size() + serial.extra.size() + serial.unknown.size(), videos.size());
        if (!membership) {
            EXPECT_EQ(serial.valid.size() + serial.missing.size(), expected.size());
        }
    }
}

}  // namespace
}  // namespace tokenade
