#pragma once

#include <array>
#include <string_view>

namespace tokenade {

// One result category: what the window shows for a segment and the report
// file that the save command writes for it.
struct Category {
    std::string_view name;          // "valid", "missing", "extra" or "unknown"
    std::string_view windowHeader;  // header format of the window's text
    std::string_view fileName;
    std::string_view fileHeader;    // header format of the file
};

// In segment order, which is also the order in which the files are written.
inline constexpr std::array<Category, 3> kRomCategories{{
    {"valid", "Found %lu roms with valid filename:\r\n\r\n%@", "valid_roms.txt",
     "Found %lu roms with valid filename:\r\n\r\n%@"},
    {"missing", "Found %lu missing roms:\r\n\r\n%@", "missing_roms.txt", "Found %lu missing roms:\r\n\r\n%@"},
    // The file's header words this category differently from the window's.
    {"unknown",
     "Found %lu unknown archives:\r\n(warning, these could be necessary ones too, like neogeo.zip)\r\n\r\n%@",
     "unknown_roms.txt",
     "Found %lu roms with unknown filename:\r\n(warning, these could be necessary archives too, like "
     "neogeo.zip)\r\n\r\n%@"},
}};

inline constexpr std::array<Category, 4> kVideoCategories{{
    {"valid", "Found %lu videos with valid filename:\r\n\r\n%@", "valid_videos.txt",
     "Found %lu videos with valid filename:\r\n\r\n%@"},
    {"missing", "Found %lu missing videos:\r\n\r\n%@", "missing_videos.txt", "Found %lu missing videos:\r\n\r\n%@"},
    {"extra", "Found %lu videos for missing roms:\r\n\r\n%@", "extra_videos.txt",
     "Found %lu videos for missing roms:\r\n\r\n%@"},
    {"unknown", "Found %lu videos with unknown filename:\r\n\r\n%@", "unknown_videos.txt",
     "Found %lu videos with unknown filename:\r\n\r\n%@"},
}};

// The segment of the video control that shows the extra videos.
inline constexpr int kExtraVideosSegment = 2;

}  // namespace tokenade
