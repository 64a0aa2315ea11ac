#include "read_at.h"

#include <unistd.h>

#include <cerrno>

namespace tokenade {

size_t readAt(int fd, uint64_t offset, char* into, size_t count)
{
    size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd, into + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        if (got == 0) {
            errno = 0;
            break;
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace tokenade
