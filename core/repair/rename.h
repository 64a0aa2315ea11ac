#pragma once

#include "core/repair/change.h"

#include <string>

namespace tokenade {

// One rename of a planned batch: the file `from` in `folder` is to be called
// `to`. `folder` is an absolute path; `from` and `to` are bare names in it.
// `identity` is the file as it was when the plan was made (identityOf), so
// that a file changed or swapped since is left alone.
struct Rename {
    std::string folder;
    std::string from;
    std::string to;
    FileIdentity identity;

    bool operator==(const Rename&) const = default;
};

inline Change renameChange(const Rename& rename)
{
    return Change{ChangeKind::Rename, rename.folder, rename.from, rename.folder, rename.to, rename.identity};
}

}  // namespace tokenade
