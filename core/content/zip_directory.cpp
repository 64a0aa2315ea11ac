#include "zip_directory.h"

#include "core/content/cp437.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/little_endian.h"
#include "core/foundation/read_at.h"
#include "core/foundation/text_decoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tokenade {
namespace {

constexpr size_t kEndSize = 22;  // the end of central directory record before its comment
constexpr size_t kLocatorSize = 20;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kEntrySize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kFirstRead = 4096;
constexpr size_t kLongestTail = kEndSize + 0xFFFF;  // the longest comment an end record can announce
constexpr uint16_t kUtf8Name = 1 << 11;


// The bytes of an archive, from a descriptor or from memory.
class ArchiveBytes {
public:
    ArchiveBytes(int fd, uint64_t size) : fd_(fd), size_(size) {}
    explicit ArchiveBytes(std::string_view memory) : memory_(memory), size_(memory.size()) {}

    uint64_t size() const { return size_; }

    // The `count` bytes at `offset`, which the caller has checked lie within
    // the archive; they stay valid until the next read into `buffer`. False,
    // with `problem` said, when they cannot be read.
    bool read(uint64_t offset, size_t count, std::string& buffer, std::string_view& bytes, ZipDirectory& problem)
    {
        if (fd_ < 0) {
            bytes = memory_.substr(offset, count);
            return true;
        }
        buffer.resize(count);
        if (const size_t got = readAt(fd_, offset, buffer.data(), count); got < count) {
            const int error = errno;
            problem.problem = error != 0 ? ZipProblem::Unreadable : ZipProblem::CutShort;
            problem.reason = error != 0 ? std::string("cannot be read (") + std::strerror(error) + ")"
                                        : "cut short while it was read (at byte " + std::to_string(offset + got) + ")";
            return false;
        }
        bytes = buffer;
        return true;
    }

private:
    int fd_ = -1;
    std::string_view memory_;
    uint64_t size_ = 0;
};

ZipDirectory failure(ZipProblem problem, std::string detail)
{
    ZipDirectory directory;
    directory.problem = problem;
    directory.reason = std::string(zipProblemWords(problem)) + (detail.empty() ? "" : ": " + detail);
    return directory;
}

std::string atByte(uint64_t offset)
{
    return " at byte " + std::to_string(offset);
}

// Where in `tail` (the archive's last bytes) the end record starts: the last
// one whose comment reaches exactly to the end, else the last whole one, as
// archives with bytes after their comment, or a comment cut short, are still
// read by other tools; npos when there is none.
bool commentReachesTheEnd(std::string_view tail, size_t at)
{
    return at + kEndSize + le16(tail.data() + at + 20) == tail.size();
}

size_t findEndRecord(std::string_view tail)
{
    if (tail.size() < kEndSize)
        return std::string_view::npos;
    size_t whole = std::string_view::npos;
    for (size_t at = tail.size() - kEndSize + 1; at-- > 0;) {
        if (std::memcmp(tail.data() + at, "PK\x05\x06", 4) != 0)
            continue;
        if (commentReachesTheEnd(tail, at))
            return at;
        if (whole == std::string_view::npos)
            whole = at;
    }
    return whole;
}

// What a file without an end record is, from its first bytes.
ZipDirectory withoutEndRecord(std::string_view head)
{
    if (head.starts_with("PK\x03\x04"))
        return failure(ZipProblem::CutShort, "the end of its central directory is missing");
    if (head.starts_with("Rar!\x1A\x07"))
        return failure(ZipProblem::NotAZip, "a RAR archive");
    if (head.starts_with("7z\xBC\xAF\x27\x1C"))
        return failure(ZipProblem::NotAZip, "a 7z archive");
    return failure(ZipProblem::NotAZip, "");
}

// Where the central directory lies and how many entries it has.
struct DirectoryPlace {
    uint64_t entries = 0;
    uint64_t size = 0;
    uint64_t offset = 0;
    uint64_t end = 0;  // where the record that announced it starts: the directory lies before
};

class DirectoryReader {
public:
    // The buffers take what is read from a file; a reader of many archives
    // hands the same ones to each.
    DirectoryReader(ArchiveBytes& archive, std::string& tailBuffer, std::string& otherBuffer,
                    std::vector<ZipEntryData>* data)
        : archive_(archive), tailBuffer_(tailBuffer), otherBuffer_(otherBuffer), data_(data)
    {
    }

