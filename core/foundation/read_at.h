#pragma once

#include <cstddef>
#include <cstdint>

namespace tokenade {

// Reads `count` bytes of `fd` at `offset` into `into`, reading on where a
// signal or the kernel cut a read short. Returns how many it read: all of
// them, or fewer where the file ends (errno 0) or a read fails (errno says why).
size_t readAt(int fd, uint64_t offset, char* into, size_t count);

}  // namespace tokenade
