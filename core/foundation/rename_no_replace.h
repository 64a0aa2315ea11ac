#pragma once

#include <string>

namespace tokenade {

// Renames `from` to `to`, both names in the open folder `folderFd`, unless
// something already has the name `to`: an existing entry is never replaced,
// whatever it is. Returns 0 on success, else the errno (EEXIST when `to` is
// taken). Uses the kernel's no-replace rename; where the file system refuses
// it, falls back to renameByLinking. Does not follow links, does not check
// that the names are plain names.
int renameNoReplace(int folderFd, const std::string& from, const std::string& to);

// The same for file systems without the no-replace rename: a hard link under
// the new name (which fails when the name is taken), then, once the new name
// is seen to be the same file with one more link, removal of the old name.
// When the link did not come out as one file under two names, the old name is
// kept and EIO returned (the new name is removed again when it is that file).
// Not atomic: for a moment both names exist. Regular files only.
int renameByLinking(int folderFd, const std::string& from, const std::string& to);

}  // namespace tokenade
