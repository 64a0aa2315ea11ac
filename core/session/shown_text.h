#pragma once

#include "core/results/categories.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tokenade {

// The window's own wording of texts the core makes; the report files and the
// command line keep theirs.

// The header a result view shows above `count` names of a category, "\n"
// between its lines: the window's header format with the count, and for one
// name the noun it counts in the singular ("Found 1 missing video:", "Found 1
// video for missing roms:").
std::string shownHeader(const CategoryFacts& facts, size_t count);

// A warning's example ("\"Star Fox \" -> \"Star Fox .zip\"") with the spaces
// that the eye would miss made visible inside each quoted name: those at
// either end, those beside another space or just before the extension, each
// as "␠", and every tab as "⇥". Text outside the quotes stays as it is.
std::string withVisibleSpaces(std::string_view example);

}  // namespace tokenade
