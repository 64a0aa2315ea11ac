#pragma once

#include "core/foundation/file_identity.h"

#include <optional>
#include <string>
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

struct FileInFolder {
    std::string folder;
    std::string name;
};

// identityOf of each file, in the order given; the folders are opened one at
// a time, each once.
std::vector<std::optional<FileIdentity>> identitiesOf(const std::vector<FileInFolder>& files);

}  // namespace tokenade
