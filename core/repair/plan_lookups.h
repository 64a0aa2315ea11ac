#pragma once

#include "core/repair/change_plan.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tokenade {

// A plan names up to millions of files in a few thousand folders: each
// folder's path is resolved once and each folder opened once, so that the
// plan costs a lookup per file, not a walk of its path.

// The real path of each folder asked for (resolvedPath), remembered.
class RealFolders {
public:
    // "" when the folder cannot be resolved.
    const std::string& of(const std::string& folder);

private:
    std::unordered_map<std::string, std::string> known_;
};

// The found file `from` (in `relativeFolder` below `directory`) to take the
// name `to`, refused when `to` cannot be a file name there; its identity is
// taken later, with the others' (takeIdentities).
OfferedChange renameOffer(RealFolders& realFolders, const std::string& directory, std::string_view relativeFolder,
                          std::string_view from, std::string to, OfferKind kind);

// Takes the identity of the file of each item (its change's `from` in its
// `folder`), the folders opened one at a time, each once; an item whose file
// is no longer there is refused so, unless it is refused already.
void takeIdentities(std::vector<OfferedChange>& items);

}  // namespace tokenade
