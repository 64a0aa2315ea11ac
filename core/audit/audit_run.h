#pragma once

#include "core/results/audit_result.h"
#include "core/sources/roms_list.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace tokenade {

// What an audit reads: the two paths, exactly as the user gave them.
struct AuditInputs {
    std::string tokenadeDirPath;
    std::string romsListPath;
    bool availableRomVideosOnly = false;  // video audit only: the check box
    bool nearMisses = false;              // also look for files there under another name
    uint64_t number = 0;                  // which audit of its kind the window started, 1 first
};

// How an audit tells its progress and learns that it should stop. Every
// member may be left empty.
struct AuditProgress {
    std::function<void(std::string_view)> status;  // each status text, in order
    std::atomic<size_t>* filesSeen = nullptr;      // counts folder entries met
    std::stop_token stop;                          // checked between folders and phases
};

// What an audit gives back: a result, or why there is none.
struct AuditOutcome {
    AuditInputs inputs;  // what the audit read
    std::optional<AuditResult> result;
    ListProblem listProblem;  // no result because the supported roms list is unusable
    bool stopped = false;     // no result because a stop was requested
};

// The ROM audit: the "zip" archives of the rom folders against the supported
// roms list. No result when the list is unusable. Reads the disk; keeps nothing.
AuditOutcome runRomAudit(const AuditInputs& inputs, const AuditProgress& progress);

// The video audit: the "xmv" videos against the supported roms list, or, with
// `availableRomVideosOnly`, against the archives present, the list then
// telling supported names apart. No result only when the check box is off and
// the list is unusable.
AuditOutcome runVideoAudit(const AuditInputs& inputs, const AuditProgress& progress);

}  // namespace tokenade
