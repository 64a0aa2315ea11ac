#include "core/content/sets/set_needs.h"

#include "hand_made_dat.h"

#include <gtest/gtest.h>

namespace tokenade::testing {
namespace {

// Per archive "name: what its set lacks [how many listed sets need it]", of
// a parent on a BIOS of two roms and a device and its clone, both listed,
// and a device no one references.
std::string needsOf(const std::vector<std::pair<std::string, std::vector<uint32_t>>>& archives)
{
    ContentBasis basis;
    basis.dat = std::make_unique<const DatIndex>(handMadeDat({
        {"bios", "", "", {{"b1", 0xb1}, {"b2", 0xb2}}, {}, true},
        {"dev", "", "", {{"d1", 0xd1}}, {}, false, true},
        {"dev2", "", "", {{"e1", 0xe1}}, {}, false, true},
        {"par", "", "bios", {{"p1", 0x11}, {"b1", 0xb1, "b1"}, {"b2", 0xb2, "b2"}}, {"dev"}},
        {"clo", "par", "par", {{"p1", 0x11, "p1"}, {"c1", 0x21}, {"b1", 0xb1, "b1"}, {"b2", 0xb2, "b2"}}, {"dev"}},
    }));
    basis.list = std::make_unique<const RomsList>(RomsList{nullptr, {"par", "clo"}});
    basis.lines = std::make_unique<const GameLines>(matchGamesToList(*basis.dat, basis.list->lines));
    basis.sets = std::make_unique<const SetRules>(*basis.dat);
    const ContentMatcher matcher(*basis.dat, *basis.lines, basis.sets.get());
    IdentifiedArchives identified;
    for (const auto& [name, crcs] : archives) {
        FoundArchive& archive = identified.archives.archives.emplace_back();
        archive.name = name;
        for (const uint32_t crc : crcs)
            archive.contents.entries.push_back({4, crc, std::to_string(crc)});
        identified.found.push_back(matcher.identify(archive.name, archive.contents));
    }
    const CollectionNeeds needs = judgeNeeds(basis, identified);
    std::string text;
    for (size_t i = 0; i < needs.unmet.size(); ++i)
        text += archives[i].first + ": " + unmetText(*basis.dat, needs.unmet[i]) + " [" + std::to_string(needs.neededBy[i]) + "]\n";
    return text;
}

TEST(SetNeeds, WhatEachListedSetLacksAndWhoNeedsAnArchiveOffTheList)
{
    const struct {
        std::vector<std::pair<std::string, std::vector<uint32_t>>> archives;
        std::string expected;
    } cases[] = {
        // The clone alone, its BIOS short of a rom, its device of other roms;
        // the absent parent needs them too, in whatever form it comes.
        {{{"clo.zip", {0x21}}, {"bios.zip", {0xb1}}, {"dev.zip", {0x99}}, {"dev2.zip", {0xe1}}},
         "clo.zip: needs par.zip (parent), missing, and needs bios.zip (BIOS), incomplete, and needs dev.zip (device), wrong [0]\n"
         "bios.zip:  [2]\ndev.zip:  [2]\ndev2.zip:  [0]\n"},
        // A clone's archive holding the BIOS's roms; a merged parent's, needing for its clone too.
        {{{"clo.zip", {0x21, 0xb1, 0xb2}}, {"par.zip", {0x11}}}, "clo.zip: needs dev.zip (device), missing [0]\n"
                                                                 "par.zip: needs bios.zip (BIOS), missing, and needs dev.zip (device), missing [0]\n"},
        {{{"par.zip", {0x11, 0x21}}, {"bios.zip", {0x5}}, {"dev.zip", {0xd1}}},
         "par.zip: needs bios.zip (BIOS), wrong [0]\nbios.zip:  [2]\ndev.zip:  [2]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(needsOf(c.archives), c.expected);
    }
}

}  // namespace
}  // namespace tokenade::testing
