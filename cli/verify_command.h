#pragma once

#include "cli/cli_options.h"

namespace tokenade::cli {

// `verify roms`: decompresses every entry of every archive of the rom
// folders and prints, one per archive, whether its bytes are intact, and for
// one that is not, each entry at fault with what its data gives and what was
// expected; then the counts. With --dat the entries the DAT gives a SHA-1
// for are checked against it too. Returns the exit status: kExitAudited
// once every archive is checked, whatever they hold; kExitListUnusable for
// a DAT that cannot be used (said on standard error).
int verifyRoms(const CliOptions& options);

}  // namespace tokenade::cli
