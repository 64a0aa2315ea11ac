#pragma once

#include "core/repair/disk.h"

#include <map>
#include <string>

namespace tokenade {

// The folders of a batch, each opened once (through `disk`, never through a
// link) and kept open until the object goes. `disk` must outlive it.
class OpenFolders {
public:
    explicit OpenFolders(Disk& disk) : disk_(disk) {}
    ~OpenFolders();
    OpenFolders(const OpenFolders&) = delete;
    OpenFolders& operator=(const OpenFolders&) = delete;

    // The descriptor of the absolute `path` (and `error` 0), or -1 with `error` set.
    int open(const std::string& path, int& error);
    // Opens `path`, making it and its missing parents first; -1 with `error`
    // set on failure. For the program's own folders, not for a collection's.
    int openMaking(const std::string& path, int& error);

private:
    Disk& disk_;
    std::map<std::string, int> open_;
};

// The folder part of an absolute path ("/" for "/x"), and the last component.
std::string parentOf(const std::string& path);
std::string nameOf(const std::string& path);

}  // namespace tokenade
