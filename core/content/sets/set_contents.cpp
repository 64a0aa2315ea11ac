#include "set_rules.h"

#include <algorithm>
#include <tuple>

namespace tokenade {
namespace {

bool requiredRom(const DatRom& rom)
{
    return rom.matchable && !rom.optional;
}

}  // namespace

std::string_view setFormKey(SetForm form)
{
    switch (form) {
    case SetForm::Split: return "split";
    case SetForm::NonMerged: return "non-merged";
    case SetForm::FullNonMerged: return "full-non-merged";
    case SetForm::Merged: return "merged";
    }
    return "";
}

std::optional<SetForm> parseSetForm(std::string_view key)
{
    for (const SetForm form : kSetForms) {
        if (setFormKey(form) == key)
            return form;
    }
    return std::nullopt;
}

std::string_view needKindKey(NeedKind kind)
{
    switch (kind) {
    case NeedKind::Parent: return "parent";
    case NeedKind::Bios: return "BIOS";
    case NeedKind::Device: return "device";
    }
    return "";
}

std::vector<ContentKey> SetContents::requiredKeys(const DatIndex& dat) const
{
    std::vector<ContentKey> keys;
    for (const SetRom& rom : roms) {
        if (rom.required)
            keys.push_back(dat.roms[rom.rom].key);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

std::vector<uint32_t> SetRules::devicesOf(uint32_t machine) const
{
    std::vector<uint32_t> seen{machine};
    std::vector<uint32_t> devices;
    for (size_t next = 0; next < seen.size(); ++next) {
        for (const std::string_view name : dat_.deviceRefsOf(dat_.games[seen[next]])) {
            const uint32_t device = machineNamed(name, seen[next]);
            if (device == kNoGame || std::find(seen.begin(), seen.end(), device) != seen.end())
                continue;
            seen.push_back(device);
            const auto roms = dat_.romsOf(dat_.games[device]);
            if (std::any_of(roms.begin(), roms.end(), requiredRom))
                devices.push_back(device);
        }
    }
    return devices;
}

// The roms of `machine` that live in its own set, and those it inherits
// from parents or from the BIOS when asked.
void SetRules::addOwnRoms(uint32_t machine, bool withParents, bool withBios, SetContents& into) const
{
    const DatGame& game = dat_.games[machine];
    for (uint32_t r = game.firstRom; r < game.firstRom + game.romCount; ++r) {
        const uint32_t origin = origin_[r];
        const bool bios = origin != machine && dat_.games[origin].isBios;
        if (origin == machine || (bios ? withBios : withParents))
            into.roms.push_back({r, machine, requiredRom(dat_.roms[r]), false});
    }
    for (uint32_t d = game.firstDisk; d < game.firstDisk + game.diskCount; ++d) {
        const uint32_t origin = diskOrigin(d);
        const bool bios = origin != machine && dat_.games[origin].isBios;
        if (origin == machine || (bios ? withBios : withParents))
            into.disks.push_back(d);
    }
}

SetContents SetRules::contents(uint32_t machine, SetForm form) const
{
    SetContents found;
    found.archive = machine;
    switch (form) {
    case SetForm::Split: addOwnRoms(machine, false, false, found); break;
    case SetForm::NonMerged: addOwnRoms(machine, true, false, found); break;
    case SetForm::FullNonMerged: {
        addOwnRoms(machine, true, true, found);
        std::vector<ContentKey> held = found.requiredKeys(dat_);
        for (const uint32_t device : devicesOf(machine)) {
            const DatGame& game = dat_.games[device];
            for (uint32_t r = game.firstRom; r < game.firstRom + game.romCount; ++r) {
                // A device rom the machine lists itself is in the archive once.
                const DatRom& rom = dat_.roms[r];
                if (!requiredRom(rom) || !std::binary_search(held.begin(), held.end(), rom.key))
                    found.roms.push_back({r, device, requiredRom(rom), false});
            }
        }
        break;
    }
    case SetForm::Merged:
        if (parent_[machine] != kNoGame) {
            found.archive = parent_[machine];
            break;
        }
        addOwnRoms(machine, true, false, found);
        for (const uint32_t clone : clonesOf(machine)) {
            const size_t from = found.roms.size();
            addOwnRoms(clone, false, false, found);
            for (size_t at = from; at < found.roms.size(); ++at) {
                const DatRom& rom = dat_.roms[found.roms[at].rom];
                found.roms[at].nameTaken = std::any_of(found.roms.begin(), found.roms.begin() + from, [&](const SetRom& held) {
                    const DatRom& other = dat_.roms[held.rom];
                    return other.name == rom.name && other.key != rom.key;
                });
            }
        }
        break;
    }
    addNeeds(machine, form, found);
    return found;
}

// The archives a set needs: where its required roms live when not in its own
// archive, and the devices with roms, unless their roms are all in it.
void SetRules::addNeeds(uint32_t machine, SetForm form, SetContents& into) const
{
    if (form == SetForm::FullNonMerged)
        return;
    std::vector<uint32_t> members{machine};
    if (form == SetForm::Merged && parent_[machine] == kNoGame)
        members.insert(members.end(), clonesOf(machine).begin(), clonesOf(machine).end());
    if (form == SetForm::Merged && parent_[machine] != kNoGame)
        into.needs.push_back({parent_[machine], NeedKind::Parent});
    for (const uint32_t member : members) {
        const DatGame& game = dat_.games[member];
        for (uint32_t r = game.firstRom; r < game.firstRom + game.romCount; ++r) {
            const uint32_t origin = origin_[r];
            if (!requiredRom(dat_.roms[r]) || origin == member)
                continue;
            const bool bios = dat_.games[origin].isBios;
            // A split set finds its parent's roms in the parent's archive; the
            // other forms hold them, and only the BIOS's are elsewhere.
            if (bios || (form == SetForm::Split))
                into.needs.push_back({origin, bios ? NeedKind::Bios : NeedKind::Parent});
        }
    }
    const std::vector<ContentKey> held = into.requiredKeys(dat_);
    for (const uint32_t member : members) {
        for (const uint32_t device : devicesOf(member)) {
            const auto roms = dat_.romsOf(dat_.games[device]);
            const bool inArchive = std::all_of(roms.begin(), roms.end(), [&](const DatRom& rom) {
                return !requiredRom(rom) || std::binary_search(held.begin(), held.end(), rom.key);
            });
            if (!inArchive)
                into.needs.push_back({device, NeedKind::Device});
        }
    }
    // Parent, BIOS, devices: the order a message names them in.
    std::sort(into.needs.begin(), into.needs.end(), [](const SetNeed& a, const SetNeed& b) {
        return std::tie(a.kind, a.machine) < std::tie(b.kind, b.machine);
    });
    into.needs.erase(std::unique(into.needs.begin(), into.needs.end()), into.needs.end());
}

}  // namespace tokenade
