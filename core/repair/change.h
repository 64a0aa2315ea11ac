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

// `found` is still the copy `made`, as undo compares them: the same device,
// inode, size and mtime (to the nanosecond), so that a copy written into
// since is kept. Journals from before the mtime was kept compare the rest.
inline bool sameCopy(const FileIdentity& found, const FileIdentity& made)
{
    const bool mtimeKept = made.modifiedSeconds != 0 || made.modifiedNanoseconds != 0;
    return found.sameFile(made) && found.size == made.size &&
           (!mtimeKept || (found.modifiedSeconds == made.modifiedSeconds &&
                           found.modifiedNanoseconds == made.modifiedNanoseconds));
}

}  // namespace tokenade
