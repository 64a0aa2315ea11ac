#include "temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace tokenade::testing {
namespace {

constexpr uid_t kUnprivilegedUser = 65534;

void createParents(const std::string& path)
{
    fs::create_directories(fs::path(path).parent_path());
}

}  // namespace

TempTree::TempTree(const std::string& base)
{
    std::string pattern = (fs::path(base.empty() ? fs::temp_directory_path().string() : base) /
                           "tokenade-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern;
    // Readable by everyone, so that an unprivileged child can walk it.
    ::chmod(root_.c_str(), 0755);
}

TempTree::~TempTree()
{
    std::error_code error;
    fs::remove_all(root_, error);
    if (!error && !fs::exists(fs::symlink_status(root_, error)))
        return;
    // The shell tools cope with trees deeper than std::filesystem does, and
    // with folders a test made unreadable; starting them costs a fork.
    const std::string command = "chmod -R u+rwx '" + root_ + "' 2>/dev/null; rm -rf '" + root_ + "'";
    [[maybe_unused]] const int status = std::system(command.c_str());
}

std::string TempTree::path(std::string_view relative) const
{
    return relative.empty() ? root_ : root_ + "/" + std::string(relative);
}

void TempTree::addFile(std::string_view relative, std::string_view contents) const
{
    const std::string full = path(relative);
    createParents(full);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out)
        throw std::runtime_error("cannot write " + full);
}

void TempTree::rewriteKeepingTime(std::string_view relative, std::string_view contents) const
{
    const std::string full = path(relative);
    struct stat before {}, after {};
    if (::stat(full.c_str(), &before) != 0)
        throw std::runtime_error("no " + full);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    // The clock of ctimes moves in ticks of milliseconds: written again until the ctime shows it.
    do {
        addFile(relative, contents);
        if (::utimensat(AT_FDCWD, full.c_str(), times, 0) != 0 || ::stat(full.c_str(), &after) != 0)
            throw std::runtime_error("cannot rewrite " + full);
    } while (after.st_ctim.tv_sec == before.st_ctim.tv_sec && after.st_ctim.tv_nsec == before.st_ctim.tv_nsec);
}

void TempTree::addFolder(std::string_view relative) const
{
    fs::create_directories(path(relative));
}

void TempTree::addLink(std::string_view relative, std::string_view target) const
{
    const std::string full = path(relative);
    createParents(full);
    fs::create_symlink(std::string(target), full);
}

void TempTree::addFifo(std::string_view relative) const
{
    const std::string full = path(relative);
    createParents(full);
    if (::mkfifo(full.c_str(), 0644) != 0)
        throw std::runtime_error("cannot make a FIFO at " + full);
}

void TempTree::addDeepFile(std::string_view relative, int depth, const std::string& file) const
{
    addFolder(relative);
    int fd = ::open(path(relative).c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth && fd >= 0; ++level) {
        ::mkdirat(fd, "d", 0755);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    if (fd < 0)
        throw std::runtime_error("cannot make a deep tree");
    ::close(::openat(fd, file.c_str(), O_CREAT | O_WRONLY, 0644));
    ::close(fd);
}

void TempTree::setMode(std::string_view relative, unsigned mode) const
{
    ::chmod(path(relative).c_str(), mode);
}

std::string TempTree::read(std::string_view relative) const
{
    std::ifstream in(path(relative), std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

bool TempTree::exists(std::string_view relative) const
{
    std::error_code error;
    return fs::symlink_status(path(relative), error).type() != fs::file_type::not_found;
}

std::string TempTree::list(std::string_view relative) const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path(relative)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const auto& name : names)
        listing += name + "\n";
    return listing;
}

std::string TempTree::state(bool inodes) const
{
    std::set<std::string> lines;  // a folder in memory lists its names in no lasting order
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
        struct stat status {};
        ::lstat(entry.path().c_str(), &status);
        std::string line = entry.path().string().substr(root_.size()) + " ";
        if (!S_ISDIR(status.st_mode))
            line += std::to_string(status.st_size) + " " +
                    (inodes ? std::to_string(status.st_ino) : read(line.substr(1, line.size() - 2)));
        lines.insert(line);
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

bool dropPrivileges()
{
    return ::geteuid() != 0 || (::setgid(kUnprivilegedUser) == 0 && ::setuid(kUnprivilegedUser) == 0);
}

std::string runWithoutPrivileges(const std::function<std::string()>& work)
{
    if (::geteuid() != 0)
        return work();
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("cannot make a pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (!dropPrivileges())
            ::_exit(2);
        const std::string result = work();
        const bool written = ::write(channel[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
        ::_exit(written ? 0 : 3);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the unprivileged child failed");
    return result;
}

std::string fastTemporaryBase()
{
    std::error_code error;
    return fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                                                  : fs::temp_directory_path().string();
}

}  // namespace tokenade::testing
