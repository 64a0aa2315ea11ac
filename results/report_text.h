#pragma once

#include "sources/name_list.h"

#include <string>
#include <string_view>

namespace tokenade {

// The text of one result list under one header format: "%lu" in the format
// takes the count, "%@" the names joined by CR LF, with no line break after
// the last name. With another `lineBreak`, every CR LF of the header and
// between names is that instead. Names are never read as format text. A byte sequence that is
// not UTF-8, and any control character that could break or merge lines (all
// but TAB), is written as U+FFFD, so that every name stays on one line.
std::string reportText(std::string_view headerFormat, const NameList& names, std::string_view lineBreak = "\r\n");

// The name as a report line shows it (see reportText).
std::string displayName(std::string_view name);

}  // namespace tokenade
