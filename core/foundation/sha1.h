#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tokenade {

// The SHA-1 of bytes given in pieces, as DATs give it for roms and disks:
// add() any number of times, then hex() once.
class Sha1 {
public:
    Sha1();
    void add(std::string_view bytes);
    // The 40 lowercase hex digits of the digest; the object is spent after.
    std::string hex();

private:
    void block(const unsigned char* bytes);

    std::array<uint32_t, 5> state_;
    std::array<unsigned char, 64> pending_{};
    size_t pendingSize_ = 0;
    uint64_t length_ = 0;
};

}  // namespace tokenade
