#include "core/content/sets/judgement_text.h"
#include "core/content/sets/set_disks.h"
#include "tests/support/temp_tree.h"

#include "hand_made_dat.h"

#include <gtest/gtest.h>

namespace tokenade::testing {
namespace {

DatDisk disk(std::string_view name, std::string_view sha1, RomStatus status = RomStatus::Good)
{
    DatDisk made;
    made.name = name, made.sha1 = sha1, made.status = status;
    return made;
}

// A BIOS, a parent with a bad dump and a rom never dumped, two clones; and a
// machine with disks made by chdman (tests/data/archives/README.md).
DatIndex machines()
{
    return handMadeDat({
        {"bios", "", "", {{"b1", 0xb1}}, {}, true},
        {"par", "", "bios", {{"p1", 0x11}, {"p2", 0x12, "", RomStatus::BadDump}, {"b1", 0xb1, "b1"}, {"nd", 0}}},
        {"clo", "par", "par", {{"p1", 0x11, "p1"}, {"c1", 0x21}, {"b1", 0xb1, "b1"}}},
        {"clo2", "par", "par", {{"c1", 0x21}}},  // shares its own rom with clo
        {"dsk", "", "", {{"r", 0x31}}, {}, false, false,
         {disk("good", "81332040808D616BD14EF61B2B2A876B6C110DB1", RomStatus::BadDump),
          disk("other", "81332040808d616bd14ef61b2b2a876b6c110db1"), disk("blank", ""), disk("gone", "00"),
          disk("never", "", RomStatus::NoDump), disk("../../good", "")}},
    });
}

std::string judged(const SetJudgement& judgement, const DatIndex& dat, const ZipDirectory& archive)
{
    std::string text = judgementSummary(dat, judgement);
    for (const std::string& line : judgementLines(dat, judgement, archive))
        text += " | " + line;
    return text;
}

TEST(SetJudgement, EachRomCorrectMissingOrWrongAndTheSetAsAWhole)
{
    const DatIndex dat = machines();
    const SetRules rules(dat);
    const struct {
        std::string_view machine;
        SetForm form;
        std::vector<ZipEntry> entries;
        std::string_view expected;
    } cases[] = {
        {"par", SetForm::Split, {{4, 0x11, "p1"}, {4, 0x12, "p2"}},
         "set par, split: best available | p2: correct, a bad dump"},
        // Found by name (in any case) with another CRC; a stray file.
        {"par", SetForm::Split, {{4, 0x11, "p1"}, {2, 0x99, "P2"}, {4, 0x55, "junk"}},
         "set par, split: incorrect: 1 wrong, 1 left over | p2: wrong: found as P2, 2 bytes, CRC 00000099; "
         "the DAT has 4 bytes, CRC 00000012 | junk: left over"},
        // Files of the set under each other's names are right; one never dumped is no leftover.
        {"par", SetForm::Split, {{4, 0x12, "p1"}, {4, 0x11, "p2"}, {9, 0x77, "ND"}},
         "set par, split: best available | p2: correct, a bad dump"},
        // A split clone's archive with its parent's rom only has nothing of its own set.
        {"clo", SetForm::Split, {{4, 0x11, "p1"}},
         "set clo, split: not found: 1 missing, 1 left over | c1: missing (4 bytes, CRC 00000021) | p1: left over"},
        {"clo", SetForm::NonMerged, {{4, 0x11, "p1"}, {4, 0x21, ""}}, "set clo, non-merged: correct"},
        {"par", SetForm::Merged, {{4, 0x11, "p1"}, {4, 0x12, "p2"}, {4, 0x12, "copy"}},
         "set par, merged: incorrect: 1 missing | p2: correct, a bad dump | c1: missing (4 bytes, CRC 00000021)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.machine) + " " + std::to_string(c.entries.size()));
        ZipDirectory archive;
        archive.entries = c.entries;
        EXPECT_EQ(judged(judgeSet(rules, rules.machineNamed(c.machine), c.form, archive), dat, archive), c.expected);
    }
}

// Real CHDs: the header's SHA-1 against the DAT's, in any letter case (a bad
// dump's at best best available); a blank image cannot be used; a disk never dumped is not required, and a
// DAT's name that would leave the set's folder is never looked for.
TEST(SetDisks, EachDiskPresentMissingWrongOrUnreadableByItsHeader)
{
    const DatIndex dat = machines();
    const SetRules rules(dat);
    TempTree collection;
    collection.addLink("roms/dsk/good.chd", TOKENADE_TEST_DATA "/archives/v5_raw_four_compressors.chd");
    collection.addLink("romsConsoles/dsk/other.chd", TOKENADE_TEST_DATA "/archives/v5_hard_disk_with_metadata.chd");
    collection.addLink("roms/dsk/blank.chd", TOKENADE_TEST_DATA "/archives/v5_blank_hard_disk_without_sha1.chd");
    const std::vector<std::string> folders{"roms", "romsConsoles"};
    const uint32_t machine = rules.machineNamed("dsk");
    const std::vector<DiskVerdict> disks = judgeDisks(rules, machine, SetForm::Split, collection.root(), folders);
    std::string states;
    for (const DiskVerdict& disk : disks)
        states += std::string(diskStateKey(disk.state)) + (disk.required ? " " : "! ");
    EXPECT_EQ(states, "present wrong unreadable missing missing! missing ");
    EXPECT_EQ(disks[1].path, collection.path("romsConsoles/dsk/other.chd"));

    ZipDirectory archive;
    archive.entries = {{4, 0x31, "r"}};
    SetJudgement judgement = judgeSet(rules, machine, SetForm::Split, archive);
    EXPECT_EQ(judgement.state, SetState::Correct);
    addDisks(rules, judgement, disks);
    EXPECT_EQ(judged(judgement, dat, archive),
              "set dsk, split: incorrect: 4 disks not present | disk good: present, a bad dump | disk other: wrong: "
              "its header gives SHA-1 f8cd70ca45be79666b5d11cd7135770091958d51, not "
              "81332040808d616bd14ef61b2b2a876b6c110db1 | disk blank: unreadable: no SHA-1: the image is blank or was "
              "never finished | disk gone: missing | disk ../../good: missing");
    addDisks(rules, judgement, {disks[0]});
    EXPECT_EQ(judgement.state, SetState::BestAvailable);
}

}  // namespace
}  // namespace tokenade::testing
