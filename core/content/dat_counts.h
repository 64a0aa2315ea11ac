#pragma once

#include <cstdint>
#include <string>

namespace tokenade {

// Why the DAT of `bytes` bytes open as `fd` cannot be within the game and
// rom limits, or "": the words that begin a game or a rom in either form
// ("<rom", "rom (", "<machine", "game (" ...) are counted in one quick pass,
// so that a DAT far past a limit is refused in seconds instead of after
// building most of its index. A count is an upper bound (a comment may hold
// such a word too), so only a DAT past a limit by it is refused; the exact
// counts are checked as it is read. Small DATs, which cannot pass a limit,
// are not read at all. Reads with pread: the file offset does not move.
std::string whyPastTheDatLimits(int fd, uint64_t bytes);

}  // namespace tokenade
