// Reads DATs as `identify` does and says how long it took and what it kept:
//   dat_read FILE [CACHE]
//   dat_read --many [--cached] FILE...
// With CACHE, through the DAT's cached index kept in that file: the first
// run parses the DAT and writes it, later runs load it. --many reads the
// files as one, as several --dat do; --cached through their indexes in the
// cache's default place (XDG_CACHE_HOME).
// The peak memory comes from the caller (/usr/bin/time).
#include "core/content/dat_index_cache.h"
#include "core/content/many_dats.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

tokenade::DatRead readOne(int argc, char** argv)
{
    return argc == 3 ? tokenade::readDatThroughCache(argv[1], {true, argv[2]}) : tokenade::readDatFile(argv[1]);
}

tokenade::DatRead readMany(int argc, char** argv)
{
    const bool cached = argc > 2 && std::strcmp(argv[2], "--cached") == 0;
    const std::vector<std::string> paths(argv + (cached ? 3 : 2), argv + argc);
    tokenade::ManyDatsRead many = tokenade::readManyDats(paths, {cached, ""});
    tokenade::DatRead read;
    if (!many.problems.empty())
        read.problem = many.problems.front();
    if (many.problems.empty())
        read.dat = std::move(many.dat);
    return read;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool many = argc > 1 && std::strcmp(argv[1], "--many") == 0;
    if (argc < 2 || (!many && argc > 3)) {
        std::fprintf(stderr, "usage: dat_read FILE [CACHE] | dat_read --many [--cached] FILE...\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const tokenade::DatRead read = many ? readMany(argc, argv) : readOne(argc, argv);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!read.dat) {
        std::fprintf(stderr, "%s\n", read.problem.message().c_str());
        return 1;
    }
    std::printf("games %zu roms %zu seconds %.3f\n", read.dat->games.size(), read.dat->roms.size(), seconds);
    return 0;
}
