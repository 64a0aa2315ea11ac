#include "text_decoding.h"

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

std::optional<std::string> decodeUtf32(std::string_view bytes, bool littleEndian)
{
    if (bytes.size() % 4 != 0)
        return std::nullopt;
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); i += 4) {
        const uint32_t c = littleEndian
            ? byteAt(bytes, i) | byteAt(bytes, i + 1) << 8 | byteAt(bytes, i + 2) << 16 | byteAt(bytes, i + 3) << 24
            : byteAt(bytes, i + 3) | byteAt(bytes, i + 2) << 8 | byteAt(bytes, i + 1) << 16 | byteAt(bytes, i) << 24;
        if (!isScalarValue(c))
            return std::nullopt;
        appendUtf8(text, c);
    }
    return text;
}

std::optional<std::string> decodeUtf16(std::string_view bytes, bool littleEndian)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    auto unitAt = [&](size_t i) {
        return littleEndian ? byteAt(bytes, i) | byteAt(bytes, i + 1) << 8
                            : byteAt(bytes, i + 1) | byteAt(bytes, i) << 8;
    };
    std::string text;
    text.reserve(bytes.size() * 3 / 2);
    for (size_t i = 0; i < bytes.size(); i += 2) {
        uint32_t c = unitAt(i);
        if (c >= 0xDC00 && c <= 0xDFFF)
            return std::nullopt;  // a low surrogate without its high one
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 2 >= bytes.size())
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

bool isValidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        // ASCII runs are most of any list: skip them eight bytes at a time.
        while (i + 8 <= text.size()) {
            uint64_t block;
            std::memcpy(&block, text.data() + i, 8);
            if (block & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i == text.size())
            break;
        const size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::optional<std::string> decodeText(std::string_view bytes)
{
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        if (!isValidUtf8(bytes))
            return std::nullopt;
        return std::string(bytes);
    }
    if (startsWith(bytes, std::string_view("\xFF\xFE\x00\x00", 4)))
        return decodeUtf32(bytes.substr(4), true);
    if (startsWith(bytes, std::string_view("\x00\x00\xFE\xFF", 4)))
        return decodeUtf32(bytes.substr(4), false);
    if (startsWith(bytes, "\xFF\xFE"))
        return decodeUtf16(bytes.substr(2), true);
    if (startsWith(bytes, "\xFE\xFF"))
        return decodeUtf16(bytes.substr(2), false);
    if (!isValidUtf8(bytes))
        return std::nullopt;
    return std::string(bytes);
}

}  // namespace tokenade
