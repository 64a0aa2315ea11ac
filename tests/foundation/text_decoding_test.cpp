#include "platform/foundation/text_decoding.h"

#include <gtest/gtest.h>

#include <string>

namespace tokenade {
namespace {

using namespace std::string_literals;

struct Decoding {
    std::string name;
    std::string bytes;
    std::string text;
};

class TextDecodingGood : public ::testing::TestWithParam<Decoding> {};

TEST_P(TextDecodingGood, DecodesToUtf8)
{
    const auto decoded = decodeText(GetParam().bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, TextDecodingGood,
    ::testing::Values(
        Decoding{"Empty", "", ""},
        Decoding{"PlainAscii", "alpha\nbeta", "alpha\nbeta"},
        Decoding{"Utf8WithoutMark", "caf\xC3\xA9", "caf\xC3\xA9"},
        Decoding{"Utf8MarkDropped", "\xEF\xBB\xBFz", "z"},
        Decoding{"Utf8MarkOnly", "\xEF\xBB\xBF", ""},
        Decoding{"Utf16LittleEndian", "\xFF\xFE" "a\0\xE9\0"s, "a\xC3\xA9"},
        Decoding{"Utf16BigEndian", "\xFE\xFF" "\0a\0\xE9"s, "a\xC3\xA9"},
        Decoding{"Utf16SurrogatePair", "\xFE\xFF" "\xD8\x3D\xDE\x00"s, "\xF0\x9F\x98\x80"},
        Decoding{"Utf32LittleEndian", "\xFF\xFE\0\0" "a\0\0\0\x00\xF6\x01\0"s, "a\xF0\x9F\x98\x80"},
        Decoding{"Utf32BigEndian", "\0\0\xFE\xFF" "\0\0\0a"s, "a"},
        Decoding{"FourByteUtf8", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"}),
    [](const auto& info) { return info.param.name; });

struct BadBytes {
    std::string name;
    std::string bytes;
};

class TextDecodingBad : public ::testing::TestWithParam<BadBytes> {};

TEST_P(TextDecodingBad, IsRejected)
{
    EXPECT_FALSE(decodeText(GetParam().bytes).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TextDecodingBad,
    ::testing::Values(
        BadBytes{"Latin1Byte", "caf\xE9"},
        BadBytes{"OverlongSlash", "\xC0\xAF"},
        BadBytes{"OverlongThreeBytes", "\xE0\x80\xAF"},
        BadBytes{"EncodedSurrogate", "\xED\xA0\x80"},
        BadBytes{"BeyondUnicode", "\xF4\x90\x80\x80"},
        BadBytes{"TruncatedSequence", "ab\xE2\x82"},
        BadBytes{"LoneContinuation", "\x80"},
        BadBytes{"BadUtf8AfterMark", "\xEF\xBB\xBF\xFF"},
        BadBytes{"Utf16OddLength", "\xFF\xFE" "a"s},
        BadBytes{"Utf16LoneHighSurrogate", "\xFE\xFF" "\xD8\x3D\0a"s},
        BadBytes{"Utf16LoneLowSurrogate", "\xFE\xFF" "\xDE\x00"s},
        BadBytes{"Utf16TruncatedPair", "\xFE\xFF" "\xD8\x3D"s},
        BadBytes{"Utf32NotMultipleOfFour", "\0\0\xFE\xFF" "\0\0a"s},
        BadBytes{"Utf32BeyondUnicode", "\0\0\xFE\xFF" "\0\x11\0\0"s},
        BadBytes{"Utf32Surrogate", "\0\0\xFE\xFF" "\0\0\xD8\0"s}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tokenade
