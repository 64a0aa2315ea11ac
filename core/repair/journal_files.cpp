#include "journal_files.h"

#include "core/repair/change_plan.h"
#include "core/repair/open_folders.h"
#include "core/sources/folder_scan.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace tokenade {
namespace {

constexpr std::string_view kExtension = ".renames";
constexpr std::string_view kBelowState = "/tokenade-auditor/renames";

bool isAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

const char* homeFromUserDatabase()
{
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr ? user->pw_dir : nullptr;
}

// Milliseconds since the epoch, later than any this process handed out before.
int64_t journalMilliseconds()
{
    static std::atomic<int64_t> last{0};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    int64_t wanted = int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
    int64_t previous = last.load();
    do {
        wanted = std::max(wanted, previous + 1);
    } while (!last.compare_exchange_weak(previous, wanted));
    return wanted;
}

std::string journalName(int64_t milliseconds)
{
    const time_t seconds = static_cast<time_t>(milliseconds / 1000);
    tm utc{};
    ::gmtime_r(&seconds, &utc);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02dT%02d-%02d-%02d.%03dZ-%d", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(milliseconds % 1000),
                  static_cast<int>(::getpid()));
    return stamp + std::string(kExtension);
}

// 0, or the errno of the failure.
int writeWhole(Disk& disk, int fd, std::string_view text)
{
    while (!text.empty()) {
        size_t written = 0;
        if (const int error = disk.write(fd, text, written); error != 0)
            return error;
        if (written == 0)
            return EIO;
        text.remove_prefix(written);
    }
    return 0;
}

// The text of the journal at `path`, or why it cannot be read: a journal is
// a regular file of at most kLongestJournal bytes, never a FIFO, a device or
// a file that would fill the memory.
std::string readWhole(Disk& disk, const std::string& path, std::string& text)
{
    OpenFolders folders(disk);
    int error = 0;
    const int folder = folders.open(parentOf(path), error);
    int fd = -1;
    if (folder < 0 || (error = disk.openFile(folder, nameOf(path), fd)) != 0)
        return std::strerror(error);
    FileAt file;
    error = disk.status(fd, file);
    std::string why = error != 0       ? std::strerror(error)
                      : !file.regular ? "it is not a regular file"
                      : static_cast<uint64_t>(file.identity.size) > kLongestJournal
                          ? "it is " + std::to_string(file.identity.size) + " bytes long; a journal has at most " +
                                std::to_string(kLongestJournal)
                          : "";
    char buffer[65536];
    size_t got = 0;
    while (why.empty() && (error = disk.read(fd, buffer, sizeof buffer, got)) == 0 && got > 0) {
        text.append(buffer, got);
        if (text.size() > kLongestJournal)
            why = "it grew past " + std::to_string(kLongestJournal) + " bytes while it was read";
    }
    disk.close(fd);
    return why.empty() && error != 0 ? std::strerror(error) : why;
}

// The whole journal written under `partial` takes its own `name`, never
// replacing a file: a hard link, else a no-replace rename, else (a file
// system with neither) a rename over an empty file made exclusively.
int giveItsName(Disk& disk, int folder, const std::string& partial, const std::string& name)
{
    int error = disk.link(folder, partial, folder, name);
    if (error != EPERM && error != EOPNOTSUPP)
        return error;
    if ((error = disk.rename(folder, partial, folder, name)) != EINVAL)
        return error;
    int fd = -1;
    if ((error = disk.createFile(folder, name, kJournalMode, fd)) != 0)
        return error;
    disk.close(fd);
    if ((error = disk.replace(folder, partial, folder, name)) != 0)
        disk.unlink(folder, name);  // the empty file, or a journal whose batch will not start
    return error;
}

JournalRead failedRead(std::string why)
{
    JournalRead read;
    read.problem = std::move(why);
    return read;
}

std::string cannotWrite(const std::string& path, const std::string& why)
{
    return "cannot write the journal " + path + ": " + why;
}

// A full disk under the journals stops batches and undos alike until the user frees room there.
std::string cannotWrite(const std::string& path, int error)
{
    std::string why = cannotWrite(path, std::strerror(error));
    if (error == ENOSPC || error == EDQUOT)
        why += " (free some space on the disk of " + parentOf(path) + ", then run it again)";
    return why;
}

}  // namespace

