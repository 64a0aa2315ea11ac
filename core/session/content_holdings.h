#pragma once

#include "core/content/collection_identity.h"
#include "core/results/audit_result.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace tokenade {

// What the unknown archives of one ROM result hold by content, for the
// greyed words beside each in the window: "holds Beta (Japan)", "2 of 3
// roms of Beta (Japan)", "holds Beta (Japan) or Beta (Europe)", "not a zip".
// An archive whose files the DAT does not know has no words. The words go
// with `result` only: its entries are the keys.
struct ContentHoldings {
    std::shared_ptr<const AuditResult> result;
    std::unordered_map<const ResultEntry*, std::string> words;
};

// The holdings of the unknown archives of `result` (a ROM audit), as
// `found` identified the archives of the same collection.
ContentHoldings unknownHoldings(std::shared_ptr<const AuditResult> result, const BasisAndArchives& found);

// What the content says against the names of `result` (a ROM audit), as
// warnings for the window's notices: archives that hold another game than
// their names say (wrongContentWarning, as the command line warns), and
// valid archives, named for a list line, that are not zips or are cut
// short, so that a name alone does not pass for the game. Nothing without a
// basis or when every archive is what its name says.
std::vector<AuditWarning> contentWarnings(const AuditResult& result, const BasisAndArchives& found);

}  // namespace tokenade
