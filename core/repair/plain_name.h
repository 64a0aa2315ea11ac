#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// Why `name` cannot name a file right inside a folder, in words for the user,
// or nothing when it can. Refused: an empty name, "." and "..", a name holding
// "/" (a path, not a name) or a NUL byte, a name longer than `longest` bytes.
// Any other byte is fine, whether or not the name is UTF-8.
std::optional<std::string> whyNotAPlainName(std::string_view name, size_t longest);

// The longest name, in bytes, that the file system of `folder` takes;
// NAME_MAX when it does not say.
size_t longestNameIn(const std::string& folder);

}  // namespace tokenade
