#include "list_discovery.h"

#include "core/foundation/folder_walk.h"
#include "core/sources/path_rules.h"

namespace tokenade {

std::optional<std::string> findSupportedList(const std::string& directory, std::stop_token stop)
{
    std::optional<std::string> found;
    walkFolder(directory, [&](const WalkEntry& entry) {
        if (entry.type != EntryType::Regular || entry.name != kSupportedListName)
            return WalkStep::Continue;
        found = joinPath(joinPath(directory, entry.parent), entry.name);
        return WalkStep::Stop;
    }, stop);
    return found;
}

}  // namespace tokenade
