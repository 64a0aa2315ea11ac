#include "core/foundation/ascii.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tokenade {
namespace {

// Eight bytes lowered at once must agree with one byte at a time for every
// ASCII byte in every place of the word, the bytes next to 'A' and 'Z' above all.
TEST(Ascii, WordLoweredAsEachOfItsBytes)
{
    for (int c = 0; c < 0x80; ++c) {
        for (int place = 0; place < 8; ++place) {
            char bytes[9] = "@AZ[`az{";
            bytes[place] = static_cast<char>(c);
            uint64_t word;
            std::memcpy(&word, bytes, 8);
            word = asciiLowerWord(word);
            char lowered[8];
            std::memcpy(lowered, &word, 8);
            for (int i = 0; i < 8; ++i)
                ASSERT_EQ(lowered[i], asciiLower(bytes[i])) << "byte " << c << " at " << place;
        }
    }
}

TEST(Ascii, PrefixEndsAtTheFirstByteFromEightyOn)
{
    for (size_t length : {0, 1, 7, 8, 9, 16, 23}) {
        for (size_t high = 0; high <= length; ++high) {
            std::string text(length, 'a');
            if (high < length)
                text[high] = '\x80';
            EXPECT_EQ(asciiPrefixLength(text), high) << length << " bytes, high at " << high;
            EXPECT_EQ(isAscii(text), high == length);
        }
    }
}

}  // namespace
}  // namespace tokenade
