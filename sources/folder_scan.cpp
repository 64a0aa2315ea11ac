#include "folder_scan.h"

#include "platform/foundation/folder_walk.h"
#include "sources/path_rules.h"

namespace tokenade {

std::vector<std::string> folderNames(std::string_view folderSet)
{
    std::vector<std::string> names;
    size_t start = 0;
    for (;;) {
        const size_t comma = folderSet.find(',', start);
        names.emplace_back(folderSet.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return names;
        start = comma + 1;
    }
}

KeyedNames scanFolders(const std::string& directory, const std::vector<std::string>& folders,
                       std::string_view extension, std::atomic<size_t>* filesSeen)
{
    std::vector<std::string> roots;
    for (const std::string& folder : folders)
        roots.push_back(joinPath(directory, folder));

    // What one walking thread gathers, on a cache line of its own.
    struct alignas(64) Share {
        KeyedNames names;
        size_t seen = 0;
    };
    const unsigned threads = walkThreads();
    std::vector<Share> shares(threads);
    walkFoldersInParallel(roots, threads, [&](unsigned thread, const WalkEntry& entry) {
        Share& share = shares[thread];
        // The shared counter is touched once in a while, not once an entry.
        if (filesSeen && ++share.seen % 1024 == 0)
            filesSeen->fetch_add(1024, std::memory_order_relaxed);
        if (entry.type == EntryType::Regular && hasExtension(entry.name, extension))
            share.names.add(std::string(entry.name), SortBy::WholeName);
    });

    KeyedNames names = std::move(shares[0].names);
    for (unsigned thread = 1; thread < threads; ++thread)
        names.append(std::move(shares[thread].names));
    if (filesSeen) {
        for (const Share& share : shares)
            filesSeen->fetch_add(share.seen % 1024, std::memory_order_relaxed);
    }
    return names;
}

NameList cacheFilenamesFromDirs(const std::string& directory, const std::vector<std::string>& folders,
                                std::string_view extension, std::atomic<size_t>* filesSeen)
{
    KeyedNames names = scanFolders(directory, folders, extension, filesSeen);
    names.sort(walkThreads());
    return names.takeNames();
}

NameList cacheTokenadeRomDirs(const std::string& directory, std::atomic<size_t>* filesSeen)
{
    return cacheFilenamesFromDirs(directory, folderNames(kRomFolders), kRomExtension, filesSeen);
}

NameList cacheTokenadeVideoDirs(const std::string& directory, std::atomic<size_t>* filesSeen)
{
    return cacheFilenamesFromDirs(directory, folderNames(kVideoFolders), kVideoExtension, filesSeen);
}

}  // namespace tokenade
