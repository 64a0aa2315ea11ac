#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace tokenade {

// The bytes of many names in a few large blocks. A stored name never moves,
// so views of it stay valid for as long as the arena lives, also after the
// arena itself is moved. A million names cost a hundred allocations, not a
// million. Not thread-safe: each walking thread fills an arena of its own.
class NameArena {
public:
    NameArena() = default;
    // A moved-from arena is empty: its free room went with its blocks.
    NameArena(NameArena&& other) noexcept
        : blocks_(std::move(other.blocks_))
        , free_(std::exchange(other.free_, nullptr))
        , left_(std::exchange(other.left_, 0))
    {
    }
    NameArena& operator=(NameArena&& other) noexcept
    {
        blocks_ = std::move(other.blocks_);
        free_ = std::exchange(other.free_, nullptr);
        left_ = std::exchange(other.left_, 0);
        return *this;
    }

    // Room for `size` bytes that stay together; the caller fills them.
    char* allocate(size_t size);

    // A stored copy of `bytes`.
    std::string_view store(std::string_view bytes);

    // Takes the blocks of `other`, so that what was stored there lives as
    // long as this arena; `other` is left empty.
    void adopt(NameArena&& other)
    {
        for (auto& block : other.blocks_)
            blocks_.push_back(std::move(block));
        other = NameArena();
    }

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;  // the unused end of the last block
    size_t left_ = 0;
};

}  // namespace tokenade
