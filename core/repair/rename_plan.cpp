#include "rename_plan.h"

#include "core/foundation/file_identity.h"
#include "core/repair/plain_name.h"
#include "core/sources/path_rules.h"

#include <climits>
#include <cstdlib>
#include <memory>

namespace tokenade {
namespace {

// The folder's real path, or nothing when it is not there.
std::optional<std::string> realFolder(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real)
        return std::nullopt;
    return std::string(real.get());
}

}  // namespace

std::vector<PlannedRename> planRenames(const AuditResult& result, const std::string& directory,
                                       const std::vector<bool>* chosen)
{
    std::vector<PlannedRename> plan;
    const auto& pairs = result.nearMisses.pairs;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (chosen && (i >= chosen->size() || !(*chosen)[i]))
            continue;
        const NearMisses::Pair& pair = pairs[i];
        PlannedRename planned{{}, &pair, {}};
        planned.rename.from = std::string(pair.found->name());
        planned.rename.to = std::string(pair.expected->name());
        const auto folder = realFolder(joinPath(directory, result.folderOf(*pair.found)));
        if (folder)
            planned.rename.folder = *folder;
        const auto identity = folder ? identityOf(*folder, planned.rename.from) : std::nullopt;
        if (const auto why = whyNotAPlainName(planned.rename.to, folder ? longestNameIn(*folder) : NAME_MAX))
            planned.refusal = "the expected name cannot be a file name: " + *why;
        else if (!identity)
            planned.refusal = "the file is no longer there";
        else
            planned.rename.identity = *identity;
        plan.push_back(std::move(planned));
    }
    return plan;
}

std::vector<Rename> renamesToTry(const std::vector<PlannedRename>& plan)
{
    std::vector<Rename> renames;
    for (const PlannedRename& planned : plan) {
        if (planned.refusal.empty())
            renames.push_back(planned.rename);
    }
    return renames;
}

}  // namespace tokenade
