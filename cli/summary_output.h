#pragma once

#include "cli/cli_options.h"
#include "core/summary/system_counts.h"

#include <string>

namespace tokenade::cli {

// Where a table of systems was counted, for the JSON output.
struct SummaryPlace {
    std::string directory;
    std::string listPath;
};

// The table of systems in `format`:
// - text: a title line, a header row, then a row per system, names to the
//   left, counts to the right with their thousands grouped; a count that a
//   row cannot know is "-". Names are shown as a report line shows them.
// - JSON: dir, list, by ("folder" or "dat") and systems, each with system
//   (null for the NoDat and All rows), kind and a number per column, null
//   for one it cannot know.
// - CSV: the header row "system,kind," and the column keys, then a row per
//   system, an unknown count empty; names byte for byte, rows ending in CR LF.
// The content columns are there only for a table by DAT.
std::string systemSummaryOutput(const SystemSummary& summary, OutputFormat format, const SummaryPlace& place);

}  // namespace tokenade::cli
