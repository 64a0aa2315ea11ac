#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// The paths of the files that result names stand for in `folder` (an
// absolute path), one for each of `names`, in their order. The name of a
// valid entry is spelled as the supported list spells it, which may differ
// from the file's own name in letter case or accents: when no file of exactly
// that name is there, the file whose name compares alike (unicodeKey) is
// taken, the first in byte order. When none is there either (the file went
// away), the path of the name as given. Reads the folder at most once, so
// that thousands of names cost one reading; never fails.
std::vector<std::string> pathsOnDisk(const std::string& folder, const std::vector<std::string_view>& names);

}  // namespace tokenade
