// The reader of a DAT's cached index on any body, sealed as a cache file so
// that the checksums let it through: every count and place in it must be
// checked before use, and an index it gives back must hold together. The
// body begins with the identity of the DAT it was made from.
#include "core/content/dat_index_cache.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tokenade;
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    FileIdentity madeFrom;
    if (body.size() >= 56) {
        auto at = [&](size_t field) { return static_cast<int64_t>(getLe64(body.data() + 8 * field)); };
        madeFrom = {getLe64(body.data()), getLe64(body.data() + 8), at(2), at(3), at(4), at(5), at(6)};
    }
    std::string bytes = startCache(body.size());
    bytes += body;
    sealCache(bytes, kDatIndexMagic, kDatIndexVersion, 0);
    const std::optional<DatIndex> dat = parseDatIndex(bytes, madeFrom);
    if (!dat)
        return 0;
    size_t sum = 0;
    for (const DatGame& game : dat->games) {
        sum += game.name.size() + game.description.size() + game.cloneOf.size() + game.romOf.size();
        for (const DatDisk& disk : dat->disksOf(game)) sum += disk.name.size() + disk.sha1.size() + disk.merge.size();
        for (const std::string_view device : dat->deviceRefsOf(game)) sum += device.size();
        for (const DatRom& rom : dat->romsOf(game)) {
            sum += rom.name.size() + rom.sha1.size() + rom.merge.size() + rom.bios.size();
            for (const ContentHolder& holder : dat->holdersOf(rom.key)) {
                if (holder.key != rom.key || holder.game >= dat->games.size())
                    std::abort();
            }
        }
    }
    return sum == SIZE_MAX ? 1 : 0;
}
