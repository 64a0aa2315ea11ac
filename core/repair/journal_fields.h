#pragma once

#include "core/foundation/file_identity.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// The fields of a journal line. Text fields are written so that any name
// survives and the journal stays UTF-8 text: "\\" stands for a backslash,
// "\t" for a tab, "\n" for a line feed, "\r" for a carriage return, and
// "\xHH" (two lowercase hex digits) for any other byte below 0x20, for 0x7F
// and for each byte that is not part of well-formed UTF-8; every other byte
// stands for itself.
void appendEscaped(std::string& out, std::string_view field);
// False when `field` holds a backslash that stands for nothing.
bool unescape(std::string_view field, std::string& out);

// Seconds "." nanoseconds (nine digits), e.g. "1733480000.123456789".
void appendModified(std::string& out, const FileIdentity& identity);
bool parseModified(std::string_view text, FileIdentity& identity);

// A line cut at its tabs.
std::vector<std::string_view> fieldsOf(std::string_view line);

// A whole decimal number, nothing before or after it.
template <typename Number>
bool parseNumber(std::string_view text, Number& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace tokenade
