#include "journal_files.h"

#include "core/foundation/atomic_write.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
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
int readWhole(const std::string& path, std::string& text)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return errno;
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        text.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return 0;
}

NewJournal failed(const std::string& path, int error)
{
    return NewJournal{"", "cannot write the journal " + path + ": " + std::strerror(error)};
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

NewJournal createJournal(const std::string& journalFolder, std::string_view text)
{
    if (journalFolder.empty() || journalFolder[0] != '/')
        return NewJournal{"", "there is no folder for the journal (\"" + journalFolder + "\" is not an absolute path)"};
    std::error_code error;
    fs::create_directories(journalFolder, error);
    if (error)
        return NewJournal{"", "cannot create the journal folder " + journalFolder + ": " + error.message()};

    std::string path;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        path = journalFolder + "/" + journalName(journalMilliseconds());
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kJournalMode);
        if (fd < 0 && errno != EEXIST)
            return failed(path, errno);
    }
    if (fd < 0)
        return failed(path, EEXIST);

    bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    int failure = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        failure = errno;
    }
    // The folder's entry for the new file must reach the disk too.
    if (written && !syncFolder(journalFolder)) {
        written = false;
        failure = errno;
    }
    if (!written) {
        ::unlink(path.c_str());
        return failed(path, failure);
    }
    return NewJournal{path, ""};
}

JournalRead readJournal(const std::string& path)
{
    std::string text;
    const int error = readWhole(path, text);
    if (error != 0)
        return JournalRead{{}, "cannot read the journal " + path + ": " + std::strerror(error)};
    JournalRead read = parseJournal(text);
    if (!read.problem.empty())
        read.problem = "cannot use the journal " + path + ": " + read.problem;
    return read;
}

std::optional<std::string> latestJournal(const std::string& journalFolder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(journalFolder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.ends_with(kExtension) && name.front() != '.')
            names.push_back(name);
    }
    std::sort(names.rbegin(), names.rend());
    for (const std::string& name : names) {
        const std::string path = journalFolder + "/" + name;
        if (hasRenamesToUndo(readJournal(path).lines))
            return path;
    }
    return std::nullopt;
}

}  // namespace tokenade
