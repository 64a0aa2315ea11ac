#pragma once

#include <string>
#include <vector>

namespace tokenade {

// An ordered list of names: bare file names or lines of the supported roms
// list, as UTF-8 (file names as the disk has them). Repeats are kept.
using NameList = std::vector<std::string>;

}  // namespace tokenade
