#include "plain_name.h"

#include <unistd.h>

#include <climits>

namespace tokenade {

std::optional<std::string> whyNotAPlainName(std::string_view name, size_t longest)
{
    if (name.empty())
        return "it is empty";
    if (name == "." || name == "..")
        return "\"" + std::string(name) + "\" is not a file name";
    if (name.find('/') != std::string_view::npos)
        return "it holds \"/\", so it is a path, not a name";
    if (name.find('\0') != std::string_view::npos)
        return "it holds a NUL byte";
    if (name.size() > longest)
        return "it is " + std::to_string(name.size()) + " bytes long; the file system takes at most " +
               std::to_string(longest);
    return std::nullopt;
}

size_t longestNameIn(const std::string& folder)
{
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<size_t>(longest) : NAME_MAX;
}

}  // namespace tokenade
