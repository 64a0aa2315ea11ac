#pragma once

#include "core/foundation/atomic_write.h"
#include "core/results/audit_result.h"

#include <string>
#include <vector>

namespace tokenade {

// Writes one report file per category of `result` into `folder`: the
// category's file name, holding the report text of its names under its report
// header, in UTF-8 without byte-order mark, each file atomically. Every file
// is tried, in order, whatever happened to the others; the failures come back
// in that order (none: all written). A failed file keeps its former content
// or stays absent. Does not create `folder`.
std::vector<WriteError> saveReportFiles(const std::string& folder, const AuditResult& result);

}  // namespace tokenade
