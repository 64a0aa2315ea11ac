#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

enum class EntryType { Regular, Directory, Symlink, Other };

// One entry met by walkFolder. The views stay valid only while the visit runs.
struct WalkEntry {
    std::string_view parent;  // folder holding the entry, relative to the root; "" for the root
    std::string_view name;    // the entry's own name, no folder part
    EntryType type;           // the entry's own type: a link is a Symlink, never its target's type
};

enum class WalkStep { Continue, Stop };

using WalkVisitor = std::function<WalkStep(const WalkEntry&)>;

// Visits every entry below `root`, at any depth, hidden entries included, in
// preorder: each folder's entries in byte order of their names, a folder's
// contents right after it, so that the same tree always gives the same order.
// `root` itself may be a symbolic link to a folder and is then walked; links
// below it are reported as links and never entered. A folder that cannot be
// opened or read contributes nothing and the walk goes on. The walk keeps no
// descriptor open per level and does not recurse, so very deep trees and very
// large folders are fine. Returns false when the visitor stopped the walk.
bool walkFolder(const std::string& root, const WalkVisitor& visit);

}  // namespace tokenade

namespace tokenade {

// Calls visit(thread, entry) from the walking threads; `thread` tells which
// one (0 to threads - 1), so that each can gather into its own place.
using ParallelVisitor = std::function<void(unsigned thread, const WalkEntry&)>;

// Walks every root as walkFolder does, but in no particular order, on up to
// `threads` threads that share out the folders. Each root may be a link to a
// folder; WalkEntry::parent is relative to the entry's own root. Returns when
// every folder has been read.
void walkFoldersInParallel(const std::vector<std::string>& roots, unsigned threads, const ParallelVisitor& visit);

// How many threads a walk is worth on this machine: more than the cores, or
// than a disk serves at once, only adds contention.
unsigned walkThreads();

}  // namespace tokenade
