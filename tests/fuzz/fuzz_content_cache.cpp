// The cache reader on any bytes: it never trusts what it reads, so any
// damage gives an empty cache, never a crash or a part of one.
#include "core/content/content_cache.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tokenade::ContentCache cache = tokenade::ContentCache::parse(bytes);
    if (cache.damaged() && cache.size() != 0)
        std::abort();
    return 0;
}
