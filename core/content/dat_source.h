#pragma once

#include <string>
#include <string_view>

namespace tokenade {

// The bytes of a DAT, a chunk at a time, from an open file or from memory,
// so that a reader never holds more than one chunk of a large file.
class DatSource {
public:
    explicit DatSource(int fd) : fd_(fd) {}
    explicit DatSource(std::string_view memory) : memory_(memory) {}

    // The next bytes, valid until the next call; empty at the end, or after
    // a failed read (error() then says why).
    std::string_view next();
    int error() const { return error_; }

private:
    int fd_ = -1;
    std::string_view memory_;
    size_t memoryAt_ = 0;
    std::string buffer_;
    int error_ = 0;
};

}  // namespace tokenade
