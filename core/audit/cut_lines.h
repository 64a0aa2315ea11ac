#pragma once

#include "core/results/audit_result.h"
#include "core/sources/roms_list.h"

#include <string_view>

namespace tokenade {

// The whole list line of each name of `missing` (a merge's missing names,
// in the order of their keys) that a period in its line cut short: "Dr.
// Mario (Japan, USA)" for "Dr.zip" (periodCutsName), so that the user sees
// which game a cut name stands for. Lines that cut to the same name go to
// its entries in the order of the list, the exact spelling first. The
// entries must stay where they are (moving their vector keeps them).
CutLines cutLinesOf(const ResultList& missing, const RomsList& list, std::string_view extension);

}  // namespace tokenade
