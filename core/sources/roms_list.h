#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// The largest supported roms list that is read, in bytes.
inline constexpr uint64_t kRomsListSizeLimit = 2097152;

// A supported roms list as read: its decoded text and its non-empty lines.
struct RomsList {
    std::shared_ptr<const std::string> text;  // UTF-8; the lines are views into it
    std::vector<std::string_view> lines;      // in the order of the file, exactly as written
};

// Why a supported roms list cannot be used, in a user's words ("not found",
// "a folder", "3,000,000 bytes, over the 2 MiB limit", "not UTF-8 (at byte
// 812)", "cannot be read (Permission denied)", ...).
struct ListProblem {
    std::string path;
    std::string reason;
};

// Either the list or why there is none.
struct RomsListRead {
    std::optional<RomsList> list;
    ListProblem problem;  // set when there is no list
};

// Reads the supported roms list at `listPath`: a regular file (not a link)
// of at most kRomsListSizeLimit bytes in an encoding that decodeText reads.
// Never reads more than the limit, even from a file that grows meanwhile.
// Text without a non-empty line gives an empty list, not a problem. Lines are
// NOT sorted: the audits sort them once they carry their extension.
RomsListRead cacheRomsListFile(const std::string& listPath);

// The non-empty pieces of `text` between newline characters (LF, VT, FF, CR,
// NEL, LINE SEPARATOR, PARAGRAPH SEPARATOR), in text order.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace tokenade
