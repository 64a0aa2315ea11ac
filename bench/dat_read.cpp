// Reads a DAT as `identify` does and says how long it took and what it kept:
//   dat_read FILE [CACHE]
// With CACHE, through the DAT's cached index kept in that file: the first
// run parses the DAT and writes it, later runs load it.
// The peak memory comes from the caller (/usr/bin/time).
#include "core/content/dat_index_cache.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: dat_read FILE [CACHE]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const tokenade::DatRead read = argc == 3 ? tokenade::readDatThroughCache(argv[1], {true, argv[2]})
                                             : tokenade::readDatFile(argv[1]);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!read.dat) {
        std::fprintf(stderr, "%s\n", read.problem.message().c_str());
        return 1;
    }
    std::printf("games %zu roms %zu seconds %.3f\n", read.dat->games.size(), read.dat->roms.size(), seconds);
    return 0;
}
