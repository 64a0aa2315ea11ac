#include "rename_plan.h"

#include "core/repair/rename_offers.h"

namespace tokenade {

std::vector<PlannedRename> planRenames(const AuditResult& result, const std::string& directory,
                                       const std::vector<bool>* chosen)
{
    std::vector<PlannedRename> plan;
    const auto& pairs = result.nearMisses.pairs;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (chosen && (i >= chosen->size() || !(*chosen)[i]))
            continue;
        const NearMisses::Pair& pair = pairs[i];
        OfferedChange offer = renameOffer(directory, result.folderOf(*pair.found), pair.found->name(),
                                          std::string(pair.expected->name()), OfferKind::NearMiss);
        const Change& change = offer.change;
        plan.push_back(PlannedRename{Rename{change.folder, change.from, change.to, change.identity}, &pair,
                                     std::move(offer.refusal)});
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
