#pragma once

#include "core/results/audit_result.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tokenade::cli {

// One audit as the command line reports it.
struct AuditReport {
    const AuditResult& result;
    std::string directory;
    std::optional<std::string> listPath;  // the list used; absent when none was found
    bool summary = false;                 // counts and warnings only, no names
};

// The categories the command line shows: all but the extra videos of a video
// audit that did not expect the videos of the archives present only.
bool isShown(const AuditResult& result, const ResultCategory& category);

// One line per category with its count, then, unless a summary is asked
// for, each category's text as the window shows it, with LF line ends;
// written to `out` in pieces.
void writeHumanText(const AuditReport& report, std::FILE* out);

// One JSON object: audit, dir, list, available_only, warnings (kind, count,
// examples, message), the names of every category in result order, and the
// folders of the found files (valid, unknown, extra), parallel to their
// names; a summary has the counts instead of names and folders.
std::string jsonText(const AuditReport& report);

// "tokenade-audit: warning: ..." lines, one per warning, with its examples.
std::string warningLines(const AuditResult& result);

}  // namespace tokenade::cli
