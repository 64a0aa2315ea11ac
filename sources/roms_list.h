#pragma once

#include "sources/name_list.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// The largest supported roms list that is read, in bytes.
inline constexpr uint64_t kRomsListSizeLimit = 2097152;

// The non-empty lines of the supported roms list at `listPath`, exactly as
// written, sorted in the shared order. Nothing when the list is unusable: no
// item there, not a regular file (a link included), more than
// kRomsListSizeLimit bytes, unreadable, or not decodable. Never reads more
// than the limit, even from a file that grows meanwhile.
std::optional<NameList> cacheRomsListFile(const std::string& listPath);

// The same lines, unsorted: for callers that sort them their own way.
std::optional<NameList> readRomsListLines(const std::string& listPath);

// The non-empty pieces of `text` between newline characters (LF, VT, FF, CR,
// NEL, LINE SEPARATOR, PARAGRAPH SEPARATOR), in text order, unsorted.
NameList splitLines(std::string_view text);

}  // namespace tokenade
