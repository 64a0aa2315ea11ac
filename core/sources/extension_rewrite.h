#pragma once

#include "core/sources/keyed_names.h"

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
// the videos they should have), rewritten in place (KeyedNames::replaceExtensions):
// origins are kept, and the order is not restored.
KeyedNames setExtension(std::string_view extension, KeyedNames&& names);

}  // namespace tokenade
