#include "file_location.h"

#include "platform/foundation/folder_reader.h"
#include "platform/foundation/unicode_key.h"

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace tokenade {

std::string pathOnDisk(const std::string& folder, std::string_view name)
{
    std::string exact = pathBelow(folder, name);
    struct stat info {};
    if (::lstat(exact.c_str(), &info) == 0)
        return exact;
    const int fd = openFolder(folder, true);
    if (fd < 0)
        return exact;
    const std::string key = unicodeKey(name);
    std::optional<std::string> found;
    {
        FolderReader reader(fd);
        reader.forEach([&](std::string_view entry, EntryType) {
            if ((!found || entry < *found) && unicodeKey(entry) == key)
                found = std::string(entry);
            return true;
        });
    }
    ::close(fd);
    return found ? pathBelow(folder, *found) : exact;
}

}  // namespace tokenade
