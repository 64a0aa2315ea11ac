#pragma once

#include "cli/cli_options.h"
#include "core/audit/audit_run.h"

namespace tokenade::cli {

// `rename`: prints the renames that the near misses of the audit call for,
// and those that cannot be made and why; with --apply makes them, journaled,
// and prints the journal's path. Returns the exit status: kExitWriteFailed
// when some renames failed (the others are made and journaled).
int renameFiles(const CliOptions& options, const AuditResult& result);

// `undo`: reverses the renames of a journal. The exit status as for renameFiles.
int undoRenamesOf(const std::string& journal);

}  // namespace tokenade::cli
