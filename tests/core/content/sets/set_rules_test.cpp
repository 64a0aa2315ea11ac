#include "core/content/dat_reader.h"
#include "core/content/identification.h"
#include "core/content/sets/set_rules.h"
#include "tests/core/content/held_files.h"

#include "hand_made_dat.h"

#include <gtest/gtest.h>

#include <string>

namespace tokenade::testing {
namespace {

// A BIOS with a device, a parent and two clones: a rom shared by name and
// CRC, one a clone names like the parent's but with another CRC, one whose
// `merge` names a rom the parent lacks, two clones sharing a CRC, and roms
// not required (never dumped, optional).
DatIndex family()
{
    return handMadeDat({
        {"bios", "", "", {{"b1", 0xb1}, {"b2", 0xb2}}, {}, true},
        {"dev", "", "", {{"d1", 0xd1}}, {}, false, true},
        {"nodev", "", "", {}, {"dev"}, false, true},
        {"par", "", "bios", {{"p1", 0x11}, {"p2", 0x12}, {"b1", 0xb1, "b1"}}, {"nodev", "dev"}},
        {"clo", "par", "par",
         {{"p1", 0x11, "p1"}, {"c2", 0x22}, {"b1", 0xb1, "b1"}, {"p2", 0x99}, {"nd", 0, "", RomStatus::NoDump},
          {"opt", 0x33, "", RomStatus::Good, true}, {"lost", 0x44, "p9"}},
         {"nodev"}},
        {"clo2", "par", "par", {{"p1", 0x11, "p1"}, {"x", 0x22}}},
    });
}

// A set's roms as "machine:rom" (with "!" for a rom not required, "*" for a
// name taken in a merged archive), and its needs as "kind machine".
std::string described(const DatIndex& dat, const SetContents& contents)
{
    std::string text = std::string(dat.games[contents.archive].name) + " =";
    for (const SetRom& rom : contents.roms) {
        text += " " + std::string(dat.games[rom.machine].name) + ":" + std::string(dat.roms[rom.rom].name);
        text += std::string(rom.required ? "" : "!") + (rom.nameTaken ? "*" : "");
    }
    text += " |";
    for (const SetNeed& need : contents.needs)
        text += " " + std::string(needKindKey(need.kind)) + " " + std::string(dat.games[need.machine].name);
    return text;
}

TEST(SetRules, EachFormOfAFamilyHoldsAndNeeds)
{
    const DatIndex dat = family();
    const SetRules rules(dat);
    const struct {
        std::string_view machine;
        SetForm form;
        std::string_view expected;
    } cases[] = {
        {"bios", SetForm::Split, "bios = bios:b1 bios:b2 |"},
        {"par", SetForm::Split, "par = par:p1 par:p2 | BIOS bios device dev"},
        // The clone's p2 is its own (no merge, another CRC); "lost" stays too.
        {"clo", SetForm::Split, "clo = clo:c2 clo:p2 clo:nd! clo:opt! clo:lost | parent par BIOS bios device dev"},
        {"clo", SetForm::NonMerged, "clo = clo:p1 clo:c2 clo:p2 clo:nd! clo:opt! clo:lost | BIOS bios device dev"},
        {"clo", SetForm::FullNonMerged, "clo = clo:p1 clo:c2 clo:b1 clo:p2 clo:nd! clo:opt! clo:lost dev:d1 |"},
        // Both clones' roms of CRC 22 are in the merged archive, each under its name.
        {"par", SetForm::Merged,
         "par = par:p1 par:p2 clo:c2 clo:p2* clo:nd! clo:opt! clo:lost clo2:x | BIOS bios device dev"},
        {"clo2", SetForm::Merged, "par = | parent par"},  // clo2 lists no BIOS rom
        {"dev", SetForm::Split, "dev = dev:d1 |"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.machine) + " " + std::string(setFormKey(c.form)));
        EXPECT_EQ(described(dat, rules.contents(rules.machineNamed(c.machine), c.form)), c.expected);
    }
    ASSERT_EQ(rules.mergesNotFound().size(), 1u);
    EXPECT_EQ(dat.roms[rules.mergesNotFound()[0]].name, "lost");
    EXPECT_TRUE(rules.isBiosRom(dat.games[rules.machineNamed("clo")].firstRom + 2));
}

TEST(SetRules, WithoutAnyMergeARomIsInheritedByContentAlone)
{
    const DatIndex dat = handMadeDat({
        {"par", "", "", {{"p1", 0x11}, {"p2", 0x12}}},
        {"clo", "par", "par", {{"renamed", 0x11}, {"p2", 0x13}}},
    });
    const SetRules rules(dat);
    EXPECT_EQ(described(dat, rules.contents(1, SetForm::Split)), "clo = clo:p2 | parent par");
}

TEST(SetRules, AFamilyInACircleOrWithoutItsParentEndsWhereItTurns)
{
    const DatIndex dat = handMadeDat({
        {"a", "b", "b", {{"r", 0x1, "r"}}},
        {"b", "a", "a", {{"r", 0x1, "r"}}},
        {"orphan", "gone", "gone", {{"o", 0x2, "o"}}},
    });
    const SetRules rules(dat);
    EXPECT_EQ(described(dat, rules.contents(2, SetForm::Split)), "orphan = orphan:o |");
    EXPECT_EQ(rules.contents(0, SetForm::Split).roms.size() + rules.contents(1, SetForm::Split).roms.size(), 1u);
    EXPECT_EQ(rules.mergesNotFound().size(), 1u);
}

TEST(SetMatching, AnArchiveBuiltInAnyFormIsItsMachineNeverIncompleteOrAmbiguous)
{
    DatIndex dat = family();
    const std::vector<std::string_view> lines = {"par", "clo", "clo2", "bios"};
    const GameLines met = matchGamesToList(dat, lines);
    const SetRules rules(dat);
    const ContentMatcher matcher(dat, met, &rules);
    const uint32_t par = rules.machineNamed("par"), clo = rules.machineNamed("clo"), clo2 = rules.machineNamed("clo2");
    const auto split = maskOf(SetForm::Split), nonMerged = maskOf(SetForm::NonMerged);
    const auto full = maskOf(SetForm::FullNonMerged), merged = maskOf(SetForm::Merged);
    const struct {
        std::string_view name;
        std::vector<uint32_t> crcs;
        SetFormMask allowed;
        ContentState state;
        uint32_t game;
        SetFormMask forms;
        size_t extras = 0;
    } cases[] = {
        {"par.zip", {0x11, 0x12}, kAnySetForm, ContentState::RightName, par, SetFormMask(split | nonMerged)},
        {"clo.zip", {0x22, 0x99, 0x44}, kAnySetForm, ContentState::RightName, clo, split},
        {"x.zip", {0x11, 0x22, 0x99, 0x44}, kAnySetForm, ContentState::AnotherName, clo, nonMerged},
        {"clo.zip", {0x11, 0x22, 0x99, 0x44, 0xb1, 0xd1, 0x33}, kAnySetForm, ContentState::RightName, clo, full},
        {"par.zip", {0x11, 0x12, 0x22, 0x99, 0x44}, kAnySetForm, ContentState::RightName, par, merged},
        {"bios.zip", {0xb1, 0xb2}, kAnySetForm, ContentState::RightName, rules.machineNamed("bios"), kAnySetForm},
        // A merged parent's archive where only split sets are looked for.
        {"par.zip", {0x11, 0x12, 0x22, 0x99, 0x44}, split, ContentState::RightName, par, split, 3},
        {"clo.zip", {0x22, 0x99}, kAnySetForm, ContentState::Incomplete, clo, split},
        // clo2's own rom is clo's too: named for clo, it has more of clo than clo2 needs.
        {"clo2.zip", {0x22}, split, ContentState::RightName, clo2, split},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.crcs.size()));
        const Identification found = matcher.identify(c.name, holding(c.crcs), c.allowed);
        EXPECT_EQ(found.state, c.state);
        EXPECT_EQ(found.game, c.game);
        EXPECT_EQ(found.line, met.lineOfGame[c.game]);
        EXPECT_EQ(found.forms, c.forms);
        EXPECT_EQ(found.extras.size(), c.extras);
    }
    EXPECT_EQ(matcher.identify("p.zip", holding({0x11, 0x12, 0x22, 0x99, 0x44})).clonesHeld,
              (std::vector<uint32_t>{clo, clo2}));
}

