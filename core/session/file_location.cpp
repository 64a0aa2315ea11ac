#include "file_location.h"

#include "core/foundation/folder_reader.h"
#include "core/foundation/path_join.h"
#include "core/foundation/unicode_key.h"

#include <optional>
#include <unordered_map>

#include <sys/stat.h>
#include <unistd.h>

namespace tokenade {
namespace {

bool exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// For each wanted key, the first name in byte order of `folder` that has it.
void findSpellings(const std::string& folder, std::unordered_map<std::string, std::optional<std::string>>& wanted)
{
    const int fd = openFolder(folder, true);
    if (fd < 0)
        return;
    {
        FolderReader reader(fd);
        reader.forEach([&](std::string_view entry, EntryType) {
            const auto found = wanted.find(unicodeKey(entry));
            if (found != wanted.end() && (!found->second || entry < *found->second))
                found->second = std::string(entry);
            return true;
        });
    }
    ::close(fd);
}

}  // namespace

std::vector<std::string> pathsOnDisk(const std::string& folder, const std::vector<std::string_view>& names)
{
    std::vector<std::string> paths;
    std::vector<std::string> keys(names.size());  // of the names not there as spelled
    std::unordered_map<std::string, std::optional<std::string>> wanted;  // key -> spelling on disk
    for (size_t i = 0; i < names.size(); ++i) {
        paths.push_back(joinPath(folder, names[i]));
        if (exists(paths.back()))
            continue;
        keys[i] = unicodeKey(names[i]);
        wanted.emplace(keys[i], std::nullopt);
    }
    if (wanted.empty())
        return paths;
    findSpellings(folder, wanted);
    for (size_t i = 0; i < names.size(); ++i) {
        const auto found = keys[i].empty() ? wanted.end() : wanted.find(keys[i]);
        if (found != wanted.end() && found->second)
            paths[i] = joinPath(folder, *found->second);
    }
    return paths;
}

}  // namespace tokenade
