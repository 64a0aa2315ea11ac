#pragma once

#include <string>
#include <string_view>

namespace tokenade {

// Joins two parts of a path whose only separator is "/": `first`, one "/",
// then `second`. The one rule for empty parts: an empty part adds nothing,
// so joinPath("", "roms") is "roms" and joinPath("/games", "") is "/games".
// A "/" that ends `first` is not doubled; nothing else is looked at (a
// `second` that begins with "/" keeps it, "." and ".." stay as they are).
inline std::string joinPath(std::string_view first, std::string_view second)
{
    std::string path;
    path.reserve(first.size() + 1 + second.size());
    path.append(first);
    if (!first.empty() && !second.empty() && first.back() != '/')
        path.push_back('/');
    path.append(second);
    return path;
}

}  // namespace tokenade
