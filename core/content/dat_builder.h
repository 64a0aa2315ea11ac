#pragma once

#include "core/content/dat_index.h"

#include <string>
#include <string_view>

namespace tokenade {

// The attributes of one rom as a DAT wrote them; `has...` tells an absent
// attribute from an empty one.
struct RomFields {
    std::string_view name, size, crc, sha1, status, merge, bios, optional;
    bool hasSize = false;
    bool hasCrc = false;
};

// The attributes of one disk as a DAT wrote them.
struct DiskFields {
    std::string_view name, sha1, merge, status, optional;
};

// "baddump" and "nodump" as DATs write them; anything else is a good dump.
RomStatus parseRomStatus(std::string_view text);

// Gathers the games of a DAT as its reader meets them and checks each value.
// Every method that can refuse returns the reason, "" when all is well; the
// reader adds the place. The text of a field is copied, so the reader's
// buffers may go.
class DatBuilder {
public:
    // `bytes`: the DAT's size, from which room for its games and roms is
    // taken at once; room never written costs no memory.
    DatBuilder(DatFormat format, uint64_t bytes);

    void setListName(std::string_view name) { index_.name = index_.storage.store(name.substr(0, 256)); }
    std::string startGame();
    std::string setName(std::string_view name);
    std::string setDescription(std::string_view description);
    std::string setCloneOf(std::string_view parent);
    std::string setRomOf(std::string_view parent);
    void setIsBios(bool isBios) { index_.games.back().isBios = isBios; }
    void setIsDevice(bool isDevice) { index_.games.back().isDevice = isDevice; }
    void setRunnable(bool runnable) { index_.games.back().runnable = runnable; }
    std::string addRom(const RomFields& rom);
    std::string addDisk(const DiskFields& disk);
    // A device the game holds; a name the game named already is kept once.
    std::string addDeviceRef(std::string_view device);
    std::string endGame();  // refuses a game without a name
    bool inGame() const { return inGame_; }

    // The index, or why there is none ("no games at all").
    std::string finish(DatIndex& index);

private:
    std::string keep(std::string_view text, std::string_view what, std::string_view& into);
    std::string keepName(std::string_view text, std::string_view own, std::string_view what, std::string_view& into);

    DatIndex index_;
    bool inGame_ = false;
};

// A size as DATs write it: decimal, or hexadecimal after "0x", spaces around
// it allowed. False when it is not a number or does not fit 64 bits.
bool parseRomSize(std::string_view text, uint64_t& size);

// A CRC-32 as exactly 8 hex digits in either case.
bool parseRomCrc(std::string_view text, uint32_t& crc);

}  // namespace tokenade
