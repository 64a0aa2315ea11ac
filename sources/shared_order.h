#pragma once

#include "sources/keyed_names.h"
#include "sources/name_list.h"

#include <string_view>

namespace tokenade {

// The shared order of every name list: the last path components of the two
// names compared without regard to letter case (by their Unicode keys, code
// point by code point). Returns -1, 0 or +1. `context` is never read; it is
// there so that the function has the shape of a sort comparison.
int compareSringsCaseInsensitive(std::string_view first, std::string_view second, void* context = nullptr);

// Whole names compared the same case-insensitive way (no path component is
// taken): the comparison of the merges. Returns -1, 0 or +1.
int caseInsensitiveCompare(std::string_view first, std::string_view second);

// Sorts `names` in place. Names that compare alike are ordered by their own
// bytes, so the result never depends on the order the names came in. Each
// name's key is computed once.
void sortNames(NameList& names, SortBy by);

}  // namespace tokenade
