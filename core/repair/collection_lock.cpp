#include "collection_lock.h"

#include "core/repair/change_plan.h"
#include "core/repair/journal_files.h"
#include "core/repair/open_folders.h"
#include "core/sources/folder_scan.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace tokenade {
namespace {

constexpr size_t kLongestName = 200;

std::string holderText()
{
    const time_t now = ::time(nullptr);
    tm local{};
    ::localtime_r(&now, &local);
    char since[32];
    std::strftime(since, sizeof since, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(program_invocation_short_name) + ", process " + std::to_string(::getpid()) + ", since " +
           since + "\n";
}

std::string readHolder(Disk& disk, int fd)
{
    std::string text;
    char buffer[512];
    size_t got = 0;
    while (text.size() < 4096 && disk.read(fd, buffer, sizeof buffer, got) == 0 && got > 0)
        text.append(buffer, got);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text.empty() ? "a process that has not said which" : text;
}

}  // namespace

CollectionLock::CollectionLock(CollectionLock&& other) noexcept
    : disk_(other.disk_), fd_(std::exchange(other.fd_, -1))
{
}

CollectionLock::~CollectionLock()
{
    if (fd_ >= 0)
        disk_->close(fd_);
}

std::string lockFileName(const std::string& collection)
{
    std::string name;
    for (const char c : collection)
        name += c == '%' ? "%25" : c == '/' ? "%2F" : std::string(1, c);
    if (name.size() > kLongestName) {
        uint64_t hash = 14695981039346656037ull;  // FNV-1a of the whole path
        for (const char c : collection)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        name = name.substr(0, kLongestName) + "-" + hex;
    }
    return name + ".lock";
}

std::string collectionOfFolder(const std::string& folder)
{
    const std::vector<std::string> roms = folderNames(kRomFolders);
    const std::vector<std::string> videos = folderNames(kVideoFolders);
    for (size_t slash = folder.find('/'); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const size_t next = folder.find('/', slash + 1);
        const std::string component = folder.substr(slash + 1, next == std::string::npos ? next : next - slash - 1);
        for (const auto* set : {&roms, &videos}) {
            for (const std::string& name : *set) {
                if (name == component)
                    return slash == 0 ? "/" : folder.substr(0, slash);
            }
        }
    }
    return folder;
}

LockAttempt lockCollection(Disk& disk, const std::string& fallbackFolder, const std::string& collection)
{
    LockAttempt attempt;
    const std::string userFolder = renameJournalFolder();
    const std::string& journalFolder = userFolder.empty() ? fallbackFolder : userFolder;
    OpenFolders folders(disk);
    int error = 0;
    const int folder = folders.openMaking(journalFolder, error);
    int fd = -1;
    if (folder >= 0)
        error = disk.openShared(folder, lockFileName(resolvedPath(collection).value_or(collection)), 0600, fd);
    if (folder < 0 || error != 0) {
        attempt.problem = "cannot make the lock file of " + collection + " in " + journalFolder + ": " +
                          std::strerror(error);
        return attempt;
    }
    error = disk.lock(fd);
    if (error == EWOULDBLOCK) {
        attempt.heldBy = readHolder(disk, fd);
        attempt.problem = "another batch of changes is running on " + collection + ": " + attempt.heldBy;
        disk.close(fd);
        return attempt;
    }
    if (error != 0) {
        attempt.problem = "cannot lock " + collection + ": " + std::strerror(error);
        disk.close(fd);
        return attempt;
    }
    // Who holds it is only for others to read: a failure here is no reason to stop.
    size_t written = 0;
    if (disk.truncate(fd, 0) == 0)
        disk.write(fd, holderText(), written);
    attempt.lock.emplace(disk, fd);
    return attempt;
}

}  // namespace tokenade
