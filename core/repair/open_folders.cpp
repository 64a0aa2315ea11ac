#include "open_folders.h"

#include <cerrno>

namespace tokenade {

OpenFolders::~OpenFolders()
{
    for (const auto& [path, fd] : open_)
        disk_.close(fd);
}

int OpenFolders::open(const std::string& path, int& error)
{
    if (const auto found = open_.find(path); found != open_.end()) {
        error = 0;
        return found->second;
    }
    int fd = -1;
    error = disk_.openFolder(path, fd);
    if (error != 0)
        return -1;
    open_.emplace(path, fd);
    return fd;
}

int OpenFolders::openMaking(const std::string& path, int& error)
{
    const int fd = open(path, error);
    if (fd >= 0 || error != ENOENT || path == "/")
        return fd;
    const int parent = openMaking(parentOf(path), error);
    if (parent < 0)
        return -1;
    error = disk_.makeFolder(parent, nameOf(path));
    if (error != 0 && error != EEXIST)
        return -1;
    return open(path, error);
}

std::string parentOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace tokenade
