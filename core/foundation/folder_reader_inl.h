#pragma once

#include <dirent.h>

#include <cstring>

namespace tokenade {

template <typename Visit>
int FolderReader::forEach(Visit&& visit)
{
    while (nextBatch()) {
        for (long offset = 0; offset < filled_;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer_ + offset);
            offset += entry->d_reclen;
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            if (!visit(std::string_view(name, std::strlen(name)), typeOf(name, entry->d_type)))
                return 0;
        }
    }
    return error_;
}

}  // namespace tokenade
