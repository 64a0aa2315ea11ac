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

}  // namespace tokenade
