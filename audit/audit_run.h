#pragma once

#include "sources/name_list.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// What an audit reads: the two paths, exactly as the user gave them.
struct AuditInputs {
    std::string tokenadeDirPath;
    std::string romsListPath;
    bool availableRomVideosOnly = false;  // video audit only: the check box
};

// How an audit tells its progress. Both members may be empty.
struct AuditProgress {
    std::function<void(std::string_view)> status;  // each status text, in order
    std::atomic<size_t>* filesSeen = nullptr;      // counts folder entries met
};

struct RomAuditResult {
    NameList valid;
    NameList missing;
    NameList unknown;
};

struct VideoAuditResult {
    NameList valid;
    NameList missing;
    NameList extra;
    NameList unknown;
};

// The ROM audit: the "zip" archives of the rom folders against the supported
// roms list. Nothing when the list is unusable. Reads the disk; keeps nothing.
std::optional<RomAuditResult> runRomAudit(const AuditInputs& inputs, const AuditProgress& progress);

// The video audit: the "xmv" videos against the supported roms list, or, with
// `availableRomVideosOnly`, against the archives present, the list then
// telling supported names apart. Nothing only when the check box is off and
// the list is unusable.
std::optional<VideoAuditResult> runVideoAudit(const AuditInputs& inputs, const AuditProgress& progress);

}  // namespace tokenade
