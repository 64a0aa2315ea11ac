#include "extension_rewrite.h"

#include "platform/foundation/unicode_key.h"
#include "sources/path_rules.h"

namespace tokenade {
namespace {

// The key of `rewritten` from the key of the name it came from: the case-folded,
// decomposed form of a name ends in that of its ASCII extension, and a period
// separates the two, so only the extension's part of the key changes.
bool deriveKey(const KeyedName& old, std::string_view rewritten, std::string_view extension, std::string& key)
{
    const std::string_view oldExtension = pathExtension(old.name());
    const std::string_view oldKey(old.bytes + old.size, old.keySize);
    if (oldExtension.empty() || !isAscii(oldExtension) || rewritten.size() < extension.size() ||
        oldKey.size() <= oldExtension.size() || oldKey[oldKey.size() - oldExtension.size() - 1] != '.')
        return false;
    for (size_t i = 0; i < oldExtension.size(); ++i) {
        const char c = oldExtension[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
        if (oldKey[oldKey.size() - oldExtension.size() + i] != lower)
            return false;
    }
    key.assign(oldKey.substr(0, oldKey.size() - oldExtension.size()));
    key.append(extension);
    return true;
}

}  // namespace

KeyedNames setExtension(std::string_view extension, std::span<const std::string_view> lines)
{
    KeyedNames expected;
    std::string name;
    for (size_t line = 0; line < lines.size(); ++line) {
        name.assign(lines[line]);
        replacePathExtension(name, extension);
        expected.add(name, static_cast<uint32_t>(line));
    }
    return expected;
}

KeyedNames setExtension(std::string_view extension, const KeyedNames& names)
{
    KeyedNames rewritten;
    std::string name;
    std::string key;
    for (const KeyedName& old : names.all()) {
        name.assign(old.name());
        replacePathExtension(name, extension);
        if (old.keySize != KeyedName::kLowerCaseKey && deriveKey(old, name, extension, key))
            rewritten.addWithKey(name, key, old.origin);
        else
            rewritten.add(name, old.origin);
    }
    return rewritten;
}

}  // namespace tokenade
