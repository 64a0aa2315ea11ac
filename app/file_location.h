#pragma once

#include <string>
#include <string_view>

namespace tokenade {

// The path of the file that a result name stands for in `folder` (an
// absolute path). The name of a valid entry is spelled as the supported list
// spells it, which may differ from the file's own name in letter case or
// accents: when no file of exactly that name is there, the folder is read and
// the file whose name compares alike (unicodeKey) is taken, the first in byte
// order. When none is there either (the file went away), the path of the name
// as given. Reads the disk; never fails.
std::string pathOnDisk(const std::string& folder, std::string_view name);

}  // namespace tokenade
