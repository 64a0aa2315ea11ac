#include "set_judgement.h"

#include "core/foundation/ascii.h"

#include <algorithm>

namespace tokenade {

std::string_view romStateKey(RomState state)
{
    switch (state) {
    case RomState::Correct: return "correct";
    case RomState::Missing: return "missing";
    case RomState::Wrong: return "wrong";
    }
    return "";
}

std::string_view setStateKey(SetState state)
{
    switch (state) {
    case SetState::Correct: return "correct";
    case SetState::BestAvailable: return "best available";
    case SetState::Incorrect: return "incorrect";
    case SetState::NotFound: return "not found";
    }
    return "";
}

std::string_view diskStateKey(DiskState state)
{
    switch (state) {
    case DiskState::Present: return "present";
    case DiskState::Missing: return "missing";
    case DiskState::Wrong: return "wrong";
    case DiskState::Unreadable: return "unreadable";
    }
    return "";
}

size_t SetJudgement::count(RomState wanted) const
{
    return static_cast<size_t>(
        std::count_if(roms.begin(), roms.end(), [&](const RomVerdict& rom) { return rom.state == wanted; }));
}

size_t SetJudgement::count(DiskState wanted) const
{
    return static_cast<size_t>(std::count_if(disks.begin(), disks.end(), [&](const DiskVerdict& disk) {
        return disk.required && disk.state == wanted;
    }));
}

namespace {

bool sameName(std::string_view entry, std::string_view rom)
{
    return !rom.empty() && entry.size() == rom.size() && std::equal(entry.begin(), entry.end(), rom.begin(), [](char a, char b) {
               return asciiLower(a) == asciiLower(b);
           });
}

bool namedAs(const ZipEntry& entry, const DatRom& rom)
{
    return sameName(entry.name, rom.name) || sameName(entry.name, rom.merge);
}

// The state from what was found. Nothing of the set there at all (no rom
// right or wrong, no disk file) is "not found"; leftovers never matter.
void settle(const SetRules& rules, SetJudgement& judgement)
{
    const DatIndex& dat = rules.dat();
    const size_t lacking = judgement.count(RomState::Missing) + judgement.count(RomState::Wrong) +
                           judgement.count(DiskState::Missing) + judgement.count(DiskState::Wrong) +
                           judgement.count(DiskState::Unreadable);
    const bool anyFound = judgement.count(RomState::Missing) < judgement.roms.size() ||
                          std::any_of(judgement.disks.begin(), judgement.disks.end(), [](const DiskVerdict& disk) {
                              return disk.state != DiskState::Missing;
                          });
    const bool badDump = std::any_of(judgement.roms.begin(), judgement.roms.end(), [&](const RomVerdict& rom) {
                             return rom.state == RomState::Correct && dat.roms[rom.rom].status == RomStatus::BadDump;
                         }) ||
                         std::any_of(judgement.disks.begin(), judgement.disks.end(), [&](const DiskVerdict& disk) {
                             return disk.state == DiskState::Present && dat.disks[disk.disk].status == RomStatus::BadDump;
                         });
    if (lacking == 0)
        judgement.state = badDump ? SetState::BestAvailable : SetState::Correct;
    else
        judgement.state = anyFound ? SetState::Incorrect : SetState::NotFound;
}

}  // namespace

SetJudgement judgeSet(const SetRules& rules, uint32_t machine, SetForm form, const ZipDirectory& archive)
{
    const DatIndex& dat = rules.dat();
    const SetContents contents = rules.contents(machine, form);
    SetJudgement judgement;
    judgement.machine = machine;
    judgement.form = form;

    std::vector<ContentKey> setKeys;
    for (const SetRom& rom : contents.roms) {
        if (dat.roms[rom.rom].matchable)
            setKeys.push_back(dat.roms[rom.rom].key);
    }
    std::sort(setKeys.begin(), setKeys.end());
    const std::vector<ZipEntry>& entries = archive.entries;
    const auto isSetFile = [&](const ZipEntry& entry) {
        return std::binary_search(setKeys.begin(), setKeys.end(), ContentKey{entry.size, entry.crc});
    };
    std::vector<bool> used(entries.size(), false);
    const auto find = [&](const auto& fits) -> uint32_t {
        for (uint32_t i = 0; i < entries.size(); ++i) {
            if (fits(entries[i]))
                return i;
        }
        return kNoEntry;
    };

    for (size_t at = 0; at < contents.roms.size(); ++at) {
        const SetRom& listed = contents.roms[at];
        const DatRom& rom = dat.roms[listed.rom];
        // A merged archive lists a file that two clones share once for each.
        const auto earlier = contents.roms.begin() + static_cast<std::ptrdiff_t>(at);
        const bool repeated = std::any_of(contents.roms.begin(), earlier, [&](const SetRom& before) {
            const DatRom& other = dat.roms[before.rom];
            return other.name == rom.name && other.key == rom.key && other.matchable == rom.matchable;
        });
        uint32_t entry = kNoEntry;
        if (rom.matchable)
            entry = find([&](const ZipEntry& e) { return ContentKey{e.size, e.crc} == rom.key; });
        RomState state = RomState::Correct;
        if (entry == kNoEntry) {
            entry = find([&](const ZipEntry& e) { return namedAs(e, rom) && !isSetFile(e); });
            state = entry == kNoEntry ? RomState::Missing : RomState::Wrong;
        }
        if (entry != kNoEntry)
            used[entry] = true;
        if (listed.required && !repeated)
            judgement.roms.push_back({listed.rom, listed.machine, state, entry});
    }
    for (uint32_t i = 0; i < entries.size(); ++i) {
        // Another copy of a file of the set, under another name, is no leftover either.
        if (!used[i] && !isSetFile(entries[i]))
            judgement.leftOver.push_back(i);
    }
    settle(rules, judgement);
    return judgement;
}

void addDisks(const SetRules& rules, SetJudgement& judgement, std::vector<DiskVerdict> disks)
{
    judgement.disks = std::move(disks);
    settle(rules, judgement);
}

}  // namespace tokenade
