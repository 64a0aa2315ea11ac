#pragma once

#include "core/audit/name_merge.h"
#include "core/results/near_misses.h"
#include "core/sources/roms_list.h"

#include <string_view>

namespace tokenade {

// Looks, in a finished merge, for files that are there under another name
// than a missing game expects. The missing and the unknown names are grouped
// by near key (nearKey): a group of exactly one missing name and one unknown
// file is a pair, with its differences; larger groups are ambiguous. Also
// listed: the merge's copies, and unknown files named as a whole list line
// (`list`, may be null) plus `extension` where a period makes the line
// expect a shorter name. A file is listed once: cut names and copies are not
// grouped again. The entries point into `merged`'s lists, which must stay
// where they are (moving the vectors keeps them). Only the unknown files are
// hashed, none when nothing is missing, on up to `threads` threads.
NearMisses findNearMisses(const MergedNames& merged, const RomsList* list, std::string_view extension,
                          unsigned threads = 2);

}  // namespace tokenade
