#pragma once

#include "core/session/content_holdings.h"

namespace tokenade {

// Adds what arcade sets need to the words beside the archives of
// `holdings.result` (a ROM audit), as `found` identified them: beside a
// valid archive of a set that cannot run, what it lacks ("needs pgm.zip
// (BIOS), missing"); beside an unknown archive that listed sets need, after
// what it holds, "needed by 3 listed sets". Nothing without set rules.
void addNeedsNotes(ContentHoldings& holdings, const BasisAndArchives& found);

}  // namespace tokenade
