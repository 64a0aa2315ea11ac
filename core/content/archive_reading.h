#pragma once

#include "core/content/cache_file.h"
#include "core/content/zip_directory.h"
#include "core/foundation/file_identity.h"

#include <atomic>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

namespace tokenade {

// An archive found below a folder, with what it holds.
struct FoundArchive {
    uint32_t folder = 0;  // into ArchiveSet::folders
    std::string name;     // the file's own name
    FileIdentity identity;
    ZipDirectory contents;  // entry names are "" when it came from the cache
    bool fromCache = false;
    // Its file system keeps inode numbers across mounts, so that its record
    // may be kept for the next run (inodeNumbersLast).
    bool cacheable = false;
};

// The archives found below the folders searched, and what each holds.
struct ArchiveSet {
    // Every folder that holds an archive, relative to the folder searched in
    // ("roms/Sega" below a Tokenade directory, "" for a source's top folder).
    std::vector<std::string> folders;
    std::vector<FoundArchive> archives;  // by folder, then by name, in byte order
    std::vector<std::string> unreadable;  // folders that could not be read, relative as above
    size_t opened = 0;       // archives whose directory was read from the file
    bool cacheDamaged = false;  // the cache could not be used and was read anew
    bool stopped = false;    // a stop was asked for: the set is not whole

    // The path of an archive below the folder searched.
    std::string pathOf(const FoundArchive& archive) const;
};

// How reading reports its progress and learns that it should stop; every
// member may be left as it is.
struct ContentProgress {
    std::atomic<size_t>* archivesFound = nullptr;  // set once the folders are walked: the whole count
    std::atomic<size_t>* archivesRead = nullptr;   // counts each archive done, read or from the cache
    std::stop_token stop;                          // checked between folders and between archives
};

// Finds every regular file with the extension "zip" (any letter case; links
// are neither taken nor entered) at any depth below each of `folders`
// joined to `directory` (an empty folder name: `directory` itself), and
// reads what each holds: from the cache when a record matches the file's
// place and identity, else from the file's central directory, on several
// threads. Where a file system hands out inode numbers anew (FUSE, exFAT,
// FAT, NTFS, network shares) the cache is neither used nor written for the
// archives there: another file may have the same number, size and times
// after a remount, and proving that it is the file cached would mean
// reading the very directory the cache is there to spare. Also removes the
// temporary cache files that killed runs left (removeLeftTemporaries).
// Writes the cache anew afterwards unless stopped or told not to; a cache
// that cannot be written only costs the next run its speed. `cache.use`
// false reads every archive (--no-cache); `cache.path` "" is
// contentCachePath's.
ArchiveSet readArchives(const std::string& directory, const std::vector<std::string>& folders,
                        const CacheChoice& cache, const ContentProgress& progress = {});

// The archives of a Tokenade directory's rom folders.
ArchiveSet readRomArchives(const std::string& directory, const CacheChoice& cache, const ContentProgress& progress = {});

// The archives of a source folder, at any depth.
ArchiveSet readSourceArchives(const std::string& folder, const CacheChoice& cache, const ContentProgress& progress = {});

}  // namespace tokenade

namespace tokenade {

// Gives the entries of an archive that came from the cache their names, by
// reading its directory again (`directory` as given to readArchives), when
// the file is still the one cached; leaves them without otherwise. For the
// few archives whose entries a report names (the extras beside a game).
void nameEntries(const std::string& directory, const ArchiveSet& set, FoundArchive& archive);

// Whether the file at `path` is still `archive` as it was read: the same
// file of the same size and mtime (==; the ctime is not asked, for a link
// made to the file since changes it), whose central directory, read again
// now (a few KiB), holds the same entries (sizes and CRCs, in order) or
// fails for the same reason. For what is about to be changed by its
// content, so that neither a cache record nor an earlier read that no
// longer tells the truth moves a file; a link at `path` is not followed.
bool stillHolds(const std::string& path, const FoundArchive& archive);

}  // namespace tokenade
