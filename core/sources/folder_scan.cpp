#include "folder_scan.h"

#include "core/foundation/folder_walk.h"
#include "core/sources/path_rules.h"

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace tokenade {
namespace {

// The table of folders that hold found names, shared by the walking threads.
// Each folder is read by one thread only, so it is added once.
class FolderTable {
public:
    explicit FolderTable(const std::vector<std::string>& folderSet) : folderSet_(folderSet) {}

    uint32_t add(size_t root, std::string_view parent)
    {
        std::string relative = parent.empty() ? folderSet_[root] : joinPath(folderSet_[root], parent);
        std::lock_guard<std::mutex> lock(mutex_);
        folders_.push_back(std::move(relative));
        return static_cast<uint32_t>(folders_.size() - 1);
    }

    std::vector<std::string> take() { return std::move(folders_); }

private:
    const std::vector<std::string>& folderSet_;
    std::mutex mutex_;
    std::vector<std::string> folders_;
};

// Names are gathered in parts of this many, so that a growing list is never
// copied as a whole until the parts are joined once.
constexpr size_t kPartSize = 65536;

// What one walking thread gathers, on a cache line of its own.
struct alignas(64) Share {
    std::vector<KeyedNames> parts;
    size_t seen = 0;
    // The folder whose entries come in now, once it holds a found name.
    size_t root = SIZE_MAX;
    std::string parent;
    uint32_t folder = 0;
    std::vector<std::string> leftovers;
};

uint32_t folderOf(Share& share, FolderTable& table, const WalkEntry& entry)
{
    if (entry.root != share.root || entry.parent != share.parent) {
        share.root = entry.root;
        share.parent.assign(entry.parent);
        share.folder = table.add(entry.root, entry.parent);
    }
    return share.folder;
}

// Puts the folders in byte order, so that the same tree always gives the same
// table (the walking threads add folders as they meet them).
void sortFolders(FoundNames& found)
{
    std::vector<uint32_t> order(found.folders.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return found.folders[a] < found.folders[b]; });
    std::vector<uint32_t> newIndex(order.size());
    std::vector<std::string> folders(order.size());
    for (uint32_t i = 0; i < order.size(); ++i) {
        newIndex[order[i]] = i;
        folders[i] = std::move(found.folders[order[i]]);
    }
    found.folders = std::move(folders);
    found.names.renumberOrigins(newIndex);
}

void sortOutFailures(const std::vector<FolderFailure>& failures, const std::vector<std::string>& folders,
                     FoundNames& found)
{
    found.folderErrors.assign(folders.size(), 0);
    for (const FolderFailure& failure : failures) {
        if (failure.relative.empty())
            found.folderErrors[failure.root] = failure.error;
        if (!failure.relative.empty() || (failure.error != ENOENT && failure.error != ENOTDIR))
            found.unreadable.push_back(
                failure.relative.empty() ? folders[failure.root] : joinPath(folders[failure.root], failure.relative));
    }
}

}  // namespace

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

FoundNames gatherFilenamesFromDirs(const std::string& directory, const std::vector<std::string>& folders,
                                   std::string_view extension, const ScanControl& control)
{
    std::vector<std::string> roots;
    for (const std::string& folder : folders)
        roots.push_back(joinPath(directory, folder));

    const unsigned threads = walkThreads();
    std::vector<Share> shares(threads);
    FolderTable table(folders);
    const auto failures = walkFoldersInParallel(
        roots, threads,
        [&](unsigned thread, const WalkEntry& entry) {
            Share& share = shares[thread];
            // The shared counter is touched once in a while, not once an entry.
            if (control.filesSeen && ++share.seen % 1024 == 0)
                control.filesSeen->fetch_add(1024, std::memory_order_relaxed);
            if (entry.type == EntryType::Regular && hasExtension(entry.name, extension)) {
                if (share.parts.empty() || share.parts.back().size() == kPartSize) {
                    share.parts.emplace_back();
                    share.parts.back().reserve(kPartSize);
                }
                share.parts.back().add(entry.name, folderOf(share, table, entry));
            } else if (entry.name.front() == '.' && entry.type == EntryType::Regular &&
                       isBatchTemporaryName(entry.name)) {
                // Rare, and behind the test of one byte that every other name fails.
                share.leftovers.push_back(joinPath(joinPath(folders[entry.root], entry.parent), entry.name));
            }
        },
        control.stop);

    FoundNames found;
    std::vector<KeyedNames> parts;
    for (Share& share : shares) {
        for (KeyedNames& part : share.parts)
            parts.push_back(std::move(part));
        found.leftovers.insert(found.leftovers.end(), share.leftovers.begin(), share.leftovers.end());
        if (control.filesSeen)
            control.filesSeen->fetch_add(share.seen % 1024, std::memory_order_relaxed);
    }
    found.names = KeyedNames::join(std::move(parts));
    std::sort(found.leftovers.begin(), found.leftovers.end());
    found.folders = table.take();
    sortFolders(found);
    sortOutFailures(failures, folders, found);
    return found;
}

FoundNames cacheFilenamesFromDirs(const std::string& directory, const std::vector<std::string>& folders,
                                  std::string_view extension, const ScanControl& control)
{
    FoundNames found = gatherFilenamesFromDirs(directory, folders, extension, control);
    found.names.sort(sortThreads());
    return found;
}

FoundNames cacheTokenadeRomDirs(const std::string& directory, const ScanControl& control)
{
    return cacheFilenamesFromDirs(directory, folderNames(kRomFolders), kRomExtension, control);
}

FoundNames cacheTokenadeVideoDirs(const std::string& directory, const ScanControl& control)
{
    return cacheFilenamesFromDirs(directory, folderNames(kVideoFolders), kVideoExtension, control);
}

}  // namespace tokenade
