#include "core/foundation/byte_size.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

// A copy of 1.6 GB once read "1573.9 MB"; a number never runs past three digits.
TEST(ByteSize, TakesTheUnitThatSuitsTheSize)
{
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "0 bytes"},          {1, "1 byte"},         {999, "999 bytes"},          {1000, "1.0 KB"},
        {999'960, "1.0 MB"},     {3'141'592, "3.1 MB"}, {512'000'000, "512 MB"}, {1'573'900'000, "1.6 GB"},
        {76'900'000'000, "76.9 GB"}, {UINT64_MAX, "18447 PB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(byteSize(bytes), text) << bytes;
}

}  // namespace
}  // namespace tokenade
