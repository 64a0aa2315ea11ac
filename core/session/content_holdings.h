#pragma once

#include "core/content/collection_identity.h"
#include "core/results/audit_result.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace tokenade {

// What the unknown archives of one ROM result hold by content, for the
// greyed words beside each in the window: "holds Beta (Japan)", "2 of 3
// roms of Beta (Japan)", "holds Beta (Japan) or Beta (Europe)", "not a zip",
// and "no rom of the DAT" for one whose files the DAT does not know, so that
// it differs from an archive not read (no words). The words go with
// `result` only: its entries are the keys.
struct ContentHoldings {
    std::shared_ptr<const AuditResult> result;
    std::unordered_map<const ResultEntry*, std::string> words;
    // With a DAT of sets: per archive judged as a set, the judgement rom by
    // rom, a line each, for its row's tooltip (see addSetStates).
    std::unordered_map<const ResultEntry*, std::string> details;
};

// The holdings of the unknown archives of `result` (a ROM audit), as
// `found` identified the archives of the same collection.
ContentHoldings unknownHoldings(std::shared_ptr<const AuditResult> result, const BasisAndArchives& found);

// With a DAT of sets (judgeArchive), for each archive of the valid and
// unknown names of holdings.result: its set's state among its words when the
// set is not correct ("set pacman: incorrect", after what an unknown archive
// holds), and the judgement's summary and lines (a few, the rest counted) in
// `details`. `inputs` are those `found` was identified with. Nothing without
// a DAT of sets.
void addSetStates(ContentHoldings& holdings, const BasisAndArchives& found, const IdentifyInputs& inputs);

// What the content says against the names of `result` (a ROM audit), as
// warnings for the window's notices: archives that hold another game than
// their names say (wrongContentWarning, as the command line warns), and
// valid archives, named for a list line, that are not zips or are cut
// short, so that a name alone does not pass for the game. Nothing without a
// basis or when every archive is what its name says.
std::vector<AuditWarning> contentWarnings(const AuditResult& result, const BasisAndArchives& found);

}  // namespace tokenade
