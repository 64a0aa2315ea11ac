#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace tokenade {

// The name under which a collection carries its supported roms list.
inline constexpr std::string_view kSupportedListName = "- Supported Games Lookup For Naming.txt";

// Looks below `directory`, at any depth, for a regular file named exactly
// kSupportedListName (letter case counts) and returns the directory joined
// with its relative path. Folders are searched in preorder, each folder's
// entries in byte order of their names, so the first match is always the
// same one. Nothing when there is none, the directory cannot be read, or
// `stop` was requested before it was found.
std::optional<std::string> findSupportedList(const std::string& directory, std::stop_token stop = {});

}  // namespace tokenade
