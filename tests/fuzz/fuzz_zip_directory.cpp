// The zip directory reader on any bytes: a problem or entries, never both,
// never a crash, and never more entries than the limit.
#include "core/content/zip_directory.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tokenade::ZipDirectory read = tokenade::parseZipDirectory(bytes);
    const bool problem = read.problem != tokenade::ZipProblem::None;
    if (problem == read.reason.empty() || (problem && !read.entries.empty()) ||
        read.entries.size() > tokenade::kZipEntryLimit)
        std::abort();
    return 0;
}
