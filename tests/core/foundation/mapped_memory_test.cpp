#include "core/foundation/mapped_memory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tokenade {
namespace {

// Only whole pages inside the range go, and they read as zeros; a byte
// just outside it, on a page the range shares, is someone else's and stays.
TEST(MappedMemory, OnlyWholePagesWithinTheRangeAreGivenBack)
{
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    std::unique_ptr<char, decltype(&std::free)> memory(static_cast<char*>(std::aligned_alloc(page, 4 * page)),
                                                       &std::free);
    char* bytes = memory.get();
    std::memset(bytes, 1, 4 * page);
    discardPages(bytes + 1, 2 * page);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[page], 0);
    EXPECT_EQ(bytes[2 * page], 1);

    std::memset(bytes, 1, 4 * page);
    EXPECT_EQ(discardPagesBefore(bytes + 1, bytes + page + 1), bytes + page);  // no page was whole
    EXPECT_EQ(bytes[1], 1);
    EXPECT_EQ(discardPagesBefore(bytes + page, bytes + 3 * page - 1), bytes + 2 * page);
    EXPECT_EQ(bytes[page], 0);
    EXPECT_EQ(bytes[2 * page], 1);

    // Prefaulting maps pages; it never clears what they hold.
    std::memset(bytes, 1, 4 * page);
    prefaultPages(bytes + 1, 3 * page);
    EXPECT_EQ(std::count(bytes, bytes + 4 * page, 1), static_cast<ptrdiff_t>(4 * page));
}

}  // namespace
}  // namespace tokenade
