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
    : disk_(other.disk_), folder_(std::exchange(other.folder_, -1)), holder_(std::exchange(other.holder_, -1))
{
}

CollectionLock::~CollectionLock()
{
    for (const int fd : {holder_, folder_}) {
        if (fd >= 0)
            disk_->close(fd);
    }
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
    const std::string real = resolvedPath(collection).value_or(collection);
    int folder = -1;
    FileAt identity;
    int error = disk.openFolder(real, folder);
    if (error == 0 && (error = disk.status(folder, identity)) != 0)
        disk.close(folder);
    if (error != 0) {
        attempt.problem = error == ENOENT ? "the Tokenade directory " + collection + " does not exist"
                                          : "cannot open " + collection + ": " + std::strerror(error);
        return attempt;
    }
    const int folderLock = disk.lock(folder);

    const std::string userFolder = renameJournalFolder();
    const std::string& journalFolder = userFolder.empty() ? fallbackFolder : userFolder;
    const std::string name =
        std::to_string(identity.identity.device) + "-" + std::to_string(identity.identity.inode) + ".lock";
    OpenFolders folders(disk);
    const int holderFolder = folders.openMaking(journalFolder, error);
    int holder = -1;
    if (holderFolder >= 0)
        error = disk.openShared(holderFolder, name, 0600, holder);
    if (holderFolder < 0 || error != 0) {
        disk.close(folder);
        attempt.problem = "cannot make the lock file of " + collection + " in " + journalFolder + ": " +
                          std::strerror(error);
        return attempt;
    }
    // Some file systems lock no folders: the file's lock then does alone.
    error = folderLock == EWOULDBLOCK ? EWOULDBLOCK : disk.lock(holder);
    if (error != 0) {
        if (error == EWOULDBLOCK)
            attempt.heldBy = readHolder(disk, holder);
        attempt.problem = error == EWOULDBLOCK ? "another batch of changes is running on " + collection + ": " + attempt.heldBy
                                               : "cannot lock " + collection + ": " + std::strerror(error);
        disk.close(holder);
        disk.close(folder);
        return attempt;
    }
    // Who holds it is only for others to read: a failure here is no reason to stop.
    size_t written = 0;
    if (disk.truncate(holder, 0) == 0)
        disk.write(holder, holderText(), written);
    attempt.lock.emplace(disk, folder, holder);
    return attempt;
}

}  // namespace tokenade
