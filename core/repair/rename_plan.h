#pragma once

#include "core/repair/rename.h"
#include "core/results/audit_result.h"

#include <string>
#include <vector>

namespace tokenade {

// A rename that the near misses of an audit call for: the file found is to
// take the name its game expects.
struct PlannedRename {
    Rename rename;
    const NearMisses::Pair* pair;
    std::string refusal;  // why it will not be made ("" when it will): not a plain name, file gone
};

// The renames of the near-miss pairs of `result` (all, or those `chosen`
// marks), each within the folder its file lies in below `directory`, that
// folder resolved to its real path so that no link stands in the way. Each
// file's identity is taken now, so that a file changed before the renames is
// left alone.
std::vector<PlannedRename> planRenames(const AuditResult& result, const std::string& directory,
                                       const std::vector<bool>* chosen = nullptr);

// The renames of a plan that can be tried.
std::vector<Rename> renamesToTry(const std::vector<PlannedRename>& plan);

}  // namespace tokenade
