#include "text_decoding.h"

#include "ascii.h"

#include <cstdint>
#include <cstring>

namespace tokenade {
namespace {

bool isScalarValue(uint32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

bool startsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

uint32_t byteAt(std::string_view bytes, size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}

// The decoders take the bytes after the mark and count offsets from there;
// `failedAt` is set to the offset of the unit that does not decode.
std::optional<std::string> decodeUtf32(std::string_view bytes, bool littleEndian, size_t& failedAt)
{
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); i += 4) {
        if (bytes.size() - i < 4) {
            failedAt = i;  // a unit cut short at the end
            return std::nullopt;
        }
        const uint32_t c = littleEndian
            ? byteAt(bytes, i) | byteAt(bytes, i + 1) << 8 | byteAt(bytes, i + 2) << 16 | byteAt(bytes, i + 3) << 24
            : byteAt(bytes, i + 3) | byteAt(bytes, i + 2) << 8 | byteAt(bytes, i + 1) << 16 | byteAt(bytes, i) << 24;
        if (!isScalarValue(c)) {
            failedAt = i;
            return std::nullopt;
        }
        appendUtf8(text, c);
    }
    return text;
}

std::optional<std::string> decodeUtf16(std::string_view bytes, bool littleEndian, size_t& failedAt)
{
    auto unitAt = [&](size_t i) {
        return littleEndian ? byteAt(bytes, i) | byteAt(bytes, i + 1) << 8
                            : byteAt(bytes, i + 1) | byteAt(bytes, i) << 8;
    };
    std::string text;
    text.reserve(bytes.size() * 3 / 2);
    for (size_t i = 0; i < bytes.size(); i += 2) {
        failedAt = i;
        if (bytes.size() - i < 2)
            return std::nullopt;  // a unit cut short at the end
        uint32_t c = unitAt(i);
        if (c >= 0xDC00 && c <= 0xDFFF)
            return std::nullopt;  // a low surrogate without its high one
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (bytes.size() - i < 4)
                return std::nullopt;
            const uint32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        appendUtf8(text, c);
    }
    return text;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

size_t utf8SequenceLength(std::string_view text)
{
    if (text.empty())
        return 0;
    const uint32_t lead = byteAt(text, 0);
    if (lead < 0x80)
        return 1;
    size_t length;
    uint32_t c;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const uint32_t next = byteAt(text, i);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = c << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || !isScalarValue(c))
        return 0;
    return length;
}

size_t firstInvalidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        // ASCII runs are most of any list: skip them eight bytes at a time.
        i += asciiPrefixLength(text.substr(i));
        if (i == text.size())
            break;
        const size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0)
            return i;
        i += length;
    }
    return std::string_view::npos;
}

bool isValidUtf8(std::string_view text)
{
    return firstInvalidUtf8(text) == std::string_view::npos;
}

namespace {

struct Mark {
    std::string_view bytes;
    std::string_view encoding;
    int unitSize;  // 1: UTF-8, 2: UTF-16, 4: UTF-32
    bool littleEndian;
};

// Longest first where one mark begins another (UTF-32LE begins like UTF-16LE).
constexpr Mark kMarks[] = {
    {std::string_view("\xEF\xBB\xBF", 3), "UTF-8", 1, false},
    {std::string_view("\xFF\xFE\x00\x00", 4), "UTF-32", 4, true},
    {std::string_view("\x00\x00\xFE\xFF", 4), "UTF-32", 4, false},
    {std::string_view("\xFF\xFE", 2), "UTF-16", 2, true},
    {std::string_view("\xFE\xFF", 2), "UTF-16", 2, false},
};

std::optional<std::string> decodeUtf8(std::string_view bytes, size_t& failedAt)
{
    failedAt = firstInvalidUtf8(bytes);
    if (failedAt != std::string_view::npos)
        return std::nullopt;
    return std::string(bytes);
}

}  // namespace

std::optional<std::string> decodeText(std::string_view bytes, DecodeError* error)
{
    Mark chosen{{}, "UTF-8", 1, false};
    for (const Mark& mark : kMarks) {
        if (startsWith(bytes, mark.bytes)) {
            chosen = mark;
            break;
        }
    }
    const std::string_view body = bytes.substr(chosen.bytes.size());
    size_t failedAt = 0;
    std::optional<std::string> text = chosen.unitSize == 1 ? decodeUtf8(body, failedAt)
                                    : chosen.unitSize == 2 ? decodeUtf16(body, chosen.littleEndian, failedAt)
                                                           : decodeUtf32(body, chosen.littleEndian, failedAt);
    if (!text && error)
        *error = DecodeError{chosen.encoding, chosen.bytes.size() + failedAt};
    return text;
}

}  // namespace tokenade
