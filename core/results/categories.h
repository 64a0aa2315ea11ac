#pragma once

#include <array>
#include <span>
#include <string_view>

namespace tokenade {

enum class AuditKind { Roms, Videos };

enum class CategoryId { Valid, Missing, Extra, Unknown };

// What never changes about a result category: its texts, its report file and
// where the window shows it. Header formats take the count for "%lu" and the
// names, joined by line breaks, for "%@".
struct CategoryFacts {
    CategoryId id;
    std::string_view key;           // "valid": the command line's label and JSON key
    std::string_view windowHeader;  // of the text the window (and the command line) shows
    std::string_view reportHeader;  // of the report file
    std::string_view fileName;      // of the report file
    int segment;                    // of the audit's category control
    bool foundSide;                 // its names are files on disk, each in a folder
};

// In display order, which is also the order of the segments and of the files.
inline constexpr std::array<CategoryFacts, 3> kRomCategories{{
    {CategoryId::Valid, "valid", "Found %lu roms with valid filename:\r\n\r\n%@", "Found %lu roms with valid filename:\r\n\r\n%@",
     "valid_roms.txt", 0, true},
    {CategoryId::Missing, "missing", "Found %lu missing roms:\r\n\r\n%@", "Found %lu missing roms:\r\n\r\n%@",
     "missing_roms.txt", 1, false},
    // The file's header words this category differently from the window's.
    {CategoryId::Unknown, "unknown",
     "Found %lu unknown archives:\r\n(warning, these could be necessary ones too, like neogeo.zip)\r\n\r\n%@",
     "Found %lu roms with unknown filename:\r\n(warning, these could be necessary archives too, like "
     "neogeo.zip)\r\n\r\n%@",
     "unknown_roms.txt", 2, true},
}};

inline constexpr std::array<CategoryFacts, 4> kVideoCategories{{
    {CategoryId::Valid, "valid", "Found %lu videos with valid filename:\r\n\r\n%@",
     "Found %lu videos with valid filename:\r\n\r\n%@", "valid_videos.txt", 0, true},
    {CategoryId::Missing, "missing", "Found %lu missing videos:\r\n\r\n%@", "Found %lu missing videos:\r\n\r\n%@",
     "missing_videos.txt", 1, false},
    {CategoryId::Extra, "extra", "Found %lu videos for missing roms:\r\n\r\n%@",
     "Found %lu videos for missing roms:\r\n\r\n%@", "extra_videos.txt", 2, true},
    {CategoryId::Unknown, "unknown", "Found %lu videos with unknown filename:\r\n\r\n%@",
     "Found %lu videos with unknown filename:\r\n\r\n%@", "unknown_videos.txt", 3, true},
}};

inline std::span<const CategoryFacts> categoriesOf(AuditKind kind)
{
    if (kind == AuditKind::Roms)
        return kRomCategories;
    return kVideoCategories;
}

}  // namespace tokenade
