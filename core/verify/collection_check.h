#pragma once

#include "core/content/cache_file.h"
#include "core/verify/archive_check.h"

#include <atomic>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

namespace tokenade {

// One archive of the collection and what its bytes say.
struct VerifiedArchive {
    std::string path;  // below the Tokenade directory: "roms/Sega/castelo.zip"
    uint64_t size = 0;
    ArchiveCheck check;
};

struct VerifiedCollection {
    std::vector<VerifiedArchive> archives;  // by folder, then by name, as found; only those checked when stopped
    std::vector<std::string> unreadableFolders;
    uint64_t bytesChecked = 0;  // decompressed, all archives together
    bool stopped = false;

    size_t count(ArchiveVerdict verdict) const;
};

// How the check reports its progress, in bytes of archive files, and learns
// that it should stop; every member may be left as it is.
struct VerifyProgress {
    std::atomic<uint64_t>* bytesTotal = nullptr;  // set once the archives are found: their files' sizes
    std::atomic<uint64_t>* bytesDone = nullptr;   // grows by each archive's file size once it is checked
    std::stop_token stop;                         // checked between archives
};

// Finds the archives of a Tokenade directory's rom folders (readRomArchives,
// `cache` for their directories only) and checks each whole (checkZipArchive)
// on several threads. An archive that is corrupt or unreadable is reported
// and the run goes on.
VerifiedCollection verifyRomArchives(const std::string& directory, const Sha1ByContent& sha1s,
                                     const CacheChoice& cache, const VerifyProgress& progress = {});

}  // namespace tokenade
