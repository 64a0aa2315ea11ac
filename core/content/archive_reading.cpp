#include "archive_reading.h"

#include "core/content/content_cache.h"
#include "core/foundation/folder_reader.h"
#include "core/foundation/folder_walk.h"
#include "core/foundation/mapped_memory.h"
#include "core/foundation/path_join.h"
#include "core/sources/name_arena.h"
#include "core/sources/folder_scan.h"
#include "core/sources/path_rules.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace tokenade {
namespace {

ZipDirectory unreadable(int error)
{
    ZipDirectory contents;
    contents.problem = ZipProblem::Unreadable;
    contents.reason = std::string(zipProblemWords(ZipProblem::Unreadable)) + ": " + std::strerror(error);
    return contents;
}

// Reads one archive from its file, `name` in the open folder `folderFd`
// (or AT_FDCWD): its identity is that of the file read, which may have
// changed since the walk.
void readFromFile(int folderFd, const std::string& name, FoundArchive& archive)
{
    const int fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        archive.contents = unreadable(errno);
    } else {
        archive.identity = identityOfStatus(status);
        archive.contents = S_ISREG(status.st_mode) ? readZipDirectory(fd, static_cast<uint64_t>(status.st_size))
                                                   : unreadable(EINVAL);
    }
    if (fd >= 0)
        ::close(fd);
}

// What one walking thread found: the names of its archives, folder by
// folder (all entries of a folder come from one thread, one after the
// other), held flat until they are gathered.
struct WalkPart {
    struct Walked {
        std::string_view name;  // in `names`
        uint32_t folder;        // into `folders`
    };
    NameArena names;
    std::vector<std::string> folders;  // relative to the folder searched
    std::vector<Walked> archives;
    std::string lastParent;  // the folder being read, as the walk names it
    size_t lastRoot = SIZE_MAX;

    void take(const WalkEntry& entry, const std::string& folderName)
    {
        if (folders.empty() || entry.root != lastRoot || entry.parent != lastParent) {
            folders.push_back(joinPath(folderName, entry.parent));
            lastRoot = entry.root;
            lastParent = entry.parent;
        }
        archives.push_back({names.store(entry.name), static_cast<uint32_t>(folders.size() - 1)});
    }
};

// The archives of every part in one table, by folder, then by name, in
// byte order, with the folders as a table of their own.
void gather(const std::vector<WalkPart>& parts, ArchiveSet& set)
{
    struct Place {
        const std::string* folder;
        uint32_t part;
        uint32_t local;
    };
    std::vector<Place> folders;
    for (uint32_t p = 0; p < parts.size(); ++p) {
        for (uint32_t f = 0; f < parts[p].folders.size(); ++f)
            folders.push_back({&parts[p].folders[f], p, f});
    }
    std::sort(folders.begin(), folders.end(), [](const Place& a, const Place& b) { return *a.folder < *b.folder; });
    // Per part, the folder each of its own became.
    std::vector<std::vector<uint32_t>> global(parts.size());
    for (uint32_t p = 0; p < parts.size(); ++p)
        global[p].resize(parts[p].folders.size());
    for (const Place& place : folders) {
        if (set.folders.empty() || set.folders.back() != *place.folder)
            set.folders.push_back(*place.folder);
        global[place.part][place.local] = static_cast<uint32_t>(set.folders.size() - 1);
    }
    std::vector<WalkPart::Walked> order;
    for (uint32_t p = 0; p < parts.size(); ++p) {
        for (const WalkPart::Walked& walked : parts[p].archives)
            order.push_back({walked.name, global[p][walked.folder]});
    }
    std::sort(order.begin(), order.end(), [](const WalkPart::Walked& a, const WalkPart::Walked& b) {
        return a.folder != b.folder ? a.folder < b.folder : a.name < b.name;
    });
    reserveLarge(set.archives, order.size());
    for (const WalkPart::Walked& walked : order) {
        FoundArchive& archive = set.archives.emplace_back();
        archive.folder = walked.folder;
        archive.name = walked.name;
    }
}

// The archives of one folder, or a stretch of a large one: what a thread
// takes at a time, so that a folder is opened once for many archives and
// each archive is looked up in it by its name alone.
struct Stretch {
    size_t begin;
    size_t end;
};

std::vector<Stretch> stretchesOf(const ArchiveSet& set)
{
    constexpr size_t kLongest = 256;
    std::vector<Stretch> stretches;
    for (size_t begin = 0; begin < set.archives.size();) {
        size_t end = begin + 1;
        while (end < set.archives.size() && end - begin < kLongest &&
               set.archives[end].folder == set.archives[begin].folder)
            ++end;
        stretches.push_back({begin, end});
        begin = end;
    }
    return stretches;
}

// One archive: from the cache when its place and identity are there, else from its file.
bool readOne(int folderFd, const std::string& folder, FoundArchive& archive, const ContentCache& cache)
{
    struct stat status {};
    if (cache.size() > 0 && ::fstatat(folderFd, archive.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode) && cache.find(folder, archive.name, identityOfStatus(status), archive.contents)) {
        archive.identity = identityOfStatus(status);
        archive.fromCache = true;
        return false;
    }
    readFromFile(folderFd, archive.name, archive);
    return true;
}

