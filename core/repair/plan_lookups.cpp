#include "plan_lookups.h"

#include "core/foundation/folder_reader.h"

#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace tokenade {

const std::string& RealFolders::of(const std::string& folder)
{
    auto found = known_.find(folder);
    if (found == known_.end())
        found = known_.emplace(folder, resolvedPath(folder).value_or("")).first;
    return found->second;
}

void takeIdentities(std::vector<OfferedChange>& items)
{
    std::unordered_map<std::string_view, std::vector<OfferedChange*>> byFolder;
    for (OfferedChange& item : items)
        byFolder[item.change.folder].push_back(&item);
    for (const auto& [folder, inFolder] : byFolder) {
        const int fd = folder.empty() ? -1 : openFolder(std::string(folder), false);
        for (OfferedChange* item : inFolder) {
            const FileAt found = fd < 0 ? FileAt{ENOENT, false, 0, {}} : fileAt(fd, item->change.from);
            if (found.error == 0 && found.regular)
                item->change.identity = found.identity;
            else if (item->refusal.empty())
                item->refusal = "the file is no longer there";
        }
        if (fd >= 0)
            ::close(fd);
    }
}

}  // namespace tokenade
