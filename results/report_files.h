#pragma once

#include "platform/foundation/atomic_write.h"
#include "results/categories.h"
#include "sources/name_list.h"

#include <span>
#include <string>
#include <vector>

namespace tokenade {

// Writes one report file per category into `folder`: the category's file
// name, holding reportText of its file header and of lists[i], in UTF-8
// without byte-order mark, each file atomically. Every file is tried, in
// order, whatever happened to the others; the failures come back in that
// order (none: all written). A failed file keeps its former content or
// stays absent. Does not create `folder`.
std::vector<WriteError> saveReportFiles(const std::string& folder, std::span<const Category> categories,
                                        std::span<const NameList* const> lists);

}  // namespace tokenade
