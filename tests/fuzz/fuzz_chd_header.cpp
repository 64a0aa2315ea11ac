// The CHD header reader on any bytes: a header or a reason, never both, never
// a crash; a header's SHA-1 is 40 hex digits and its hunks hold its size.
#include "core/archives/chd_header.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const tokenade::ChdRead read = tokenade::parseChdHeader({reinterpret_cast<const char*>(data), size}, size, "x");
    const tokenade::ChdHeader* h = read.header ? &*read.header : nullptr;
    if (read.problem.reason.empty() != (h != nullptr) ||
        (h && (h->sha1.size() != 40 || h->hunkBytes == 0 || h->hunkCount < h->logicalBytes / h->hunkBytes)))
        std::abort();
    return 0;
}
