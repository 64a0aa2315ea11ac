#pragma once

#include "core/content/zip_directory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tokenade::testing {

// The directory of an archive of 4-byte files of these CRCs, named for them.
inline ZipDirectory holding(const std::vector<uint32_t>& crcs)
{
    ZipDirectory contents;
    for (const uint32_t crc : crcs)
        contents.entries.push_back({4, crc, "f" + std::to_string(crc)});
    return contents;
}

}  // namespace tokenade::testing
