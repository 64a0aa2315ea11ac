#pragma once

#include "sources/keyed_names.h"

#include <span>
#include <string_view>

namespace tokenade {

// The expected names of list lines: each line with its last extension
// replaced by `extension` (given without the period), appended where there
// is none, so that "alpha", "alpha.7z" and "alpha.ZIP" all become
// "alpha.zip" and "Dr. Mario" becomes "Dr.zip". A name's origin is its line's
// index. The names stay in the order of the lines; they are NOT sorted.
KeyedNames setExtension(std::string_view extension, std::span<const std::string_view> lines);

// The same for names that carry a key already (found archives that stand for
// the videos they should have): origins are kept, and a key is derived from
// the old one rather than computed again wherever that gives the same key.
KeyedNames setExtension(std::string_view extension, const KeyedNames& names);

}  // namespace tokenade
