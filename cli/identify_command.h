#pragma once

#include "cli/cli_options.h"
#include "core/content/collection_identity.h"
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

// What --dat found in the collection: the DAT and the list, read once, and
// the archives of the rom folders identified against them.
struct CollectionContent {
    ContentBasis basis;
    IdentifiedArchives collection;
};

// `roms --dat`, `rename roms --dat`, `fill roms --dat`: identifies the
// collection's archives, adds to `result` the warning of archives whose
// content is another game than their name says, writes the fixdat when
// asked, and keeps what it read in `content`. Returns kExitAudited,
// kExitListUnusable for a DAT that cannot be used (said on standard error),
// or kExitWriteFailed for a fixdat not written.
int addContentFindings(const CliOptions& options, const std::string& listPath, AuditResult& result,
                       std::optional<CollectionContent>& content);

// Whether --fixdat names what it must not replace (whyNotAnOutputFile: the
// DAT, the list, a link, a path inside the collection ...), said on standard
// error; asked before any work, the caller then exits with kExitUsage.
bool fixdatRefused(const CliOptions& options, const std::string& listPath);

// The archives of a fill's source folder, at any depth, identified with the
// progress shown as the collection's is.
IdentifiedArchives identifySource(const CliOptions& options, const ContentBasis& basis);

}  // namespace tokenade::cli
