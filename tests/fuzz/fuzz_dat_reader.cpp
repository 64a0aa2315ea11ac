// The DAT reader on any bytes: XML of either form, ClrMamePro text, an SMDB
// hash list, or neither. It must refuse or read, never crash, and what it reads must hold
// together: every rom of a game is in the index, and its problem has a place.
#include "core/content/dat_reader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tokenade::DatRead read = tokenade::parseDat(bytes, "fuzz.dat");
    if (!read.dat) {
        if (read.problem.reason.empty() || read.problem.line == 0)
            std::abort();
        return 0;
    }
    size_t roms = 0;
    for (const tokenade::DatGame& game : read.dat->games) {
        if (game.name.empty() || game.firstRom != roms || game.contentCount > game.romCount)
            std::abort();
        for (const tokenade::DatRom& rom : read.dat->romsOf(game)) {
            if (rom.matchable && !read.dat->gameHas(static_cast<uint32_t>(&game - read.dat->games.data()), rom.key))
                std::abort();
        }
        roms += game.romCount;
    }
    if (roms != read.dat->roms.size())
        std::abort();
    return 0;
}
