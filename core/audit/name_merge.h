#pragma once

#include "core/results/audit_result.h"
#include "core/sources/keyed_names.h"

namespace tokenade {

// Where each name of a merge went. The entries view the names' bytes in the
// merged lists' arenas, which must outlive them.
struct MergedNames {
    ResultList valid;    // expected names that were found: the expected spelling, the found file's folder
    ResultList missing;  // expected names that were not found (no folder)
    ResultList extra;    // found-only names that are supported (only with a membership list)
    ResultList unknown;  // found-only names that are not
    // Unknown names of a run of names alike that also gave a valid one, by
    // their places: (in `unknown`, in `valid`). A second spelling of a game
    // that is there.
    std::vector<std::pair<size_t, size_t>> copies;
};

// Walks `found` and `expected`, both sorted (KeyedNames::sort), in one pass.
// A name of both lists is valid; a found-only name is unknown; an
// expected-only name is missing. With a `supported` list (sorted too), a
// found-only name that it holds is extra instead, and an expected-only name
// that it does not hold goes into no list.
// Where several names on each side share a key, names spelled exactly alike
// (the same bytes) pair first, the others in plain string order, so that a
// correctly named file is never the one left over; each result list gets its
// names of such a run in plain string order. A found name's origin is its
// folder. A large merge runs on up to `threads` threads; the result is the same.
MergedNames mergeNames(const KeyedNames& found, const KeyedNames& expected, const KeyedNames* supported = nullptr,
                       unsigned threads = 2);

// The same, for a caller that keeps nothing of `found` but its arenas: the
// pages of its records are given back as the merge passes them, so that the
// results never stand beside all of them, and `found` is left with its
// arenas and no names.
MergedNames mergeUsingUpFound(KeyedNames& found, const KeyedNames& expected, const KeyedNames* supported = nullptr,
                              unsigned threads = 2);

}  // namespace tokenade
