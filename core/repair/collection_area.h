#pragma once

#include "core/repair/change.h"
#include "core/results/categories.h"

#include <string>
#include <vector>

namespace tokenade {

// Why `directory` is no Tokenade directory that a batch of renames, copies or
// moves of `kind` may change, in words for the user, or "" when it is one: it
// must exist, be a folder and hold at least one folder of the kind's set
// ("roms", "roms16BitConsoles", "romsConsoles" for archives). Reads the disk,
// changes nothing: the window asks it to enable its commands, the command
// line before it plans.
std::string whyNotACollection(const std::string& directory, AuditKind kind);

// The folders a batch on one collection may change: the collection itself,
// the real paths of its rom and video folders (which may be links to
// another drive), and the folder files are set aside to, when given. Paths
// are real paths; one with an empty, "." or ".." component is never inside.
class CollectionArea {
public:
    CollectionArea(const std::string& collection, const std::string& setAsideFolder);

    // `folder` is in the collection (below it or below one of its folders).
    bool holds(const std::string& folder) const;
    // `folder` is in the collection or in the set-aside folder.
    bool holdsSetAside(const std::string& folder) const;
    // `change` names plain names and changes only what is inside: a rename
    // in the collection, a copy or a link into it (from anywhere), a move
    // out of it into it or the set-aside folder, a folder made in either.
    bool admits(const Change& change) const;

private:
    std::vector<std::string> roots_;
    std::string setAside_;
};

}  // namespace tokenade
