#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tokenade::cli {

// `text` as a terminal may be given it: each line as a report line shows a
// name (displayName), so that no name read from a disk, a DAT or a list can
// move the cursor, clear the screen, retitle the window or begin a line of
// its own; the line breaks themselves ("\n", "\r\n") are kept.
std::string terminalText(std::string_view text);

// Writes terminalText(text) to `out` (standard output when not given).
void printOut(std::string_view text, std::FILE* out = stdout);

// The same on standard error.
void printErr(std::string_view text);

}  // namespace tokenade::cli
