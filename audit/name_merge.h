#pragma once

#include "sources/keyed_names.h"
#include "sources/name_list.h"

namespace tokenade {

// Where each name of a merge went.
struct MergedNames {
    NameList valid;    // expected names that were found (the expected list's spelling)
    NameList missing;  // expected names that were not found
    NameList extra;    // found-only names that are supported (only with a membership list)
    NameList unknown;  // found-only names that are not
};

// Walks `found` and `expected` in one pass. Both must be sorted by their
// whole-name keys (KeyedNames::sort with SortBy::WholeName). A name of both
// lists is valid; a found-only name is unknown; an expected-only name is
// missing. With a `supported` list (same order), a found-only name that it
// holds is extra instead, and an expected-only name that it does not hold
// goes into no list. Each result keeps merge order. The names are moved out
// of `found` and `expected`. A large merge runs on two threads when
// `threads` allows it; the result is the same.
MergedNames mergeNames(KeyedNames& found, KeyedNames& expected, const KeyedNames* supported = nullptr,
                       unsigned threads = 2);

// The same for plain lists sorted in the whole-name order; keys are computed here.
MergedNames mergeNames(const NameList& found, const NameList& expected, const NameList* supported = nullptr);

}  // namespace tokenade
