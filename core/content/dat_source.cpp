#include "dat_source.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tokenade {
namespace {

constexpr size_t kChunk = 256 * 1024;

}  // namespace

std::string_view DatSource::next()
{
    if (fd_ < 0) {
        const std::string_view chunk = memory_.substr(memoryAt_, std::min(kChunk, memory_.size() - memoryAt_));
        memoryAt_ += chunk.size();
        return chunk;
    }
    buffer_.resize(kChunk);
    while (true) {
        const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error_ = errno;
            return {};
        }
        return std::string_view(buffer_.data(), static_cast<size_t>(got));
    }
}

}  // namespace tokenade
