#include "archive_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tokenade {

std::string_view archiveVerdictKey(ArchiveVerdict verdict)
{
    switch (verdict) {
    case ArchiveVerdict::Intact: return "intact";
    case ArchiveVerdict::Corrupt: return "corrupt";
    case ArchiveVerdict::NotVerifiable: return "not verifiable";
    case ArchiveVerdict::Unreadable: return "unreadable";
    }
    return "";
}

Sha1ByContent::Sha1ByContent(const DatIndex& dat)
{
    for (const DatRom& rom : dat.roms) {
        if (rom.matchable && !rom.sha1.empty())
            sorted_.emplace_back(rom.key, rom.sha1);
    }
    std::sort(sorted_.begin(), sorted_.end());
    sorted_.erase(std::unique(sorted_.begin(), sorted_.end()), sorted_.end());
}

std::string Sha1ByContent::find(const ContentKey& key) const
{
    const auto first = std::lower_bound(sorted_.begin(), sorted_.end(), std::make_pair(key, std::string_view()));
    if (first == sorted_.end() || first->first != key)
        return "";
    const auto next = first + 1;
    if (next != sorted_.end() && next->first == key)
        return "";  // two SHA-1s for one size and CRC
    return std::string(first->second);
}

namespace {

ArchiveCheck unreadable(std::string reason)
{
    ArchiveCheck check;
    check.verdict = ArchiveVerdict::Unreadable;
    check.reason = std::move(reason);
    return check;
}

ArchiveCheck checkOpenArchive(int fd, uint64_t size, const Sha1ByContent& sha1s)
{
    std::vector<ZipEntryData> data;
    ZipDirectory directory = readZipDirectory(fd, size, &data);
    if (directory.problem != ZipProblem::None)
        return unreadable(directory.reason);
    if (data.size() != directory.entries.size())
        return unreadable("its directory gave no place for the data of each file");
    ArchiveCheck check;
    bool notVerifiable = false;
    for (size_t i = 0; i < directory.entries.size(); ++i) {
        const ZipEntry& entry = directory.entries[i];
        EntryFinding found = checkZipEntry(fd, size, entry, data[i], sha1s.find({entry.size, entry.crc}));
        if (found.state == EntryState::Unreadable)
            return unreadable(entry.name + ": " + found.found);
        check.entriesChecked += found.state == EntryState::Intact;
        check.bytesChecked += found.bytes;
        if (found.state == EntryState::Corrupt)
            check.verdict = ArchiveVerdict::Corrupt;
        notVerifiable = notVerifiable || found.state == EntryState::NotVerifiable;
        if (found.state != EntryState::Intact)
            check.entries.push_back({entry.name, std::move(found)});
    }
    if (notVerifiable && check.verdict == ArchiveVerdict::Intact)
        check.verdict = ArchiveVerdict::NotVerifiable;
    return check;
}

}  // namespace

ArchiveCheck checkZipArchive(const std::string& path, const Sha1ByContent& sha1s)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return unreadable(std::string("unreadable: ") + std::strerror(errno));
    struct stat status {};
    ArchiveCheck check;
    if (::fstat(fd, &status) != 0)
        check = unreadable(std::string("unreadable: ") + std::strerror(errno));
    else if (!S_ISREG(status.st_mode))
        check = unreadable("unreadable: not a regular file");
    else
        check = checkOpenArchive(fd, static_cast<uint64_t>(status.st_size), sha1s);
    ::close(fd);
    return check;
}

}  // namespace tokenade
