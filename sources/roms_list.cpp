#include "roms_list.h"

#include "platform/foundation/text_decoding.h"
#include "sources/shared_order.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tokenade {
namespace {

// Length of the newline character at the start of `text`, or 0.
size_t newlineLength(std::string_view text)
{
    switch (text[0]) {
    case '\n': case '\v': case '\f': case '\r':
        return 1;
    case '\xC2':
        return text.size() >= 2 && text[1] == '\x85' ? 2 : 0;
    case '\xE2':
        return text.size() >= 3 && text[1] == '\x80' && (text[2] == '\xA8' || text[2] == '\xA9') ? 3 : 0;
    default:
        return 0;
    }
}

bool isRegularFileWithinLimit(const struct stat& status)
{
    return S_ISREG(status.st_mode) && static_cast<uint64_t>(status.st_size) <= kRomsListSizeLimit;
}

// Reads at most the size limit; nothing when the file is no longer a small
// regular file by the time it is open or read.
std::optional<std::string> readListBytes(const std::string& listPath)
{
    const int fd = ::open(listPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes(kRomsListSizeLimit, '\0');
    size_t filled = 0;
    bool ok = true;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !isRegularFileWithinLimit(status))
        ok = false;
    while (ok && filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            ok = false;
        if (got <= 0)
            break;
        filled += static_cast<size_t>(got);
    }
    // A file that grew past the limit while it was read is too big.
    if (ok && (::fstat(fd, &status) != 0 || !isRegularFileWithinLimit(status)))
        ok = false;
    ::close(fd);
    if (!ok)
        return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

}  // namespace

NameList splitLines(std::string_view text)
{
    NameList lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const size_t length = newlineLength(text.substr(i));
        if (length == 0) {
            ++i;
            continue;
        }
        if (i > start)
            lines.emplace_back(text.substr(start, i - start));
        i += length;
        start = i;
    }
    if (i > start)
        lines.emplace_back(text.substr(start, i - start));
    return lines;
}

std::optional<NameList> readRomsListLines(const std::string& listPath)
{
    struct stat status;
    if (listPath.empty() || ::lstat(listPath.c_str(), &status) != 0 || !isRegularFileWithinLimit(status))
        return std::nullopt;
    const std::optional<std::string> bytes = readListBytes(listPath);
    if (!bytes)
        return std::nullopt;
    const std::optional<std::string> text = decodeText(*bytes);
    if (!text)
        return std::nullopt;
    return splitLines(*text);
}

std::optional<NameList> cacheRomsListFile(const std::string& listPath)
{
    std::optional<NameList> names = readRomsListLines(listPath);
    if (names)
        sortNames(*names, SortBy::LastPathComponent);
    return names;
}

}  // namespace tokenade
