#include "core/content/sets/set_needs.h"

#include "hand_made_dat.h"

#include <gtest/gtest.h>

#include <string>

namespace tokenade::testing {
namespace {

struct HandArchive {
    std::string name;
    std::vector<uint32_t> crcs;
};

// A parent on a BIOS of two roms and a device, its clone, both on the list;
// a device no one references.
struct NeedsOf {
    ContentBasis basis;
    IdentifiedArchives identified;

    explicit NeedsOf(const std::vector<HandArchive>& archives)
    {
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
        basis.matcher = std::make_unique<const ContentMatcher>(*basis.dat, *basis.lines, basis.sets.get());
        identified.archives.folders = {"roms"};
        for (const HandArchive& hand : archives) {
            FoundArchive& archive = identified.archives.archives.emplace_back();
            archive.name = hand.name;
            for (const uint32_t crc : hand.crcs)
                archive.contents.entries.push_back({4, crc, std::to_string(crc)});
            identified.found.push_back(basis.matcher->identify(archive.name, archive.contents));
        }
    }

    // Per archive "name: what its set lacks [how many listed sets need it]".
    std::string described() const
    {
        const CollectionNeeds needs = judgeNeeds(basis, identified);
        std::string text;
        for (size_t i = 0; i < needs.unmet.size(); ++i)
            text += identified.archives.archives[i].name + ": " + unmetText(*basis.dat, needs.unmet[i]) + " [" +
                    std::to_string(needs.neededBy[i]) + "]\n";
        return text;
    }
};

TEST(SetNeeds, WhatEachListedSetLacksAndWhoNeedsAnArchiveOffTheList)
{
    const struct {
        std::vector<HandArchive> archives;
        std::string expected;
    } cases[] = {
        // The clone alone, its BIOS short of a rom, its device of other roms;
        // the absent parent needs them too, in whatever form it comes.
        {{{"clo.zip", {0x21}}, {"bios.zip", {0xb1}}, {"dev.zip", {0x99}}, {"dev2.zip", {0xe1}}},
         "clo.zip: needs par.zip (parent), missing, and needs bios.zip (BIOS), incomplete, and needs dev.zip (device), wrong [0]\n"
         "bios.zip:  [2]\ndev.zip:  [2]\ndev2.zip:  [0]\n"},
        // Full non-merged needs nothing; a split clone whose archive holds the
        // BIOS's roms beside its own finds them there; a merged parent needs
        // for its clone too.
        {{{"clo.zip", {0x11, 0x21, 0xb1, 0xb2, 0xd1}}, {"dev.zip", {0xd1}}}, "clo.zip:  [0]\ndev.zip:  [1]\n"},
        {{{"clo.zip", {0x21, 0xb1, 0xb2}}, {"par.zip", {0x11}}}, "clo.zip: needs dev.zip (device), missing [0]\n"
                                                                 "par.zip: needs bios.zip (BIOS), missing, and needs dev.zip (device), missing [0]\n"},
        {{{"par.zip", {0x11, 0x21}}, {"bios.zip", {0x5}}, {"dev.zip", {0xd1}}},
         "par.zip: needs bios.zip (BIOS), wrong [0]\nbios.zip:  [2]\ndev.zip:  [2]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(NeedsOf(c.archives).described(), c.expected);
    }
}

}  // namespace
}  // namespace tokenade::testing