void readAll(const std::string& directory, ArchiveSet& set, const ContentCache& cache, const ContentProgress& progress)
{
    const std::vector<Stretch> stretches = stretchesOf(set);
    const ContentCache none;
    std::atomic<size_t> next{0};
    std::atomic<size_t> opened{0};
    auto work = [&] {
        for (size_t s = next++; s < stretches.size() && !progress.stop.stop_requested(); s = next++) {
            const int folderFd = openFolder(joinPath(directory, set.folders[set.archives[stretches[s].begin].folder]), true);
            const int error = errno;
            const bool lasting = folderFd >= 0 && inodeNumbersLastAt(folderFd);
            const std::string& folder = set.folders[set.archives[stretches[s].begin].folder];
            for (size_t i = stretches[s].begin; i < stretches[s].end; ++i) {
                if (folderFd < 0) {
                    set.archives[i].contents = unreadable(error);
                } else {
                    opened += readOne(folderFd, folder, set.archives[i], lasting ? cache : none);
                    set.archives[i].cacheable = lasting;
                }
            }
            if (folderFd >= 0)
                ::close(folderFd);
            if (progress.archivesRead)
                *progress.archivesRead += stretches[s].end - stretches[s].begin;
        }
    };
    std::vector<std::jthread> threads;
    for (unsigned t = 1; t < walkThreads(); ++t)
        threads.emplace_back(work);
    work();
    threads.clear();
    set.opened = opened;
}

}  // namespace

std::string ArchiveSet::pathOf(const FoundArchive& archive) const
{
    return joinPath(folders[archive.folder], archive.name);
}

ArchiveSet readArchives(const std::string& directory, const std::vector<std::string>& folders,
                        const CacheChoice& cache, const ContentProgress& progress)
{
    std::string what;
    for (const std::string& folder : folders)
        what += folder + ",";
    const std::string cachePath = cache.path.empty() ? contentCachePath(directory, what) : cache.path;
    // The cache is read beside the walk, which does not need it.
    ContentCache stored;
    std::jthread loader([&] {
        if (cache.use) {
            removeLeftTemporaries(cachePath);
            stored = ContentCache::load(cachePath);
        }
    });
    ArchiveSet set;
    std::vector<std::string> roots;
    for (const std::string& folder : folders)
        roots.push_back(joinPath(directory, folder));
    std::vector<WalkPart> parts(walkThreads());
    const auto failures = walkFoldersInParallel(roots, walkThreads(), [&](unsigned thread, const WalkEntry& entry) {
        if (entry.type == EntryType::Regular && hasExtension(entry.name, kRomExtension))
            parts[thread].take(entry, folders[entry.root]);
    }, progress.stop);
    for (const FolderFailure& failure : failures) {
        if (failure.error != ENOENT || !failure.relative.empty())
            set.unreadable.push_back(joinPath(folders[failure.root], failure.relative));
    }
    std::sort(set.unreadable.begin(), set.unreadable.end());
    gather(parts, set);
    parts.clear();
    if (progress.archivesFound)
        *progress.archivesFound = set.archives.size();
    loader.join();
    set.cacheDamaged = stored.damaged();
    readAll(directory, set, stored, progress);
    set.stopped = progress.stop.stop_requested();
    // An unchanged collection leaves its cache as it is: nothing to write, nothing to flush.
    const bool unchanged = set.opened == 0 && stored.size() == set.archives.size();
    if (cache.use && !set.stopped && !unchanged) {
        std::vector<CachedArchive> records;
        records.reserve(set.archives.size());
        for (const FoundArchive& archive : set.archives) {
            if (archive.cacheable && archive.contents.problem != ZipProblem::Unreadable)
                records.push_back({set.folders[archive.folder], archive.name, archive.identity, &archive.contents});
        }
        // Where no archive may be cached (all on exFAT, say), no empty cache is written at each run.
        if (!records.empty() || stored.size() > 0)
            ContentCache::save(cachePath, records);  // a failure only costs the next run its speed
    }
    return set;
}

ArchiveSet readRomArchives(const std::string& directory, const CacheChoice& cache, const ContentProgress& progress)
{
    return readArchives(directory, folderNames(kRomFolders), cache, progress);
}

ArchiveSet readSourceArchives(const std::string& folder, const CacheChoice& cache, const ContentProgress& progress)
{
    return readArchives(folder, {""}, cache, progress);
}

void nameEntries(const std::string& directory, const ArchiveSet& set, FoundArchive& archive)
{
    if (!archive.fromCache)
        return;
    FoundArchive fresh;
    readFromFile(AT_FDCWD, joinPath(directory, set.pathOf(archive)), fresh);
    if (fresh.identity.sameVersion(archive.identity) && fresh.contents.entries.size() == archive.contents.entries.size())
        archive.contents = std::move(fresh.contents);
}

bool stillHolds(const std::string& path, const FoundArchive& archive)
{
    FoundArchive fresh;
    readFromFile(AT_FDCWD, path, fresh);
    const std::vector<ZipEntry>& now = fresh.contents.entries;
    const std::vector<ZipEntry>& then = archive.contents.entries;
    return fresh.identity == archive.identity && fresh.contents.problem == archive.contents.problem &&
           std::equal(now.begin(), now.end(), then.begin(), then.end(),
                      [](const ZipEntry& a, const ZipEntry& b) { return a.size == b.size && a.crc == b.crc; });
}

}  // namespace tokenade
