#pragma once

#include "cli/cli_options.h"
#include "core/results/audit_result.h"

#include <optional>
#include <string>

namespace tokenade::cli {

// `identify roms`: reads the DAT and the list (`listPath`, found or given),
// identifies every archive of the rom folders and prints, one per archive,
// what it holds, the list line it is for and its state, then how many of the
// list's games the DAT knows and how many are present by content; writes the
// fixdat when asked. Returns the exit status: kExitListUnusable for a DAT or
// list that cannot be used, kExitWriteFailed when the fixdat or the output
// could not be written.
int identifyRoms(const CliOptions& options, const std::string& listPath);

// `roms --dat`: adds to `result` the warning of archives whose content is
// another game than their name says, and writes the fixdat when asked.
// Returns kExitAudited, kExitListUnusable for a DAT that cannot be used
// (said on standard error), or kExitWriteFailed for a fixdat not written.
int addContentFindings(const CliOptions& options, const std::string& listPath, AuditResult& result);

}  // namespace tokenade::cli
