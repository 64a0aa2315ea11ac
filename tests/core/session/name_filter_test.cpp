#include "core/session/name_filter.h"

#include "tests/support/result_entries.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using testing::entriesOf;

std::vector<uint32_t> filtered(NameFilter& filter, const std::shared_ptr<const ResultList>& entries,
                               std::string_view typed)
{
    filter.start(entries, typed);
    filter.step(std::chrono::hours(1));
    return filter.matches();
}

const std::vector<std::string> kNames{
    "Super Mario Bros..zip",        "Dr. Mario (Japan, USA).zip", "Poke\u0301mon \u2013 Edicio\u0301n Roja.zip",
    "Pok\u00E9mon Yellow.zip",       "ＦＵＬＬ Throttle.zip",        "\u30DD\u30B1\u30E2\u30F3 \u8D64.zip",
    "Tom & Jerry.zip",              "Zelda: A Link.zip",          "Pokemon Snap.zip",
};

// Letter case and composed or decomposed accents do not matter; an accent
// or the width of a letter only makes the match a loose one, shown after
// the exact ones; other letters do matter.
TEST(NameFilter, MatchesAsTheAuditComparesNamesThenWithoutAccentsAndWidth)
{
    const auto entries = std::make_shared<const ResultList>(entriesOf(kNames));
    const struct {
        const char* typed;
        std::vector<uint32_t> exact;
        std::vector<uint32_t> loose;
    } cases[] = {
        {"MARIO", {0, 1}, {}},
        {"pok\u00E9mon", {2, 3}, {8}},      // composed, against a decomposed and a composed name
        {"POKE\u0301MON \u2013", {2}, {}},  // decomposed
        {"pokemon", {8}, {2, 3}},            // the plain spelling first
        {"\uFF46\uFF55\uFF4C\uFF4C", {4}, {}},
        {"full", {}, {4}},
        {"\u30DD\u30B1", {5}, {}},          // decomposes into a base and a sound mark, as the name does
        {"& j", {6}, {}},
        {"link.zip", {7}, {}},
        {"mari0", {}, {}},
    };
    NameFilter filter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(filtered(filter, entries, c.typed), c.exact);
        EXPECT_EQ(filter.looseMatches(), c.loose);
    }
}

// "Dr.zip" is Dr. Mario's missing archive: typing "mario" must find it.
TEST(NameFilter, ACutNameMatchesByItsWholeListLine)
{
    const std::vector<std::string> names{"Dr.zip", "Super Mario Bros.zip", "Dr.zip"};
    const auto entries = std::make_shared<const ResultList>(entriesOf(names));
    const auto lines = std::make_shared<const CutLines>(CutLines{{&(*entries)[0], "Dr. Mario (Japan, USA)"}});
    NameFilter filter;
    filter.start(entries, "MARIO", lines);
    filter.step(std::chrono::hours(1));
    EXPECT_EQ(filter.matches(), (std::vector<uint32_t>{0, 1}));
}

// Typing on narrows what matched, even mid-way; taking a letter back looks at every name again.
TEST(NameFilter, WorksInSlicesAndNarrowsAsTheTextGrows)
{
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i)
        names.push_back(kNames[static_cast<size_t>(i) % 8]);
    const auto entries = std::make_shared<const ResultList>(entriesOf(names));
    NameFilter filter;
    filter.start(entries, "o");
    EXPECT_FALSE(filter.step(std::chrono::steady_clock::duration::zero()));  // 256 names compared, 6 in 8 match
    EXPECT_EQ(filter.summary(), "Showing 192 of 3,000 so far, looking for names that contain \u201Co\u201D\u2026");
    EXPECT_EQ(filtered(filter, entries, "om").size(), 375u);
    EXPECT_EQ(filtered(filter, entries, "o").size(), 2250u);
}

}  // namespace
}  // namespace tokenade