std::string renameJournalFolderFor(const char* stateHome, const char* home)
{
    if (isAbsolute(stateHome))
        return std::string(stateHome) + std::string(kBelowState);
    if (isAbsolute(home))
        return std::string(home) + "/.local/state" + std::string(kBelowState);
    return "";
}

std::string renameJournalFolder()
{
    const char* home = std::getenv("HOME");
    return renameJournalFolderFor(std::getenv("XDG_STATE_HOME"), isAbsolute(home) ? home : homeFromUserDatabase());
}

JournalFile::JournalFile(JournalFile&& other) noexcept
    : disk_(other.disk_), path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), length_(other.length_),
      failed_(other.failed_)
{
}

JournalFile& JournalFile::operator=(JournalFile&& other) noexcept
{
    std::swap(disk_, other.disk_);
    std::swap(path_, other.path_);
    std::swap(fd_, other.fd_);
    std::swap(length_, other.length_);
    std::swap(failed_, other.failed_);
    return *this;
}

JournalFile::~JournalFile()
{
    if (fd_ >= 0)
        disk_->close(fd_);
}

std::string JournalFile::append(std::string_view record)
{
    if (failed_)
        return cannotWrite(path_, "an earlier record could not be written");
    const int error = writeWhole(*disk_, fd_, record);
    if (error == 0) {
        length_ += record.size();
        return "";
    }
    // Not every descriptor appends: one past the cut would leave a hole.
    failed_ = true;
    disk_->truncate(fd_, length_);
    return cannotWrite(path_, error);
}

std::string JournalFile::sync()
{
    const int error = disk_->sync(fd_);
    return error == 0 ? "" : cannotWrite(path_, error);
}

std::string JournalFile::syncData()
{
    const int error = disk_->syncData(fd_);
    return error == 0 ? "" : cannotWrite(path_, error);
}

NewJournal createJournal(Disk& disk, const std::string& journalFolder, std::string_view text)
{
    if (journalFolder.empty() || journalFolder[0] != '/')
        return NewJournal{std::nullopt, "there is no folder for the journal (\"" + journalFolder +
                                            "\" is not an absolute path)"};
    OpenFolders folders(disk);
    int error = 0;
    const int folder = folders.openMaking(journalFolder, error);
    if (folder < 0)
        return NewJournal{std::nullopt, "cannot make the journal folder " + journalFolder + ": " + std::strerror(error)};

    // Written whole under a name no reader takes for a journal, then given
    // its own: a batch killed meanwhile leaves no journal cut short.
    std::string name;
    std::string partial;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        name = journalName(journalMilliseconds());
        partial = "." + name + ".part";
        if ((error = disk.createFile(folder, partial, kJournalMode, fd)) != 0 && error != EEXIST)
            break;
    }
    const std::string path = journalFolder + "/" + name;
    if (fd < 0)
        return NewJournal{std::nullopt, cannotWrite(path, error)};
    int why = writeWhole(disk, fd, text);
    if (why == 0)
        why = disk.sync(fd);
    const int notLinked = why == 0 ? giveItsName(disk, folder, partial, name) : -1;
    if (notLinked > 0)
        why = notLinked;
    disk.unlink(folder, partial);
    // The folder's entry for the journal must reach the disk too.
    if (why == 0)
        why = disk.sync(folder);
    if (why == 0)
        return NewJournal{JournalFile(disk, path, fd, text.size()), ""};
    disk.close(fd);
    if (notLinked == 0)  // never a journal of another batch that took the name meanwhile
        disk.unlink(folder, name);
    return NewJournal{std::nullopt, cannotWrite(path, why)};
}

JournalPath createJournal(const std::string& journalFolder, std::string_view text)
{
    NewJournal journal = createJournal(systemDisk(), journalFolder, text);
    return JournalPath{journal.file ? journal.file->path() : "", journal.problem};
}

std::optional<JournalFile> openJournal(Disk& disk, const std::string& path, uint64_t length, std::string& problem)
{
    OpenFolders folders(disk);
    int error = 0;
    const int folder = folders.open(parentOf(path), error);
    int fd = -1;
    if (folder >= 0)
        error = disk.openShared(folder, nameOf(path), kJournalMode, fd);
    if (folder >= 0 && error == 0 && (error = disk.truncate(fd, length)) != 0)
        disk.close(fd);
    if (folder < 0 || error != 0) {
        problem = cannotWrite(path, error);
        return std::nullopt;
    }
    return JournalFile(disk, path, fd, length);
}

