#include "mapped_memory.h"

#include <sys/mman.h>

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

}  // namespace tokenade