    ZipDirectory read()
    {
        const uint64_t size = archive_.size();
        if (size == 0)
            return failure(ZipProblem::Empty, "");
        if (!readTail(std::min<uint64_t>(size, kFirstRead)))
            return std::move(problem_);
        size_t end = findEndRecord(tail_);
        const bool exact = end != std::string_view::npos && commentReachesTheEnd(tail_, end);
        if (!exact && tail_.size() < std::min<uint64_t>(size, kLongestTail)) {
            if (!readTail(std::min<uint64_t>(size, kLongestTail)))
                return std::move(problem_);
            end = findEndRecord(tail_);
        }
        if (end == std::string_view::npos)
            return withoutEndRecord(head());
        DirectoryPlace place;
        if (!locate(tailStart_ + end, place))
            return std::move(problem_);
        return readEntries(place);
    }

private:
    bool readTail(uint64_t length)
    {
        tailStart_ = archive_.size() - length;
        return archive_.read(tailStart_, length, tailBuffer_, tail_, problem_);
    }

    // The first bytes of the archive, for telling what it is.
    std::string_view head()
    {
        if (tailStart_ == 0)
            return tail_;
        std::string_view first;
        return archive_.read(0, 8, otherBuffer_, first, problem_) ? first : std::string_view();
    }

    // `count` bytes at `offset`, from the tail when it holds them.
    bool bytesAt(uint64_t offset, size_t count, std::string_view& bytes)
    {
        if (offset >= tailStart_ && offset - tailStart_ + count <= tail_.size()) {
            bytes = tail_.substr(offset - tailStart_, count);
            return true;
        }
        return archive_.read(offset, count, otherBuffer_, bytes, problem_);
    }

    bool fail(ZipProblem problem, std::string detail)
    {
        problem_ = failure(problem, std::move(detail));
        return false;
    }

    bool locate(uint64_t endAt, DirectoryPlace& place)
    {
        const char* record = tail_.data() + (endAt - tailStart_);
        place = {le16(record + 10), le32(record + 12), le32(record + 16), endAt};
        std::string_view locator;
        const bool zip64 = endAt >= kLocatorSize && bytesAt(endAt - kLocatorSize, kLocatorSize, locator) &&
                           locator.starts_with("PK\x06\x07");
        if (zip64)
            return locateZip64(endAt - kLocatorSize, locator, place) && holdsTogether(place);
        // Without zip64 the disk fields are real; with it they may all be ones.
        if (le16(record + 4) != 0 || le16(record + 6) != 0 || le16(record + 8) != le16(record + 10))
            return fail(ZipProblem::DamagedDirectory, "it spans several disks" + atByte(endAt));
        // All ones may be a true value (65,535 entries) or stand for a zip64
        // value whose record is gone: only the first leaves a directory that fits.
        const bool allOnes = place.entries == 0xFFFF || place.size == 0xFFFFFFFF || place.offset == 0xFFFFFFFF;
        if (allOnes && !fitsBeforeItsEnd(place))
            return fail(ZipProblem::DamagedDirectory, "its zip64 end record is missing" + atByte(endAt));
        return holdsTogether(place);
    }

    static bool fitsBeforeItsEnd(const DirectoryPlace& place)
    {
        return place.offset <= place.end && place.size <= place.end - place.offset &&
               place.entries * kEntrySize <= place.size;
    }

