#pragma once

#include "core/results/audit_result.h"

#include <span>
#include <string_view>

namespace tokenade {

// The entries of `entries` (in the order of their keys, as a merge leaves
// them) whose key (unicodeKey) is that of `name`; empty when there is none.
std::span<const ResultEntry> entriesLike(const ResultList& entries, std::string_view name);

// Of those, the one spelled exactly as `name` when there is one, else the
// first; null when there is none.
const ResultEntry* entryLike(const ResultList& entries, std::string_view name);

}  // namespace tokenade
