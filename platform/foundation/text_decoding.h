#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// Decodes the bytes of a text file into UTF-8. A byte-order mark decides the
// encoding and is dropped: UTF-8, UTF-32LE, UTF-32BE, UTF-16LE, UTF-16BE,
// checked in that order. Without a mark the bytes must be strict UTF-8 (no
// overlong forms, no surrogates). Returns nothing when the bytes do not decode;
// zero bytes decode to empty text.
std::optional<std::string> decodeText(std::string_view bytes);

// True when `text` is well-formed UTF-8 in the strict sense above.
bool isValidUtf8(std::string_view text);

// Appends the UTF-8 form of one code point; the caller guarantees it is a
// scalar value (not a surrogate, at most U+10FFFF).
void appendUtf8(std::string& out, char32_t codePoint);

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0 when
// the first byte does not start one.
size_t utf8SequenceLength(std::string_view text);

}  // namespace tokenade