    bool holdsTogether(const DirectoryPlace& place)
    {
        if (place.entries > kZipEntryLimit)
            return fail(ZipProblem::TooManyEntries,
                        groupedCount(place.entries) + " entries, over the " + groupedCount(kZipEntryLimit) + " read");
        if (place.size > kZipDirectoryLimit)
            return fail(ZipProblem::TooManyEntries, "a central directory of " + groupedCount(place.size) +
                                                        " bytes, over the 16 MiB read");
        if (place.offset > place.end || place.size > place.end - place.offset)
            return fail(ZipProblem::DamagedDirectory, "its central directory" + atByte(place.offset) +
                                                          " runs past its end record" + atByte(place.end));
        if (place.entries * kEntrySize > place.size)
            return fail(ZipProblem::DamagedDirectory, std::to_string(place.entries) +
                                                          " entries cannot fit in a central directory of " +
                                                          std::to_string(place.size) + " bytes" + atByte(place.offset));
        return true;
    }

    bool locateZip64(uint64_t locatorAt, std::string_view locator, DirectoryPlace& place)
    {
        const uint64_t recordAt = le64(locator.data() + 8);
        if (le32(locator.data() + 4) != 0 || le32(locator.data() + 16) > 1)
            return fail(ZipProblem::DamagedDirectory, "it spans several disks" + atByte(locatorAt));
        if (recordAt > locatorAt || locatorAt - recordAt < kZip64EndSize)
            return fail(ZipProblem::DamagedDirectory, "its zip64 locator points nowhere" + atByte(locatorAt));
        std::string_view record;
        if (!bytesAt(recordAt, kZip64EndSize, record))
            return false;
        if (!record.starts_with("PK\x06\x06"))
            return fail(ZipProblem::DamagedDirectory, "no zip64 end record" + atByte(recordAt));
        if (le32(record.data() + 16) != 0 || le32(record.data() + 20) != 0 ||
            le64(record.data() + 24) != le64(record.data() + 32))
            return fail(ZipProblem::DamagedDirectory, "it spans several disks" + atByte(recordAt));
        place = {le64(record.data() + 32), le64(record.data() + 40), le64(record.data() + 48), recordAt};
        return true;
    }

    ZipDirectory readEntries(const DirectoryPlace& place)
    {
        std::string_view directory;
        if (!bytesAt(place.offset, place.size, directory))
            return std::move(problem_);
        ZipDirectory read;
        read.entries.reserve(place.entries);
        size_t at = 0;
        for (uint64_t i = 0; i < place.entries; ++i) {
            if (!readEntry(directory, at, place, read))
                return std::move(problem_);
        }
        return read;
    }

    bool readEntry(std::string_view directory, size_t& at, const DirectoryPlace& place, ZipDirectory& read)
    {
        const uint64_t where = place.offset + at;
        if (directory.size() - at < kEntrySize || directory.compare(at, 4, "PK\x01\x02") != 0)
            return fail(ZipProblem::DamagedDirectory, "no entry" + atByte(where));
        const char* header = directory.data() + at;
        const size_t nameSize = le16(header + 28);
        const size_t extraSize = le16(header + 30);
        const size_t variable = nameSize + extraSize + le16(header + 32);
        if (directory.size() - at - kEntrySize < variable)
            return fail(ZipProblem::DamagedDirectory, "an entry runs past the directory's end" + atByte(where));
        uint64_t size = le32(header + 24);
        uint64_t compressed = le32(header + 20);
        uint64_t localAt = le32(header + 42);
        const std::string_view extra(header + kEntrySize + nameSize, extraSize);
        if (!readZip64Fields(extra, size, compressed, localAt))
            return fail(ZipProblem::DamagedDirectory, "an entry's zip64 sizes are missing" + atByte(where));
        if (localAt > place.offset || place.offset - localAt < kLocalHeaderSize)
            return fail(ZipProblem::DamagedDirectory, "an entry's data lies past the directory" + atByte(where));
        const std::string_view name(header + kEntrySize, nameSize);
        at += kEntrySize + variable;
        if (name.ends_with('/'))
            return true;  // a folder
        const bool utf8 = (le16(header + 8) & kUtf8Name) && isValidUtf8(name);
        read.entries.push_back({size, le32(header + 16), utf8 ? std::string(name) : cp437ToUtf8(name)});
        if (data_)
            data_->push_back({localAt, compressed, le16(header + 10), le16(header + 8), std::string(name)});
        return true;
    }