JournalRead readJournal(const std::string& path, Disk& disk)
{
    std::string text;
    if (path.empty())
        return failedRead("cannot read the journal \"\": no path was given");
    if (path[0] != '/') {
        std::error_code error;
        const fs::path absolute = fs::absolute(path, error);
        if (error)
            return failedRead("cannot read the journal " + path + ": " + error.message());
        return readJournal(absolute.string(), disk);
    }
    if (const std::string why = readWhole(disk, path, text); !why.empty())
        return failedRead("cannot read the journal " + path + ": " + why);
    JournalRead read = parseJournal(text);
    if (!read.problem.empty())
        read.problem = "cannot use the journal " + path + ": " + read.problem;
    return read;
}

namespace {

// "2026-12-06T12-31-03.123Z-4242.renames": seconds since the epoch, 0 for another name.
int64_t timeInName(const std::string& name)
{
    tm utc{};
    if (std::sscanf(name.c_str(), "%4d-%2d-%2dT%2d-%2d-%2d.%*3dZ", &utc.tm_year, &utc.tm_mon, &utc.tm_mday,
                    &utc.tm_hour, &utc.tm_min, &utc.tm_sec) != 6)
        return 0;
    utc.tm_year -= 1900;
    utc.tm_mon -= 1;
    return static_cast<int64_t>(::timegm(&utc));
}

// Which set the folder of a collection's file belongs to, by the first of its
// components that names a rom or video folder.
void noteKindOf(const std::string& folder, BatchSummary& summary)
{
    const std::vector<std::string> roms = folderNames(kRomFolders);
    const std::vector<std::string> videos = folderNames(kVideoFolders);
    for (size_t start = 1; start < folder.size();) {
        const size_t slash = std::min(folder.find('/', start), folder.size());
        const std::string part = folder.substr(start, slash - start);
        const bool rom = std::find(roms.begin(), roms.end(), part) != roms.end();
        if (rom || std::find(videos.begin(), videos.end(), part) != videos.end()) {
            (rom ? summary.touchesRoms : summary.touchesVideos) = true;
            return;
        }
        start = slash + 1;
    }
}

BatchSummary summaryOf(const std::string& path, const JournalRead& journal)
{
    BatchSummary summary{path, journal.collection, journal.setAsideFolder, ChangeKind::Rename, {},
                         timeInName(nameOf(path)), false, false};
    for (const JournalLine& line : journal.lines) {
        const Change& change = line.change;
        if (change.kind == ChangeKind::Folder || !hasChangesToUndo({line}))
            continue;
        summary.kind = change.kind;
        summary.changes.push_back(change);
        const bool intoTheCollection = change.kind == ChangeKind::Copy || change.kind == ChangeKind::Link;
        const std::string& folder = intoTheCollection ? change.toFolder : change.folder;
        // Below the collection, its own name is no sign ("/games/roms/Tokenade/videos" holds videos).
        noteKindOf(isWithin(folder, journal.collection) ? folder.substr(journal.collection.size()) : folder, summary);
    }
    return summary;
}

}  // namespace

std::vector<std::string> journalsNewestFirst(const std::string& journalFolder)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (fs::directory_iterator entry(journalFolder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.ends_with(kExtension) && name.front() != '.')
            paths.push_back(journalFolder + "/" + name);
    }
    std::sort(paths.rbegin(), paths.rend());
    return paths;
}

std::optional<BatchSummary> newestBatch(const std::string& journalFolder, const std::string& collection)
{
    const std::string wanted = collection.empty() ? "" : resolvedPath(collection).value_or(collection);
    for (const std::string& path : journalsNewestFirst(journalFolder)) {
        const JournalRead journal = readJournal(path);
        if (!hasChangesToUndo(journal.lines) || (!wanted.empty() && journal.collection != wanted))
            continue;
        return summaryOf(path, journal);
    }
    return std::nullopt;
}

std::optional<std::string> latestJournal(const std::string& journalFolder)
{
    const std::optional<BatchSummary> newest = newestBatch(journalFolder);
    return newest ? std::optional<std::string>(newest->journalPath) : std::nullopt;
}

}  // namespace tokenade
