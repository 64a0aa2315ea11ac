#pragma once

#include "core/repair/change_plan.h"
#include "core/repair/content_offers.h"
#include "core/results/audit_result.h"

#include <set>
#include <string>

namespace tokenade {

// Which files are set aside, and where to.
struct SetAsideRequest {
    std::string directory;                      // the Tokenade directory the audit was made of
    CategoryId category = CategoryId::Unknown;  // Unknown, or Extra for a video audit of the archives present
    std::string targetFolder;                   // "" for defaultSetAsideFolder(directory)
    // The files (as shownSource, or by name) the user sets aside although
    // listed sets need them: offered with that caution instead of refused.
    std::set<std::string> neededButForced = {};
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
// With `content` (the collection's archives identified against a DAT of
// arcade sets), an unknown archive that listed sets need beside their own
// (a BIOS, a device, a parent the list leaves out) is refused, "needed by
// 3 listed sets": every set that runs on it would stop working. One in
// request.neededButForced carries that as its caution instead.
ChangePlan planSetAside(const AuditResult& result, const SetAsideRequest& request,
                        const ContentFindings* content = nullptr);

}  // namespace tokenade
