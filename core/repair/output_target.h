#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tokenade {

// What a file the program writes for the user (a fixdat) must not replace.
struct OutputGuard {
    std::vector<std::pair<std::string, std::string>> inputs;  // what each is called ("the DAT"), its path
    std::string collection;                                   // "" for none
};

// Why `path` may not take a written file, in words for the user, or "" when
// it may: a symbolic link (it would be replaced by a file, never followed),
// anything but a regular file, one of the inputs (the same file under any
// name), or a path inside the collection, whose files change only through
// its batches of changes. A path that does not exist yet is fine;
// the write says what else is wrong.
std::string whyNotAnOutputFile(const std::string& path, const OutputGuard& guard);

}  // namespace tokenade
