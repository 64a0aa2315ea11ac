#include "output_target.h"

#include "core/repair/change_plan.h"
#include "core/repair/collection_area.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace tokenade {

std::string whyNotAnOutputFile(const std::string& path, const OutputGuard& guard)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno != ENOENT)
            return std::string("it cannot be looked at: ") + std::strerror(errno);
    } else if (S_ISLNK(status.st_mode)) {
        return "it is a symbolic link";
    } else if (!S_ISREG(status.st_mode)) {
        return "it is not a regular file";
    } else {
        for (const auto& [what, input] : guard.inputs) {
            struct stat other {};
            if (::stat(input.c_str(), &other) == 0 && other.st_dev == status.st_dev && other.st_ino == status.st_ino)
                return "it is " + what;
        }
    }
    if (guard.collection.empty())
        return "";
    const auto real = resolvedPath(path);
    const auto collection = resolvedPath(guard.collection);
    if (real && collection && CollectionArea(*collection, "").holds(*real))
        return "it lies inside the collection " + guard.collection;
    return "";
}

}  // namespace tokenade
