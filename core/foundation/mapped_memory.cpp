#include "mapped_memory.h"

#include <sys/mman.h>

#include <unistd.h>

#include <cstdint>
#include <new>

namespace tokenade {
namespace {

// Huge pages only for arrays that fill many of them: a part of a walk,
// a few megabytes half filled, would hold a whole huge page for little.
constexpr size_t kHugeAtLeast = 16 << 20;

uintptr_t pageSize()
{
    static const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

// `advice` for the whole units of `unit` bytes (a power of two) that lie
// within [memory, memory + bytes); none for a null or smaller stretch.
void adviseWhole(void* memory, size_t bytes, uintptr_t unit, int advice) noexcept
{
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(memory) + unit - 1) & ~(unit - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(unit - 1);
    if (memory != nullptr && begin < end)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, advice);
}

}  // namespace

void* allocateMapped(size_t bytes)
{
    if (bytes < kMappedAtLeast)
        return ::operator new(bytes);
    void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    if (bytes >= kHugeAtLeast)
        ::madvise(memory, bytes, MADV_HUGEPAGE);
    return memory;
}

void freeMapped(void* memory, size_t bytes) noexcept
{
    if (memory == nullptr)
        return;
    if (bytes < kMappedAtLeast)
        ::operator delete(memory);
    else
        ::munmap(memory, bytes);
}

void discardPages(void* memory, size_t bytes) noexcept
{
    adviseWhole(memory, bytes, pageSize(), MADV_DONTNEED);
}

void adviseHugePages(void* memory, size_t bytes) noexcept
{
    adviseWhole(memory, bytes, 2 << 20, MADV_HUGEPAGE);
}

void prefaultPages(void* memory, size_t bytes) noexcept
{
    adviseWhole(memory, bytes, pageSize(), MADV_POPULATE_WRITE);  // refused before Linux 5.14
}

char* discardPagesBefore(char* from, char* to) noexcept
{
    const uintptr_t end = reinterpret_cast<uintptr_t>(to) & ~(pageSize() - 1);
    if (end <= reinterpret_cast<uintptr_t>(from))
        return from;
    discardPages(from, end - reinterpret_cast<uintptr_t>(from));
    return reinterpret_cast<char*>(end);
}

}  // namespace tokenade
