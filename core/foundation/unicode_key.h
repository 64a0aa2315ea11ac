#pragma once

#include "ascii.h"

#include <string>
#include <string_view>

namespace tokenade {

// The key under which names are compared without regard to letter case:
// NFD(full case folding(NFD(name))), in UTF-8. Two names compare alike exactly
// when their keys are equal, and comparing keys byte by byte orders them by
// code point. Bytes that are not UTF-8 count as U+FFFD. The result is new;
// nothing is cached.
std::string unicodeKey(std::string_view utf8);

// Writes the key into `key`, reusing its storage.
void unicodeKeyInto(std::string_view utf8, std::string& key);

}  // namespace tokenade
