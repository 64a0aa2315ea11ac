#include "extension_rewrite.h"

#include "core/sources/path_rules.h"

namespace tokenade {

KeyedNames setExtension(std::string_view extension, std::span<const std::string_view> lines)
{
    KeyedNames expected;
    expected.reserve(lines.size());
    std::string name;
    for (size_t line = 0; line < lines.size(); ++line) {
        name.assign(lines[line]);
        replacePathExtension(name, extension);
        expected.add(name, static_cast<uint32_t>(line));
    }
    return expected;
}

KeyedNames setExtension(std::string_view extension, KeyedNames&& names)
{
    names.replaceExtensions(extension);
    return std::move(names);
}

}  // namespace tokenade