    // The zip64 extra field holds, in this order, each of the three values
    // whose 32-bit field is all ones.
    static bool readZip64Fields(std::string_view extra, uint64_t& size, uint64_t& compressed, uint64_t& localAt)
    {
        uint64_t* const fields[] = {&size, &compressed, &localAt};
        bool wanted = false;
        for (uint64_t* field : fields)
            wanted = wanted || *field == 0xFFFFFFFF;
        if (!wanted)
            return true;
        for (size_t at = 0; extra.size() - at >= 4;) {
            const uint16_t id = le16(extra.data() + at);
            const size_t length = le16(extra.data() + at + 2);
            if (extra.size() - at - 4 < length)
                return false;
            if (id == 0x0001) {
                size_t taken = 0;
                for (uint64_t* field : fields) {
                    if (*field != 0xFFFFFFFF)
                        continue;
                    if (length - taken < 8)
                        return false;
                    *field = le64(extra.data() + at + 4 + taken);
                    taken += 8;
                }
                return true;
            }
            at += 4 + length;
        }
        return false;
    }

    ArchiveBytes& archive_;
    uint64_t tailStart_ = 0;
    std::string_view tail_;
    std::string& tailBuffer_;
    std::string& otherBuffer_;
    std::vector<ZipEntryData>* data_;
    ZipDirectory problem_;
};

}  // namespace

std::string_view zipProblemWords(ZipProblem problem)
{
    switch (problem) {
    case ZipProblem::None: return "read";
    case ZipProblem::Empty: return "an empty file";
    case ZipProblem::NotAZip: return "not a zip";
    case ZipProblem::CutShort: return "cut short";
    case ZipProblem::DamagedDirectory: return "a damaged central directory";
    case ZipProblem::TooManyEntries: return "too large a central directory";
    case ZipProblem::Unreadable: return "unreadable";
    }
    return "";
}

// The entries' data of an archive that failed stand for nothing.
static ZipDirectory withData(ZipDirectory read, std::vector<ZipEntryData>* data)
{
    if (data && read.problem != ZipProblem::None)
        data->clear();
    return read;
}

ZipDirectory readZipDirectory(int fd, uint64_t size, std::vector<ZipEntryData>* data)
{
    // Per thread: reading an archive allocates nothing but what it returns.
    thread_local std::string tailBuffer, otherBuffer;
    ArchiveBytes archive(fd, size);
    if (data)
        data->clear();
    ZipDirectory read = withData(DirectoryReader(archive, tailBuffer, otherBuffer, data).read(), data);
    if (otherBuffer.capacity() > kFirstRead)
        std::string().swap(otherBuffer);  // a large directory's bytes are not kept for the thread's life
    return read;
}

ZipDirectory parseZipDirectory(std::string_view bytes, std::vector<ZipEntryData>* data)
{
    std::string unused, alsoUnused;
    ArchiveBytes archive(bytes);
    if (data)
        data->clear();
    return withData(DirectoryReader(archive, unused, alsoUnused, data).read(), data);
}

ZipDirectory readZipFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = fd < 0 ? errno : (S_ISREG(status.st_mode) ? errno : EINVAL);
        if (fd >= 0)
            ::close(fd);
        return failure(ZipProblem::Unreadable, error == EINVAL ? "not a regular file" : std::strerror(error));
    }
    ZipDirectory directory = readZipDirectory(fd, static_cast<uint64_t>(status.st_size));
    ::close(fd);
    return directory;
}

}  // namespace tokenade
