#include "core/foundation/text_decoding.h"

#include <gtest/gtest.h>

#include <string>

namespace tokenade {
namespace {

using namespace std::string_literals;

struct Decoding {
    std::string bytes;
    std::string text;  // what comes out; for bytes that do not decode, "ENCODING@OFFSET"
};

class TextDecoding : public ::testing::TestWithParam<Decoding> {};

TEST_P(TextDecoding, DecodesToUtf8OrSaysWhereItFails)
{
    DecodeError error;
    const auto decoded = decodeText(GetParam().bytes, &error);
    const std::string outcome = decoded ? *decoded : std::string(error.encoding) + "@" + std::to_string(error.offset);
    EXPECT_EQ(outcome, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, TextDecoding,
    ::testing::Values(
        Decoding{"", ""},
        Decoding{"Pok\xC3\xA9mon\n\xE0\xB8\x97\xE0\xB8\xA2", "Pok\xC3\xA9mon\n\xE0\xB8\x97\xE0\xB8\xA2"},    // Thai
        Decoding{"\xEF\xBB\xBFz", "z"},                                          // UTF-8 mark dropped
        Decoding{"\xFF\xFE" "a\0\xE9\0"s, "a\xC3\xA9"},                          // UTF-16LE
        Decoding{"\xFE\xFF" "\xD8\x3D\xDE\x00"s, "\xF0\x9F\x98\x80"},            // UTF-16BE surrogate pair
        Decoding{"\xFF\xFE\0\0" "a\0\0\0\x00\xF6\x01\0"s, "a\xF0\x9F\x98\x80"},  // UTF-32LE
        Decoding{"\0\0\xFE\xFF" "\0\0\0a"s, "a"},                                // UTF-32BE
        Decoding{"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},                        // the last code point
        Decoding{"Caf\xE9", "UTF-8@3"},                                          // Latin-1
        Decoding{"ab\xC0\xAF", "UTF-8@2"},                                       // overlong
        Decoding{"\xED\xA0\x80", "UTF-8@0"},                                     // an encoded surrogate
        Decoding{"\xF4\x90\x80\x80", "UTF-8@0"},                                 // beyond Unicode
        Decoding{"abcdefgh\xE2\x82", "UTF-8@8"},                                 // cut short after a long ASCII run
        Decoding{"\xEF\xBB\xBF" "ab\xFF"s, "UTF-8@5"},
        Decoding{"\xFF\xFE" "a\0b"s, "UTF-16@4"},                                // odd length
        Decoding{"\xFE\xFF" "\0a\xD8\x3D\0a"s, "UTF-16@4"},                      // lone high surrogate
        Decoding{"\xFE\xFF" "\xDE\x00"s, "UTF-16@2"},                            // lone low surrogate
        Decoding{"\xFE\xFF" "\xD8\x3D"s, "UTF-16@2"},                            // pair cut short
        Decoding{"\0\0\xFE\xFF" "\0\0a"s, "UTF-32@4"},
        Decoding{"\0\0\xFE\xFF" "\0\0\0a\0\x11\0\0"s, "UTF-32@8"},               // beyond Unicode
        Decoding{"\0\0\xFE\xFF" "\0\0\xD8\0"s, "UTF-32@4"}));                    // a surrogate

}  // namespace
}  // namespace tokenade
