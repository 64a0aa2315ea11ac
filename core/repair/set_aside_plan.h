#pragma once

#include "core/repair/change_plan.h"
#include "core/results/audit_result.h"

#include <string>

namespace tokenade {

// Which files are set aside, and where to.
struct SetAsideRequest {
    std::string directory;                      // the Tokenade directory the audit was made of
    CategoryId category = CategoryId::Unknown;  // Unknown, or Extra for a video audit of the archives present
    std::string targetFolder;                   // "" for defaultSetAsideFolder(directory)
};

// "DIRECTORY/_set-aside/2026-12-07": today's folder for the files set aside.
std::string defaultSetAsideFolder(const std::string& directory);

// The moves that take the files of one category of `result` out of the
// collection into the target folder, each keeping its path below the
// Tokenade directory ("roms/Sega/x.zip" goes to "TARGET/roms/Sega/x.zip"),
// so that a person can put them back as well as undo. Unknown archives are
// offered unticked (some, such as BIOS archives, may be needed); unknown and
// extra videos ticked. `problem`, with no items: a category that is not a
// found one, or a target inside a rom or video folder, where the next audit
// would find the files again. Reads the disk, changes nothing.
ChangePlan planSetAside(const AuditResult& result, const SetAsideRequest& request);

}  // namespace tokenade
