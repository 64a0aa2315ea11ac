#pragma once

#include "core/results/audit_result.h"

#include <functional>
#include <string>
#include <string_view>

namespace tokenade {

// Takes a report text piece by piece, in order.
using TextSink = std::function<void(std::string_view piece)>;

// The text of one result list under one header format: "%lu" in the format
// takes the count, "%@" the names joined by CR LF, with no line break after
// the last name. With another `lineBreak`, every CR LF of the header and
// between names is that instead. Names are never read as format text. A byte
// sequence that is not UTF-8, and any control character that could break or
// merge lines (all but TAB), is written as U+FFFD, so that every name stays on
// one line. The text goes to `sink` in pieces of about a megabyte, so that a
// million names never stand in memory twice.
void writeReportText(std::string_view headerFormat, const ResultList& entries, std::string_view lineBreak,
                     const TextSink& sink);

// The same text as one string.
std::string reportText(std::string_view headerFormat, const ResultList& entries, std::string_view lineBreak = "\r\n");

// The part of the text before the names, for `count` names.
std::string reportHeader(std::string_view headerFormat, size_t count, std::string_view lineBreak = "\r\n");

// The name as a report line shows it (see writeReportText).
std::string displayName(std::string_view name);

}  // namespace tokenade
