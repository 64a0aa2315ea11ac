// Times the parallel walk of a collection's rom folders with each number of
// threads given, warm and, where the page cache can be dropped, cold, in
// alternation: which number of threads to walk a cold disk with.
//
//     walk_threads DIR RUNS THREADS...
//
// Prints "threads N warm S cold S entries E" per thread count, with the
// median seconds of RUNS runs; "cold -" when the cache cannot be dropped.
#include "core/foundation/folder_walk.h"
#include "core/sources/folder_scan.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

using namespace tokenade;

namespace {

bool dropCaches()
{
    ::sync();
    std::ofstream control("/proc/sys/vm/drop_caches");
    control << "3\n";
    control.flush();
    return control.good();
}

// Seconds for one walk, and how many entries it met.
double walk(const std::vector<std::string>& roots, unsigned threads, size_t& entries)
{
    std::atomic<size_t> met{0};
    const auto start = std::chrono::steady_clock::now();
    walkFoldersInParallel(roots, threads, [&](unsigned, const WalkEntry&) { met.fetch_add(1, std::memory_order_relaxed); });
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    entries = met;
    return elapsed.count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: walk_threads DIR RUNS THREADS...\n");
        return 2;
    }
    std::vector<std::string> roots;
    for (const std::string& folder : folderNames(kRomFolders))
        roots.push_back(std::string(argv[1]) + "/" + folder);
    const int runs = std::max(1, std::atoi(argv[2]));
    std::vector<unsigned> counts;
    for (int i = 3; i < argc; ++i)
        counts.push_back(static_cast<unsigned>(std::max(1, std::atoi(argv[i]))));

    const bool cold = dropCaches();
    std::map<unsigned, std::vector<double>> warm, fromDisk;
    size_t entries = 0;
    walk(roots, counts.front(), entries);  // warms the cache for the first warm run
    for (int run = 0; run < runs; ++run) {
        for (unsigned threads : counts) {
            warm[threads].push_back(walk(roots, threads, entries));
            if (cold && dropCaches())
                fromDisk[threads].push_back(walk(roots, threads, entries));
        }
    }
    for (unsigned threads : counts) {
        std::printf("threads %u warm %.4f cold ", threads, median(warm[threads]));
        if (fromDisk[threads].empty())
            std::printf("-");
        else
            std::printf("%.4f", median(fromDisk[threads]));
        std::printf(" entries %zu\n", entries);
    }
    return 0;
}
