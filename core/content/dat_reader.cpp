#include "dat_reader.h"

#include "core/content/dat_counts.h"
#include "core/content/dat_parsers.h"
#include "core/foundation/grouped_count.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

// XML when the first character after a byte-order mark (UTF-8 or UTF-16,
// which expat reads) and white space is "<".
bool looksLikeXml(std::string_view first)
{
    if (first.starts_with("\xEF\xBB\xBF"))
        first.remove_prefix(3);
    else if (first.starts_with("\xFF\xFE") || first.starts_with("\xFE\xFF"))
        return true;
    const size_t start = first.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && first[start] == '<';
}

}  // namespace

DatRead parseDatSource(DatSource& source, const std::string& path, uint64_t bytes)
{
    const std::string_view first = source.next();
    if (first.empty() && source.error() != 0)
        return {std::nullopt, {path, 0, 0, std::string("cannot be read (") + std::strerror(source.error()) + ")"}};
    if (looksLikeXml(first))
        return parseXmlDat(source, first, path, bytes);
    return looksLikeSmdb(first) ? parseSmdbDat(source, first, path, bytes) : parseTextDat(source, first, path, bytes);
}

std::string DatProblem::message() const
{
    if (line == 0)
        return path + ": " + reason;
    return path + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + reason;
}

DatRead readDatFile(const std::string& path)
{
    FileIdentity identity;
    return readDatFile(path, identity);
}

DatRead readDatFile(const std::string& path, FileIdentity& identity)
{
    // Not blocking: opening a FIFO or a device to read would wait for a writer
    // before fstat could tell it is no DAT.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {std::nullopt, {path, 0, 0, std::string("cannot be opened (") + std::strerror(errno) + ")"}};
    struct stat status {};
    DatRead read;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        read.problem = {path, 0, 0, "not a regular file"};
    else if (static_cast<uint64_t>(status.st_size) > kDatSizeLimit)
        read.problem = {path, 0, 0, groupedCount(static_cast<uint64_t>(status.st_size)) + " bytes, over the 4 GiB read"};
    else if (std::string past = whyPastTheDatLimits(fd, static_cast<uint64_t>(status.st_size)); !past.empty())
        read.problem = {path, 0, 0, std::move(past)};
    else {
        identity = identityOfStatus(status);
        DatSource source(fd);
        read = parseDatSource(source, path, static_cast<uint64_t>(status.st_size));
    }
    ::close(fd);
    return read;
}

DatRead parseDat(std::string_view bytes, const std::string& path)
{
    DatSource source(bytes);
    return parseDatSource(source, path, bytes.size());
}

}  // namespace tokenade
