#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tokenade::testing {

// A temporary folder tree for one test, removed with everything in it when
// the object goes. Paths given to the methods are relative to root().
class TempTree {
public:
    // In `base` (by default the system's temporary folder).
    explicit TempTree(const std::string& base = "");
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& root() const { return root_; }
    std::string path(std::string_view relative) const;

    // Each creates the missing parent folders.
    void addFile(std::string_view relative, std::string_view contents = "") const;
    void addFolder(std::string_view relative) const;
    void addLink(std::string_view relative, std::string_view target) const;
    void addFifo(std::string_view relative) const;
    // `depth` nested folders named "d" below `relative`, then `file` in the deepest:
    // deeper than a path may be long.
    void addDeepFile(std::string_view relative, int depth, const std::string& file) const;
    void setMode(std::string_view relative, unsigned mode) const;
    // Writes the file in place, its mtime put back (`rsync --inplace -t`).
    void rewriteKeepingTime(std::string_view relative, std::string_view contents) const;
    std::string read(std::string_view relative) const;
    bool exists(std::string_view relative) const;
    // The entries of a folder, sorted, one per line.
    std::string list(std::string_view relative = "") const;
    // Every path below the root, sorted, a line each; for files also the
    // size and the inode, or with `inodes` false (where a file that went and
    // came back is rightly a new one) the contents.
    std::string state(bool inodes = true) const;

private:
    std::string root_;
};

// Gives up root's privileges in a child process, so that file permissions
// hold for it (root reads any folder, whatever its mode); does nothing for an
// ordinary user. False when that failed.
bool dropPrivileges();

// Runs `work` where file permissions hold: as root, in a child process that
// has dropped its privileges; otherwise right here. Returns what `work` returned.
std::string runWithoutPrivileges(const std::function<std::string()>& work);

// A folder in memory (/dev/shm) where there is one, else the temporary
// folder: creating a few hundred thousand files there takes a second, not a minute.
std::string fastTemporaryBase();

}  // namespace tokenade::testing
