#pragma once

#include "core/content/dat_index.h"
#include "core/content/list_match.h"
#include "core/foundation/atomic_write.h"

#include <optional>
#include <string>
#include <vector>

namespace tokenade {

// A Logiqx XML DAT (a "fixdat") of the games of the lines marked in
// `missingLines`, each game once, in list order, with its description,
// cloneof and romof and every rom it has (name, size, CRC and SHA-1 as the
// DAT gave them, "nodump" kept), so that another tool can gather them.
// Text is escaped for XML; bytes that are not UTF-8 become U+FFFD.
// Adds the number of games written to `games` when it is given.
std::string fixdatText(const DatIndex& dat, const GameLines& lines, const std::vector<bool>& missingLines,
                       size_t* games = nullptr);

// Writes it to `path` atomically; how many games it holds goes to `games`.
std::optional<WriteError> writeFixdat(const std::string& path, const DatIndex& dat, const GameLines& lines,
                                      const std::vector<bool>& missingLines, size_t* games = nullptr);

}  // namespace tokenade
