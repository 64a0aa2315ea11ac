#include "core/audit/near_miss_finder.h"

#include "core/audit/name_differences.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

KeyedNames sorted(const std::vector<std::string>& names)
{
    KeyedNames list;
    for (const std::string& name : names)
        list.add(name, 0);
    list.sort();
    return list;
}

std::string words(uint8_t differences)
{
    std::string text;
    for (std::string_view word : differenceNames(Differences{differences}))
        text += (text.empty() ? "" : ",") + std::string(word);
    return text;
}

// Every near miss, ambiguous group, copy and cut name as one line each.
std::string nearMissesOf(const std::vector<std::string>& files, const std::vector<std::string>& lines)
{
    std::vector<std::string_view> views(lines.begin(), lines.end());
    const RomsList list{nullptr, views};
    std::vector<std::string> expectedNames;
    for (std::string line : lines)
        expectedNames.push_back(line.substr(0, line.rfind('.')) + ".zip");
    const KeyedNames found = sorted(files);
    const KeyedNames expected = sorted(expectedNames);
    const MergedNames merged = mergeNames(found, expected);
    const NearMisses near = findNearMisses(merged, &list, "zip");
    std::string text;
    for (const auto& pair : near.pairs)
        text += std::string(pair.found->name()) + " -> " + std::string(pair.expected->name()) + " [" +
                words(pair.differences) + "]\n";
    for (const auto& group : near.ambiguous) {
        text += "ambiguous:";
        for (const ResultEntry* entry : group)
            text += " " + std::string(entry->name()) + (entry == group.back() ? "\n" : "");
    }
    for (const auto& copy : near.copies)
        text += std::string(copy.file->name()) + " copies " + std::string(copy.copyOf->name()) + "\n";
    for (const auto& cut : near.cut)
        text += cut.line + " expects " + cut.expected + ", " + std::string(cut.found->name()) + " is there\n";
    return text;
}

TEST(NearMissFinder, PairsEveryKindOfMistakeButNeverAnotherRelease)
{
    EXPECT_EQ(nearMissesOf({"Tom and Jerry (USA).zip", "Zelda - A Link (Europe).zip", "Pokemon Red (USA).zip",
                            "\xEF\xBC\xA6ULL Throttle (USA).zip", "Kirby (USA).zip.zip", "Sonic (USA) .zip",
                            "Don\xE2\x80\x99t Stop (USA).zip", "Beta (Europe).zip"},
                           {"Tom & Jerry (USA)", "Zelda: A Link (Europe)", "Pok\xC3\xA9mon Red (USA)",
                            "FULL Throttle (USA)", "Kirby (USA)", "Sonic (USA)", "Don't Stop (USA)", "Beta (USA)"}),
              "Don\xE2\x80\x99t Stop (USA).zip -> Don't Stop (USA).zip [punctuation]\n"
              "\xEF\xBC\xA6ULL Throttle (USA).zip -> FULL Throttle (USA).zip [width]\n"
              "Kirby (USA).zip.zip -> Kirby (USA).zip [extension]\n"
              "Pokemon Red (USA).zip -> Pok\xC3\xA9mon Red (USA).zip [accents]\n"
              "Sonic (USA) .zip -> Sonic (USA).zip [spacing]\n"
              "Tom and Jerry (USA).zip -> Tom & Jerry (USA).zip [punctuation]\n"
              "Zelda - A Link (Europe).zip -> Zelda: A Link (Europe).zip [spacing,punctuation]\n");
}

TEST(NearMissFinder, AmbiguousGroupsCopiesAndCutNamesAreListedNotPaired)
{
    EXPECT_EQ(nearMissesOf({"Alpha - USA.zip", "Alpha (USA).zip.zip", "GAMMA.ZIP", "Gamma.zip", "Kirby.7z.zip",
                            "Pok\xC3\xA9mon Vol. 2.zip", "DR. MARIO (JAPAN, USA).zip"},
                           {"Alpha (USA)", "Gamma", "Kirby.7z", "Pok\xC3\xA9mon Vol. 2", "Dr. Mario (Japan, USA)"}),
              "ambiguous: Alpha (USA).zip Alpha (USA).zip.zip Alpha - USA.zip\n"
              "GAMMA.ZIP copies Gamma.zip\n"
              "Pok\xC3\xA9mon Vol. 2 expects Pok\xC3\xA9mon Vol.zip, Pok\xC3\xA9mon Vol. 2.zip is there\n"
              "Dr. Mario (Japan, USA) expects Dr.zip, DR. MARIO (JAPAN, USA).zip is there\n");
}

}  // namespace
}  // namespace tokenade
