#pragma once

#include "core/content/dat_index.h"

#include <string_view>
#include <vector>

namespace tokenade::testing {

// Machines written by hand, as MAME's catalogue gives them: roms of 4 bytes
// known by CRC (0 for none dumped), with their `merge` names.
struct HandRom {
    std::string_view name;
    uint32_t crc = 0;
    std::string_view merge = "";
    RomStatus status = RomStatus::Good;
    bool optional = false;
};

struct HandMachine {
    std::string_view name;
    std::string_view cloneOf = "";
    std::string_view romOf = "";
    std::vector<HandRom> roms;
    std::vector<std::string_view> devices = {};
    bool isBios = false;
    bool isDevice = false;
    std::vector<DatDisk> disks = {};
};

inline DatIndex handMadeDat(const std::vector<HandMachine>& machines)
{
    DatIndex dat;
    dat.format = DatFormat::MameListXml;
    for (const HandMachine& machine : machines) {
        DatGame game;
        game.name = machine.name;
        game.cloneOf = machine.cloneOf;
        game.romOf = machine.romOf;
        game.isBios = machine.isBios;
        game.isDevice = machine.isDevice;
        game.firstRom = static_cast<uint32_t>(dat.roms.size());
        game.romCount = static_cast<uint32_t>(machine.roms.size());
        game.firstDeviceRef = static_cast<uint32_t>(dat.deviceRefs.size());
        game.deviceRefCount = static_cast<uint32_t>(machine.devices.size());
        game.firstDisk = static_cast<uint32_t>(dat.disks.size());
        for (const HandRom& hand : machine.roms) {
            DatRom rom;
            rom.name = hand.name;
            rom.merge = hand.merge;
            rom.status = hand.crc == 0 ? RomStatus::NoDump : hand.status;
            rom.optional = hand.optional;
            rom.key = {4, hand.crc};
            rom.matchable = hand.crc != 0;
            dat.roms.push_back(rom);
        }
        game.diskCount = static_cast<uint32_t>(machine.disks.size());
        dat.disks.insert(dat.disks.end(), machine.disks.begin(), machine.disks.end());
        dat.deviceRefs.insert(dat.deviceRefs.end(), machine.devices.begin(), machine.devices.end());
        dat.games.push_back(game);
    }
    dat.finish();
    return dat;
}

}  // namespace tokenade::testing
