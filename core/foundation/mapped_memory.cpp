#include "mapped_memory.h"

#include <sys/mman.h>

#include <unistd.h>

#include <cstdint>
#include <new>

namespace tokenade {

void* allocateMapped(size_t bytes)
{
    if (bytes < kMappedAtLeast)
        return ::operator new(bytes);
    void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
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
    if (memory == nullptr)
        return;
    static const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(memory) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(page - 1);
    if (begin < end)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

}  // namespace tokenade