// Every machine of the real extract, its archive built exactly as each form
// prescribes, is that machine in that form: never incomplete or ambiguous.
TEST(SetMatching, RealMachinesInEveryFormAreThemselves)
{
    const DatRead read = readDatFile(TOKENADE_TEST_DATA "/arcade/mame_0251_extract.xml");
    ASSERT_TRUE(read.dat) << read.problem.message();
    const DatIndex& dat = *read.dat;
    const std::vector<std::string_view> lines = {"kof98a", "pacman", "galaga"};
    const GameLines met = matchGamesToList(dat, lines);
    const SetRules rules(dat);
    const ContentMatcher matcher(dat, met, &rules);
    size_t archives = 0;
    for (uint32_t machine = 0; machine < dat.games.size(); ++machine) {
        for (const SetForm form : kSetForms) {
            const SetContents contents = rules.contents(machine, form);
            ZipDirectory zip;
            for (const SetRom& rom : contents.roms)
                zip.entries.push_back({dat.roms[rom.rom].key.size, dat.roms[rom.rom].key.crc, std::string(dat.roms[rom.rom].name)});
            if (contents.archive != machine || contents.requiredKeys(dat).empty())
                continue;
            SCOPED_TRACE(std::string(dat.games[machine].name) + " " + std::string(setFormKey(form)));
            const Identification found = matcher.identify(std::string(dat.games[machine].name) + ".zip", zip);
            EXPECT_TRUE(found.state == ContentState::RightName || found.state == ContentState::NotOnList);
            EXPECT_EQ(found.game, machine);
            EXPECT_TRUE(found.forms & maskOf(form));
            ++archives;
        }
    }
    EXPECT_GT(archives, 150u);
    const auto needs = [&](std::string_view machine, SetForm form) {
        std::string text;
        for (const SetNeed& need : rules.contents(rules.machineNamed(machine), form).needs)
            text += std::string(dat.games[need.machine].name) + " ";
        return text;
    };
    EXPECT_EQ(needs("kof98a", SetForm::Split), "kof98 neogeo ");
    EXPECT_EQ(needs("pacman", SetForm::Split), "puckman ");
    EXPECT_EQ(needs("galaga", SetForm::Merged), "namco51 namco54 ");
}

}  // namespace
}  // namespace tokenade::testing
