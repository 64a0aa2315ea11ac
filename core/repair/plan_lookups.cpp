#include "plan_lookups.h"

#include "core/foundation/folder_reader.h"
#include "core/foundation/path_join.h"
#include "core/repair/plain_name.h"

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

OfferedChange renameOffer(RealFolders& realFolders, const std::string& directory, std::string_view relativeFolder,
                          std::string_view from, std::string to, OfferKind kind)
{
    OfferedChange item;
    item.kind = kind;
    item.shownSource = joinPath(relativeFolder, from);
    const std::string& folder = realFolders.of(joinPath(directory, relativeFolder));
    item.change = Change{ChangeKind::Rename, folder, std::string(from), folder, std::move(to), FileIdentity{}};
    if (const auto why = whyNotAPlainName(item.change.to, folder.empty() ? 255 : longestNameIn(folder)))
        item.refusal = "the expected name cannot be a file name: " + *why;
    return item;
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
