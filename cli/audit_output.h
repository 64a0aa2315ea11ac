#pragma once

#include "core/results/audit_result.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade::cli {

// One audit as the command line reports it.
struct AuditReport {
    const AuditResult& result;
    std::string directory;
    std::optional<std::string> listPath;  // the list used; absent when none was found
    bool summary = false;                 // counts and warnings only, no names
    std::vector<CategoryId> only;         // the categories asked for; empty: every one
};

// The categories the command line shows: those asked for, and never the
// extra videos of a video audit that did not expect the videos of the
// archives present only.
bool isShown(const AuditReport& report, const ResultCategory& category);

// The categories of --only, or why the list cannot be used.
struct CategoryChoice {
    std::vector<CategoryId> ids;  // in the order named, each once
    std::string problem;          // "" when the list is good
};

// Reads a comma-separated list of category keys ("valid,missing"). Every item
// must be the key of a category that the audit reports: "extra" only for a
// video audit that expects the videos of the archives present. Keys are
// matched exactly (no letter case folding, no spaces trimmed), and an empty
// item is bad, so that a typo never passes as "show nothing". A key named
// twice is kept once. Does not decide the order of the output: that stays
// the result's.
CategoryChoice parseCategoryList(std::string_view list, AuditKind kind, bool availableOnly);

// One line per shown category with its count, then, unless a summary is asked
// for, each category's text as the window shows it, with LF line ends;
// written to `out` in pieces.
void writeHumanText(const AuditReport& report, std::FILE* out);

// One JSON object: audit, dir, list, available_only, warnings (kind, count,
// examples, message), the names of every shown category in result order, and the
// folders of the found files (valid, unknown, extra), parallel to their
// names; a summary has the counts instead of names and folders.
std::string jsonText(const AuditReport& report);

// "tokenade-audit: warning: ..." lines, one per warning, with its examples.
std::string warningLines(const AuditResult& result);

}  // namespace tokenade::cli
