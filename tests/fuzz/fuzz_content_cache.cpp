// The cache reader on any body, sealed as a cache file so that the
// checksums let it through to the records: it never trusts what it reads,
// so any damage gives an empty cache, never a crash or a part of one. The
// first byte is the count of records the frame declares.
#include "core/content/cache_file.h"
#include "core/content/content_cache.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tokenade;
    if (size == 0)
        return 0;
    // The frame of an empty cache carries the magic word and version the reader wants.
    static const std::string empty = ContentCache::serialize({});
    const uint32_t count = data[0];
    const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string bytes = startCache(body.size());
    bytes += body;
    sealCache(bytes, std::string_view(empty).substr(0, 8), getLe32(empty.data() + 8), count);
    const ContentCache cache = ContentCache::parse(bytes);
    if (cache.damaged() ? cache.size() != 0 : cache.size() != count)
        std::abort();
    return 0;
}
