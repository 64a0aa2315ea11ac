#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace tokenade {

// The bytes of many names in a few large blocks. A stored name never moves,
// so views of it stay valid for as long as the arena lives, also after the
// arena itself is moved. A million names cost a hundred allocations, not a
// million. Not thread-safe: each walking thread fills an arena of its own.
class NameArena {
public:
    NameArena() = default;
    NameArena(NameArena&&) noexcept = default;
    NameArena& operator=(NameArena&&) noexcept = default;

    // Room for `size` bytes that stay together; the caller fills them.
    char* allocate(size_t size);

    // A stored copy of `bytes`.
    std::string_view store(std::string_view bytes);

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;  // the unused end of the last block
    size_t left_ = 0;
};

}  // namespace tokenade
