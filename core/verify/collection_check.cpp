#include "collection_check.h"

#include "core/content/archive_reading.h"
#include "core/foundation/path_join.h"

#include <algorithm>
#include <thread>

namespace tokenade {

size_t VerifiedCollection::count(ArchiveVerdict verdict) const
{
    return static_cast<size_t>(std::count_if(archives.begin(), archives.end(),
                                             [&](const VerifiedArchive& one) { return one.check.verdict == verdict; }));
}

VerifiedCollection verifyRomArchives(const std::string& directory, const Sha1ByContent& sha1s,
                                     const CacheChoice& cache, const VerifyProgress& progress)
{
    ContentProgress finding;
    finding.stop = progress.stop;
    const ArchiveSet found = readRomArchives(directory, cache, finding);
    VerifiedCollection verified;
    verified.unreadableFolders = found.unreadable;
    verified.archives.resize(found.archives.size());
    uint64_t total = 0;
    for (size_t i = 0; i < found.archives.size(); ++i) {
        verified.archives[i].path = found.pathOf(found.archives[i]);
        verified.archives[i].size = static_cast<uint64_t>(found.archives[i].identity.size);
        total += verified.archives[i].size;
    }
    if (progress.bytesTotal)
        *progress.bytesTotal = total;
    // Archives are handed out one at a time: one large archive must not leave
    // a thread idle behind a fixed share of the others.
    std::atomic<size_t> next = 0;
    std::atomic<bool> stopped = found.stopped;
    const auto work = [&] {
        // Each archive taken is checked to its end, so that those before `next` are whole.
        while (!stopped) {
            if (progress.stop.stop_requested()) {
                stopped = true;
                break;
            }
            const size_t i = next++;
            if (i >= verified.archives.size())
                break;
            VerifiedArchive& one = verified.archives[i];
            one.check = checkZipArchive(joinPath(directory, one.path), sha1s);
            if (progress.bytesDone)
                *progress.bytesDone += one.size;
        }
    };
    std::vector<std::jthread> threads;
    for (unsigned t = 1; t < std::clamp(std::thread::hardware_concurrency(), 1u, 4u); ++t)
        threads.emplace_back(work);
    work();
    threads.clear();
    verified.stopped = stopped;
    if (verified.stopped)
        verified.archives.resize(std::min(verified.archives.size(), next.load()));
    for (const VerifiedArchive& one : verified.archives)
        verified.bytesChecked += one.check.bytesChecked;
    return verified;
}

}  // namespace tokenade
