#pragma once

#include "core/content/collection_identity.h"
#include "core/content/sets/set_judgement.h"

#include <optional>
#include <string>

namespace tokenade {

// The set an archive of a collection is judged against, rom by rom and disk
// by disk, with a DAT of families (basis.sets); nothing without one, or for
// an archive that is no set:
// - one that holds a set whole or in part, as the set identification found
//   it to be, in the (first) form it found;
// - one that has no rom of the DAT but is named for a machine of it (its
//   short name), as that machine in the first form `allowed`: not found.
// Not a zip, ambiguous, and a merged clone (which has no archive) are no
// sets. Disks are looked for (judgeDisks) in the archive's own folder, then
// in each rom folder, below `directory`. The archive's entries need their
// names (nameEntries) for a rom to be found wrong.
std::optional<SetJudgement> judgeArchive(const ContentBasis& basis, const IdentifiedArchives& identified, size_t index,
                                         const std::string& directory, SetFormMask allowed = kAnySetForm);

}  // namespace tokenade
