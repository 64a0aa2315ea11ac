#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// Where bytes stopped decoding: the encoding they were read as ("UTF-8",
// "UTF-16" or "UTF-32") and the offset of the first byte that does not fit,
// counted from the start of the bytes, byte-order mark included.
struct DecodeError {
    std::string_view encoding;
    size_t offset = 0;
};

// Decodes the bytes of a text file into UTF-8. A byte-order mark decides the
// encoding and is dropped: UTF-8, UTF-32LE, UTF-32BE, UTF-16LE, UTF-16BE,
// checked in that order. Without a mark the bytes must be strict UTF-8 (no
// overlong forms, no surrogates). Returns nothing when the bytes do not
// decode, and then says where in `error` when it is given; zero bytes decode
// to empty text.
std::optional<std::string> decodeText(std::string_view bytes, DecodeError* error = nullptr);

// True when `text` is well-formed UTF-8 in the strict sense above.
bool isValidUtf8(std::string_view text);

// The offset of the first byte of `text` that is not well-formed UTF-8, or
// std::string_view::npos when there is none.
size_t firstInvalidUtf8(std::string_view text);

// Appends the UTF-8 form of one code point; the caller guarantees it is a
// scalar value (not a surrogate, at most U+10FFFF).
void appendUtf8(std::string& out, char32_t codePoint);

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0 when
// the first byte does not start one.
size_t utf8SequenceLength(std::string_view text);

}  // namespace tokenade
