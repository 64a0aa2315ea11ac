#include "run_program.h"

#include "tests/support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace tokenade::testing {
namespace {

// What a child wrote to `fd`, read from the start.
std::string contentsOf(int fd)
{
    std::string contents;
    char buffer[65536];
    ssize_t got;
    ::lseek(fd, 0, SEEK_SET);
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        contents.append(buffer, static_cast<size_t>(got));
    ::close(fd);
    return contents;
}

}  // namespace

ProgramRun runProgram(const std::string& original, const std::vector<std::string>& arguments, bool unprivileged)
{
    unprivileged = unprivileged && ::geteuid() == 0;
    // The build folder may be closed to other users: an unprivileged run gets its own copy of the program.
    TempTree reachable;
    const std::string program = unprivileged ? reachable.path("program") : original;
    if (unprivileged)
        std::filesystem::copy_file(original, program);
    const int outFd = ::open("/tmp", O_TMPFILE | O_RDWR, 0600);
    const int errFd = ::open("/tmp", O_TMPFILE | O_RDWR, 0600);
    if (outFd < 0 || errFd < 0)
        throw std::runtime_error("cannot make a temporary file");

    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
        ::dup2(outFd, STDOUT_FILENO);
        ::dup2(errFd, STDERR_FILENO);
        if (unprivileged && !dropPrivileges())
            ::_exit(125);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return ProgramRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, contentsOf(outFd), contentsOf(errFd)};
}

}  // namespace tokenade::testing
