#include "near_key.h"

#include "core/foundation/ascii.h"
#include "core/foundation/unicode_key.h"
#include "core/foundation/utf8_characters.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>

namespace tokenade {
namespace {

void normalizeInto(const icu::Normalizer2& form, std::string_view in, std::string& out)
{
    out.clear();
    icu::StringByteSink<std::string> sink(&out);
    UErrorCode status = U_ZERO_ERROR;
    form.normalizeUTF8(0, icu::StringPiece(in.data(), static_cast<int32_t>(in.size())), sink, nullptr, status);
}

bool endsWithExtension(std::string_view key, std::string_view extension)
{
    if (key.size() <= extension.size())
        return false;
    const char* end = key.data() + key.size() - extension.size();
    if (end[-1] != '.')
        return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        if (asciiLower(end[i]) != extension[i])
            return false;
    }
    return true;
}

// Merges each run of spaces into one and drops them at both ends.
std::string mergedSpaces(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool gap = false;
    for (const char c : text) {
        if (c == ' ') {
            gap = !out.empty();
            continue;
        }
        if (gap)
            out += ' ';
        gap = false;
        out += c;
    }
    return out;
}

}  // namespace

std::string compatibilityKey(std::string_view name)
{
    std::string key = unicodeKey(name);
    if (isAscii(key))
        return key;
    // NFKC_Casefold folds case again after the compatibility mapping, which
    // may bring capitals ("℡" is "TEL"); NFD then sets accents apart as marks.
    UErrorCode status = U_ZERO_ERROR;
    static const icu::Normalizer2* compatible = icu::Normalizer2::getNFKCCasefoldInstance(status);
    static const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    std::string folded;
    normalizeInto(*compatible, key, folded);
    normalizeInto(*nfd, folded, key);
    return key;
}

std::string looseKey(std::string_view name)
{
    std::string key = compatibilityKey(name);
    if (isAscii(key))
        return key;
    std::string loose;
    forEachCharacter(key, [&](UChar32 c, std::string_view bytes) {
        if (c < 0 || !(U_GET_GC_MASK(c) & U_GC_M_MASK))
            loose.append(bytes);
    });
    return loose;
}

std::string_view withoutDoubledExtension(std::string_view key, std::string_view extension)
{
    if (extension.empty())
        return key;
    while (endsWithExtension(key, extension) &&
           endsWithExtension(key.substr(0, key.size() - extension.size() - 1), extension))
        key.remove_suffix(extension.size() + 1);
    return key;
}

void appendNearText(std::string_view key, std::string& out)
{
    forEachCharacter(key, [&](UChar32 c, std::string_view bytes) {
        if (c == '&')
            out += " and ";
        else if (c >= 0 && u_isalnum(c))
            out.append(bytes);
        else if (c < 0 || !(U_GET_GC_MASK(c) & U_GC_M_MASK))
            out += ' ';
    });
}

std::string nearKey(std::string_view name, std::string_view extension)
{
    const std::string key = compatibilityKey(name);
    std::string text;
    appendNearText(withoutDoubledExtension(key, extension), text);
    return mergedSpaces(text);
}

}  // namespace tokenade
