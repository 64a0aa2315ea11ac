#include "plan_lookups.h"

#include "core/foundation/folder_reader.h"
#include "core/repair/change_plan.h"

#include <unistd.h>

#include <string_view>

namespace tokenade {

const std::string& RealFolders::of(const std::string& folder)
{
    auto found = known_.find(folder);
    if (found == known_.end())
        found = known_.emplace(folder, resolvedPath(folder).value_or("")).first;
    return found->second;
}

std::vector<std::optional<FileIdentity>> identitiesOf(const std::vector<FileInFolder>& files)
{
    std::unordered_map<std::string_view, std::vector<size_t>> byFolder;
    for (size_t i = 0; i < files.size(); ++i)
        byFolder[files[i].folder].push_back(i);
    std::vector<std::optional<FileIdentity>> identities(files.size());
    for (const auto& [folder, indices] : byFolder) {
        const int fd = folder.empty() ? -1 : openFolder(std::string(folder), false);
        if (fd < 0)
            continue;
        for (size_t index : indices) {
            const FileAt found = fileAt(fd, files[index].name);
            if (found.error == 0 && found.regular)
                identities[index] = found.identity;
        }
        ::close(fd);
    }
    return identities;
}

}  // namespace tokenade
