#pragma once

#include "core/content/dat_index.h"
#include "core/content/list_match.h"
#include "core/foundation/atomic_write.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// One game of a fixdat: the DAT's game and the roms and disks (into the
// DAT's) it is written with.
struct FixdatGame {
    uint32_t game = 0;
    std::vector<uint32_t> roms;
    std::vector<uint32_t> disks;
};

// The games of the lines marked in `missingLines`, each game once, in list
// order, with every rom it has.
std::vector<FixdatGame> missingGamesOf(const DatIndex& dat, const GameLines& lines,
                                       const std::vector<bool>& missingLines);

// A Logiqx XML DAT (a "fixdat") of `games`, in their order, each with its
// description, cloneof, romof, isbios and isdevice, its roms (name, size,
// CRC and SHA-1 as the DAT gave them, "nodump" kept) and disks (name and
// SHA-1), so that another tool can gather them. `description` is the
// header's; its name is "fixdat of " the DAT's name (of several DATs read as
// one, the name of the DAT of the first game). Text is escaped for XML; bytes that are not UTF-8 become U+FFFD.
std::string fixdatText(const DatIndex& dat, std::span<const FixdatGame> games,
                       std::string_view description = "The games of the list that are missing");

// Writes it to `path` atomically.
std::optional<WriteError> writeFixdat(const std::string& path, const DatIndex& dat, std::span<const FixdatGame> games,
                                      std::string_view description = "The games of the list that are missing");

}  // namespace tokenade
