#pragma once

#include "cli/audit_output.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace tokenade::cli {

// The shown categories of an audit as CSV (RFC 4180): the header row
// "category,name,folder", then one row per name in result order (categories
// in display order, names in merge order): the category's key, the name, and
// the folder the file lies in below the Tokenade directory ("" for a missing
// name). Every row ends in CR LF. Names and folders are written byte for
// byte, so that a name that is not UTF-8 stays the file's own name (the JSON
// output has U+FFFD in its place instead); only the quoting of a field
// changes it. Written to `out` in pieces, so that the text of a million names
// is never built whole. Has no rows for counts, warnings or near misses.
void writeCsv(const AuditReport& report, std::FILE* out);

// Appends `field` to a row, in double quotes (each inner one doubled) when it
// holds a comma, a double quote, CR or LF, or begins or ends with a space.
void appendCsvField(std::string& row, std::string_view field);

}  // namespace tokenade::cli
