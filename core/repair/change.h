#pragma once

#include "core/foundation/file_identity.h"

#include <string>

namespace tokenade {

enum class ChangeKind {
    Rename,  // a file takes another name in its folder
    Copy,    // a copy of a file (a reflink where the file system can) is made under a new name elsewhere
    Link,    // a hard link under a new name elsewhere, on the same file system
    Move,    // a file goes to another folder, a rename on one file system, else a copy and then an unlink
    Folder,  // a missing folder is made, for the files that go there
};

// One change to a collection: the file `from` in `folder` becomes, or gives,
// `to` in `toFolder`. Folders are absolute paths, resolved to their real
// paths so that no link stands in the way; `from` and `to` are bare names.
// `identity` is the file as it was when the change was planned
// (identityOf), so that a file changed or swapped since is left alone. A
// rename has `toFolder` equal to `folder`. A Folder change has no `folder`,
// `from` or identity: it makes the folder `to` in `toFolder`.
struct Change {
    ChangeKind kind = ChangeKind::Rename;
    std::string folder;
    std::string from;
    std::string toFolder;
    std::string to;
    FileIdentity identity;

    bool operator==(const Change&) const = default;
};

// The same file before and after a copy, as undo compares them: a copy is
// removed only while it is still the file that was made.
inline bool sameCopy(const FileIdentity& a, const FileIdentity& b)
{
    return a.sameFile(b) && a.size == b.size;
}

}  // namespace tokenade
