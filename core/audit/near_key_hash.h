#pragma once

#include <cstdint>
#include <string_view>

namespace tokenade {

// A 64-bit hash of a near key, for pairing names by near key without
// building each key: always equal to hashOfNearKey(nearKey(name, extension)).
// It allocates nothing for names up to 340 bytes and reads ASCII eight bytes
// at a time; a name with a character that only a whole-name normalization
// gets right (rare: a few combining marks, less common scripts) or a longer
// name takes the slower way through nearKey. Equal near keys give equal
// hashes; unequal ones may collide, so a pairing confirms with nearKey. Not
// meant to be stored: the hash may change with the program.
uint64_t nearKeyHash(std::string_view name, std::string_view extension);

// The fixed hash of a near key's bytes (any bytes), the same on every machine.
uint64_t hashOfNearKey(std::string_view nearKey);

}  // namespace tokenade
