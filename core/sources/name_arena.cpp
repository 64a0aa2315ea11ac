#include "name_arena.h"

#include "core/foundation/mapped_memory.h"

#include <cstring>

namespace tokenade {
namespace {

constexpr size_t kBlockSize = 256 * 1024;

}  // namespace

char* NameArena::allocate(size_t size)
{
    if (size > kBlockSize / 4) {
        // A long list line gets a block of its own rather than wasting the rest of one.
        blocks_.emplace_back(new char[size]);
        return blocks_.back().get();
    }
    if (size > left_) {
        blocks_.emplace_back(new char[kBlockSize]);
        // A block is filled whole, but for the last of a list.
        prefaultPages(blocks_.back().get(), kBlockSize);
        free_ = blocks_.back().get();
        left_ = kBlockSize;
    }
    char* start = free_;
    free_ += size;
    left_ -= size;
    return start;
}

std::string_view NameArena::store(std::string_view bytes)
{
    char* copy = allocate(bytes.size());
    if (!bytes.empty())
        std::memcpy(copy, bytes.data(), bytes.size());
    return std::string_view(copy, bytes.size());
}

}  // namespace tokenade
