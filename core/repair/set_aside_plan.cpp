#include "set_aside_plan.h"

#include "core/content/sets/set_needs.h"
#include "core/repair/plan_lookups.h"
#include "core/sources/folder_scan.h"
#include "core/sources/path_rules.h"

#include <ctime>
#include <unordered_map>

namespace tokenade {
namespace {

// Per archive needed, by its path below the directory: how many listed sets need it.
std::unordered_map<std::string, uint32_t> neededArchives(const ContentFindings* content)
{
    std::unordered_map<std::string, uint32_t> needed;
    if (!content)
        return needed;
    const CollectionNeeds needs = judgeNeeds(content->basis, content->collection);
    const ArchiveSet& archives = content->collection.archives;
    for (size_t i = 0; i < needs.neededBy.size(); ++i) {
        if (needs.neededBy[i] > 0)
            needed.emplace(archives.pathOf(archives.archives[i]), needs.neededBy[i]);
    }
    return needed;
}

}  // namespace

std::string defaultSetAsideFolder(const std::string& directory)
{
    const time_t now = ::time(nullptr);
    tm local{};
    ::localtime_r(&now, &local);
    char day[16];
    std::strftime(day, sizeof day, "%Y-%m-%d", &local);
    return joinPath(joinPath(directory, "_set-aside"), day);
}

ChangePlan planSetAside(const AuditResult& result, const SetAsideRequest& request, const ContentFindings* content)
{
    ChangePlan plan;
    if (request.category != CategoryId::Unknown && request.category != CategoryId::Extra) {
        plan.problem = "only unknown and extra files can be set aside";
        return plan;
    }
    const auto directory = resolvedPath(request.directory);
    const auto target =
        resolvedPath(request.targetFolder.empty() ? defaultSetAsideFolder(request.directory) : request.targetFolder);
    if (!directory || !target) {
        plan.problem = "cannot resolve the paths of " + request.directory + " and " + request.targetFolder;
        return plan;
    }
    for (std::string_view set : {kRomFolders, kVideoFolders}) {
        for (const std::string& folder : folderNames(set)) {
            const auto real = resolvedPath(joinPath(*directory, folder));
            if (real && isWithin(*target, *real)) {
                plan.problem = "the folder " + *target + " is inside the collection's folder " + folder +
                               ": the next audit would find the files there again";
                return plan;
            }
        }
    }
    const bool ticked = !(result.kind == AuditKind::Roms && request.category == CategoryId::Unknown);
    const auto needed = result.kind == AuditKind::Roms ? neededArchives(content) : decltype(neededArchives(content)){};
    RealFolders realFolders;
    const auto& entries = result.list(request.category);
    plan.items.reserve(entries.size());
    for (const ResultEntry& entry : entries) {
        const std::string relative(result.folderOf(entry));
        const std::string name(entry.name());
        OfferedChange item;
        item.kind = OfferKind::SetAside;
        item.shownSource = joinPath(relative, name);
        item.tickedByDefault = ticked;
        const std::string& folder = realFolders.of(joinPath(*directory, relative));
        item.change = Change{ChangeKind::Move, folder, name, joinPath(*target, relative), name, FileIdentity{}};
        if (const auto at = needed.find(item.shownSource); at != needed.end()) {
            const bool forced = request.neededButForced.count(item.shownSource) || request.neededButForced.count(name);
            (forced ? item.caution : item.refusal) = neededText(at->second);
            item.tickedByDefault = false;
        }
        plan.items.push_back(std::move(item));
    }
    takeIdentities(plan.items);
    return plan;
}

}  // namespace tokenade
