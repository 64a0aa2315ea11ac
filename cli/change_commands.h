#pragma once

#include "cli/cli_options.h"
#include "core/results/audit_result.h"

#include <string>

namespace tokenade::cli {

struct CollectionContent;

// `rename`, `fill` and `set-aside`: print the changes that the audit's
// `result` calls for, one line each (those chosen, those offered but not
// chosen, those that cannot be made and why) and the bytes they copy or
// move; with --apply make the chosen ones, journaled, and print what each
// did and the journal's path. Returns the exit status: kExitUsage for a plan
// that cannot be made at all (a directory that is no collection of the
// kind, a source inside the collection, names that match no file), and
// kExitWriteFailed when some chosen change was not made (the others are made
// and journaled). With `content` (--dat), rename and fill find archives by
// content too, the fill's source identified here.
int changeFiles(const CliOptions& options, const AuditResult& result, const CollectionContent* content = nullptr);

// `undo`: reverses the changes of a journal: `journal`, else the newest
// batch made on `directory`, else (both "") the newest of any collection,
// named in the output. The exit status as for changeFiles.
int undoChangesOf(const std::string& journal, const std::string& directory);

}  // namespace tokenade::cli
