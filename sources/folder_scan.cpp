#include "folder_scan.h"

#include "platform/foundation/folder_walk.h"
#include "sources/path_rules.h"
#include "sources/shared_order.h"

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

NameList cacheFilenamesFromDirs(const std::string& directory, const std::vector<std::string>& folders,
                                std::string_view extension, std::atomic<size_t>* filesSeen)
{
    NameList names;
    for (const std::string& folder : folders) {
        walkFolder(joinPath(directory, folder), WalkOrder::Any, [&](const WalkEntry& entry) {
            if (filesSeen)
                filesSeen->fetch_add(1, std::memory_order_relaxed);
            if (entry.type == EntryType::Regular && hasExtension(entry.name, extension))
                names.emplace_back(entry.name);
            return WalkStep::Continue;
        });
    }
    sortNames(names, SortBy::LastPathComponent);
    return names;
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
