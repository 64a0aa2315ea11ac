#pragma once

#include "core/content/fixdat.h"
#include "core/content/sets/set_rules.h"

#include <vector>

namespace tokenade {

// What a fixdat of arcade sets lists, for a collection in `form`: the
// machine of each line marked in `missingLines`, once, in list order, then
// the archives those sets need that `held` (machinesHeld) lacks, a clone's
// parent, a BIOS, a device (missingNeeds), once each, in the order needed.
// Each with the roms and disks of its archive in `form`: a split clone with
// its own roms alone. In merged form a clone has no archive of its own, so
// each machine is written with its own roms, as in split form: its cloneof
// tells a tool to merge them into the parent's archive. `needed`, when
// given, gets how many of the games are needs.
std::vector<FixdatGame> missingSetsOf(const SetRules& rules, const GameLines& lines,
                                      const std::vector<bool>& missingLines, const std::vector<bool>& held,
                                      SetForm form, size_t* needed = nullptr);

}  // namespace tokenade
