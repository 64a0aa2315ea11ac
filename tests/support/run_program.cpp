#include "run_program.h"

#include "tests/support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tokenade::testing {
namespace {

std::string readAndRemove(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    std::remove(path.c_str());
    return contents.str();
}

int temporaryFile(std::string& path)
{
    path = "/tmp/tokenade-run-XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd < 0)
        throw std::runtime_error("cannot make a temporary file");
    return fd;
}

// The build folder may be closed to other users (a clone in a private temporary
// folder, say): an unprivileged run gets its own copy of the program.
std::string reachableCopy(const std::string& program)
{
    std::string folder = "/tmp/tokenade-program-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    ::chmod(folder.c_str(), 0755);
    const std::string copy = folder + "/program";
    std::filesystem::copy_file(program, copy);
    ::chmod(copy.c_str(), 0755);
    return copy;
}

void removeCopy(const std::string& copy)
{
    std::remove(copy.c_str());
    ::rmdir(std::filesystem::path(copy).parent_path().c_str());
}

}  // namespace

ProgramRun runProgram(const std::string& original, const std::vector<std::string>& arguments, bool unprivileged)
{
    unprivileged = unprivileged && ::geteuid() == 0;
    const std::string program = unprivileged ? reachableCopy(original) : original;
    std::string outPath, errPath;
    const int outFd = temporaryFile(outPath);
    const int errFd = temporaryFile(errPath);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int nothing = ::open("/dev/null", O_RDONLY);
        ::dup2(nothing, STDIN_FILENO);
        ::dup2(outFd, STDOUT_FILENO);
        ::dup2(errFd, STDERR_FILENO);
        if (unprivileged && !dropPrivileges())
            ::_exit(125);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(outFd);
    ::close(errFd);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (unprivileged)
        removeCopy(program);

    ProgramRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readAndRemove(outPath);
    run.err = readAndRemove(errPath);
    return run;
}

}  // namespace tokenade::testing
