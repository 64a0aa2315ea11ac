#include "path_rules.h"

#include "core/foundation/ascii.h"
#include "core/foundation/unicode_key.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace tokenade {
namespace {

// The path without its trailing "/" characters; "/" alone (or "///") gives "/".
std::string_view withoutTrailingSlashes(std::string_view path)
{
    const size_t last = path.find_last_not_of('/');
    if (last == std::string_view::npos)
        return path.empty() ? path : path.substr(0, 1);
    return path.substr(0, last + 1);
}

// Position of the period that starts the extension of the last component, or npos.
size_t extensionPeriod(std::string_view trimmed)
{
    const size_t slash = trimmed.rfind('/');
    const size_t componentStart = slash == std::string_view::npos ? 0 : slash + 1;
    const size_t period = trimmed.rfind('.');
    if (period == std::string_view::npos || period <= componentStart)
        return std::string_view::npos;
    return period;
}

// ICU's lower case; only extensions with a character outside ASCII need it.
std::string lowerCase(std::string_view text)
{
    std::string lower;
    icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
        .toLower(icu::Locale::getRoot())
        .toUTF8String(lower);
    return lower;
}

// The name without trailing "/" and without its extension: always a prefix.
std::string_view stemOf(std::string_view path)
{
    const std::string_view trimmed = withoutTrailingSlashes(path);
    const size_t period = extensionPeriod(trimmed);
    return period == std::string_view::npos ? trimmed : trimmed.substr(0, period);
}

}  // namespace

std::string_view lastPathComponent(std::string_view path)
{
    const std::string_view trimmed = withoutTrailingSlashes(path);
    if (trimmed == "/")
        return trimmed;
    const size_t slash = trimmed.rfind('/');
    return slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string_view pathExtension(std::string_view path)
{
    const std::string_view component = lastPathComponent(path);
    const size_t period = extensionPeriod(component);
    return period == std::string_view::npos ? std::string_view() : component.substr(period + 1);
}

void replacePathExtension(std::string& path, std::string_view extension)
{
    const size_t stem = withoutTrailingSlashes(stemOf(path)).size();
    path.resize(stem);
    path.push_back('.');
    path.append(extension);
}

bool hasExtension(std::string_view path, std::string_view extension)
{
    // Fast path for a bare file name that ends in "." and an ASCII extension.
    const size_t tail = extension.size() + 1;
    if (path.size() > tail && path.back() != '/' && path[path.size() - tail] == '.' &&
        path[path.size() - tail - 1] != '/') {
        bool plain = true;
        bool equal = true;
        for (size_t i = 0; i < extension.size(); ++i) {
            const char c = path[path.size() - extension.size() + i];
            plain = plain && static_cast<unsigned char>(c) < 0x80 && c != '.' && c != '/';
            equal = equal && asciiLower(c) == extension[i];
        }
        if (plain)
            return equal;
    }
    const std::string_view own = pathExtension(path);
    if (own.size() == extension.size() && isAscii(own)) {
        for (size_t i = 0; i < own.size(); ++i) {
            if (asciiLower(own[i]) != extension[i])
                return false;
        }
        return true;
    }
    // A non-ASCII extension can still lower-case to the wanted one (the Kelvin sign, say).
    return !isAscii(own) && lowerCase(own) == extension;
}

}  // namespace tokenade
