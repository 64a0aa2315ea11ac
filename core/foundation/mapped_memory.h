#pragma once

#include <cstddef>

namespace tokenade {

// Memory for large arrays of records, taken from the system and given back
// to it whole when freed. The heap would keep a freed block of a few
// megabytes for later instead, once a block that large has been freed before,
// so the parts of a walk would stay resident beside the list they are joined
// into. Below kMappedAtLeast bytes it is ordinary heap memory; arrays of
// many megabytes get huge pages where the system offers them.
inline constexpr size_t kMappedAtLeast = 1 << 20;

// `bytes` of memory aligned for any record; throws std::bad_alloc as new does.
void* allocateMapped(size_t bytes);
// Frees what allocateMapped(bytes) gave.
void freeMapped(void* memory, size_t bytes) noexcept;
// Gives the whole pages within [memory, memory + bytes) back to the system
// while the memory stays allocated; they read as zeros afterwards. For heap
// or mapped memory whose contents were read for the last time: a large
// array copied from front to back then never doubles what is resident.
void discardPages(void* memory, size_t bytes) noexcept;

// Asks the system to back the whole huge pages within [memory, memory +
// bytes) with huge pages once they are first written, where it offers them
// on request. For a large array reserved and not yet filled: a page the
// system maps costs as much on some virtual machines as filling it many
// times over, and a huge page takes the place of 512. Pages already
// written stay as they are; small arrays are left alone.
void adviseHugePages(void* memory, size_t bytes) noexcept;

// Maps every whole page within [memory, memory + bytes) at once, as if each
// had been written, where the system can: one call instead of a fault a
// page, for memory about to be filled whole. The contents stay as they were.
void prefaultPages(void* memory, size_t bytes) noexcept;

// Reserves room for `count` elements in `array` and advises huge pages for
// it, for an array of many records about to be filled.
template <typename Array>
void reserveLarge(Array& array, size_t count)
{
    array.reserve(count);
    adviseHugePages(array.data(), array.capacity() * sizeof(*array.data()));
}

// Gives back the whole pages from `from` up to `to` and returns where the
// pages kept begin: the start of the page that holds `to`, or `from` when
// no page was whole. For records read once from front to back, given back
// a stretch at a time as the reading passes them.
char* discardPagesBefore(char* from, char* to) noexcept;

// The allocator of a std::vector whose storage is mapped memory.
template <typename T>
struct MappedAllocator {
    using value_type = T;

    MappedAllocator() = default;
    template <typename U>
    MappedAllocator(const MappedAllocator<U>&) noexcept
    {
    }
    T* allocate(size_t count) { return static_cast<T*>(allocateMapped(count * sizeof(T))); }
    void deallocate(T* memory, size_t count) noexcept { freeMapped(memory, count * sizeof(T)); }
    template <typename U>
    bool operator==(const MappedAllocator<U>&) const noexcept
    {
        return true;
    }
};

}  // namespace tokenade
