#include "roms_list.h"

#include "core/foundation/grouped_count.h"
#include "core/foundation/text_decoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

std::string tooBig(uint64_t size)
{
    return groupedCount(size) + " bytes, over the " + std::to_string(kRomsListSizeLimit >> 20) + " MiB limit";
}

std::string cannotRead(int error)
{
    return std::string("cannot be read (") + std::strerror(error) + ")";
}

// What stands in the way of reading the item whose status is `status` as a list, or "".
std::string problemWithItem(const struct stat& status)
{
    if (S_ISDIR(status.st_mode))
        return "a folder";
    if (S_ISLNK(status.st_mode))
        return "a symbolic link";
    if (!S_ISREG(status.st_mode))
        return "not a regular file";
    if (static_cast<uint64_t>(status.st_size) > kRomsListSizeLimit)
        return tooBig(static_cast<uint64_t>(status.st_size));
    return "";
}

std::string itemProblem(int fd, struct stat& status)
{
    return ::fstat(fd, &status) != 0 ? cannotRead(errno) : problemWithItem(status);
}

// Reads at most the size limit; says why not when the file is no longer a
// small regular file by the time it is open or read.
std::optional<std::string> readListBytes(const std::string& listPath, std::string& problem)
{
    const int fd = ::open(listPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = errno == ELOOP ? "a symbolic link" : cannotRead(errno);
        return std::nullopt;
    }
    std::string bytes(kRomsListSizeLimit, '\0');
    size_t filled = 0;
    struct stat status;
    problem = itemProblem(fd, status);
    while (problem.empty() && filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            problem = cannotRead(errno);
        if (got <= 0)
            break;
        filled += static_cast<size_t>(got);
    }
    // A file that grew past the limit while it was read is too big.
    if (problem.empty())
        problem = itemProblem(fd, status);
    ::close(fd);
    if (!problem.empty())
        return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

std::string undecodable(const DecodeError& error)
{
    const std::string where = "(at byte " + groupedCount(error.offset) + ")";
    if (error.encoding == "UTF-8")
        return "not UTF-8 " + where;
    return "broken " + std::string(error.encoding) + " " + where;
}

RomsListRead problem(const std::string& listPath, std::string reason)
{
    return RomsListRead{std::nullopt, ListProblem{listPath, std::move(reason)}};
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const size_t length = newlineLength(text.substr(i));
        if (length == 0) {
            ++i;
            continue;
        }
        if (i > start)
            lines.push_back(text.substr(start, i - start));
        i += length;
        start = i;
    }
    if (i > start)
        lines.push_back(text.substr(start, i - start));
    return lines;
}

RomsListRead cacheRomsListFile(const std::string& listPath)
{
    if (listPath.empty())
        return problem(listPath, "no list chosen");
    struct stat status;
    if (::lstat(listPath.c_str(), &status) != 0)
        return problem(listPath, errno == ENOENT ? "not found" : cannotRead(errno));
    if (std::string reason = problemWithItem(status); !reason.empty())
        return problem(listPath, std::move(reason));
    std::string reason;
    const std::optional<std::string> bytes = readListBytes(listPath, reason);
    if (!bytes)
        return problem(listPath, std::move(reason));
    DecodeError error;
    std::optional<std::string> text = decodeText(*bytes, &error);
    if (!text)
        return problem(listPath, undecodable(error));
    RomsList list;
    list.text = std::make_shared<const std::string>(std::move(*text));
    list.lines = splitLines(*list.text);
    return RomsListRead{std::move(list), {}};
}

}  // namespace tokenade
