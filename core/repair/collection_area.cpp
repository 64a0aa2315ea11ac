#include "collection_area.h"

#include "core/repair/change_plan.h"
#include "core/repair/plain_name.h"
#include "core/sources/folder_scan.h"
#include "core/sources/path_rules.h"

#include <sys/stat.h>

#include <climits>
#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

bool isFolder(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// No part that walks elsewhere than it reads: "/a/../b", "/a/./b", "/a//b".
bool isPlainAbsolute(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return false;
    for (size_t start = 1; start <= path.size();) {
        const size_t slash = std::min(path.find('/', start), path.size());
        const std::string_view part(path.data() + start, slash - start);
        if ((part.empty() && path != "/") || part == "." || part == "..")
            return false;
        start = slash + 1;
    }
    return true;
}

bool within(const std::string& path, const std::string& root)
{
    return !root.empty() && isPlainAbsolute(path) && isWithin(path, root);
}

}  // namespace

std::string whyNotACollection(const std::string& directory, AuditKind kind)
{
    const std::string_view set = kind == AuditKind::Roms ? kRomFolders : kVideoFolders;
    struct stat status {};
    if (directory.empty())
        return "no Tokenade directory is chosen";
    if (::stat(directory.c_str(), &status) != 0)
        return errno == ENOENT ? "the Tokenade directory " + directory + " does not exist"
                               : "cannot look at the Tokenade directory " + directory + ": " + std::strerror(errno);
    if (!S_ISDIR(status.st_mode))
        return directory + " is not a folder";
    for (const std::string& folder : folderNames(set)) {
        if (isFolder(joinPath(directory, folder)))
            return "";
    }
    return directory + " holds none of the folders " + std::string(set) +
           ": it does not look like a Tokenade directory, so nothing is changed there";
}

CollectionArea::CollectionArea(const std::string& collection, const std::string& setAsideFolder)
    : setAside_(setAsideFolder)
{
    roots_.push_back(collection);
    for (std::string_view set : {kRomFolders, kVideoFolders}) {
        for (const std::string& folder : folderNames(set)) {
            if (const auto real = resolvedPath(joinPath(collection, folder)); real && !isWithin(*real, collection))
                roots_.push_back(*real);
        }
    }
}

bool CollectionArea::holds(const std::string& folder) const
{
    for (const std::string& root : roots_) {
        if (within(folder, root))
            return true;
    }
    return false;
}

bool CollectionArea::holdsSetAside(const std::string& folder) const
{
    return holds(folder) || within(folder, setAside_);
}

bool CollectionArea::admits(const Change& change) const
{
    if (whyNotAPlainName(change.to, NAME_MAX) ||
        (change.kind != ChangeKind::Folder && whyNotAPlainName(change.from, NAME_MAX)))
        return false;
    switch (change.kind) {
    case ChangeKind::Rename: return holds(change.folder) && change.toFolder == change.folder;
    case ChangeKind::Copy:
    case ChangeKind::Link: return holds(change.toFolder);
    case ChangeKind::Move: return holds(change.folder) && holdsSetAside(change.toFolder);
    case ChangeKind::Folder: return holdsSetAside(joinPath(change.toFolder, change.to));
    }
    return false;
}

}  // namespace tokenade
