// The check of every entry's bytes on any zip: each entry intact, corrupt,
// not verifiable or unreadable, with what was found whenever it is not
// intact, never more bytes checked than the entry claims, never a crash.
#include "core/verify/entry_check.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int fd = ::memfd_create("zip", MFD_CLOEXEC);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    std::vector<tokenade::ZipEntryData> places;
    const tokenade::ZipDirectory read = tokenade::parseZipDirectory(bytes, &places);
    if (read.problem == tokenade::ZipProblem::None && places.size() != read.entries.size())
        std::abort();
    for (size_t i = 0; i < places.size(); ++i) {
        const tokenade::EntryFinding found = tokenade::checkZipEntry(fd, size, read.entries[i], places[i]);
        if ((found.state != tokenade::EntryState::Intact && found.found.empty()) || found.bytes > read.entries[i].size)
            std::abort();
    }
    return 0;
}
