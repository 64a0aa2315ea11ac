#include "unicode_key.h"

#include "text_decoding.h"
#include "utf8_characters.h"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/stringoptions.h>

namespace tokenade {
namespace {

// Ill-formed bytes become U+FFFD, so that every later step sees well-formed text.
std::string wellFormed(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    forEachCharacter(utf8, [&](UChar32 c, std::string_view bytes) { out.append(c < 0 ? "\xEF\xBF\xBD" : bytes); });
    return out;
}

void nfdInto(const icu::Normalizer2& nfd, std::string_view in, std::string& out)
{
    out.clear();
    icu::StringByteSink<std::string> sink(&out);
    UErrorCode status = U_ZERO_ERROR;
    nfd.normalizeUTF8(0, icu::StringPiece(in.data(), static_cast<int32_t>(in.size())), sink, nullptr, status);
}

void foldInto(std::string_view in, std::string& out)
{
    out.clear();
    icu::StringByteSink<std::string> sink(&out);
    UErrorCode status = U_ZERO_ERROR;
    icu::CaseMap::utf8Fold(U_FOLD_CASE_DEFAULT, icu::StringPiece(in.data(), static_cast<int32_t>(in.size())),
                           sink, nullptr, status);
}

void nonAsciiKeyInto(std::string_view utf8, std::string& key)
{
    UErrorCode status = U_ZERO_ERROR;
    static const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    // Buffers kept per thread: a collection has many such names.
    thread_local std::string repaired, decomposed, folded;
    std::string_view input = utf8;
    if (!isValidUtf8(utf8)) {
        repaired = wellFormed(utf8);
        input = repaired;
    }
    nfdInto(*nfd, input, decomposed);
    foldInto(decomposed, folded);
    nfdInto(*nfd, folded, key);
}

}  // namespace

void unicodeKeyInto(std::string_view utf8, std::string& key)
{
    // Most names of a collection are ASCII: their key is their lower-case form.
    if (isAscii(utf8)) {
        asciiLowerInto(utf8, key);
        return;
    }
    nonAsciiKeyInto(utf8, key);
}

std::string unicodeKey(std::string_view utf8)
{
    std::string key;
    unicodeKeyInto(utf8, key);
    return key;
}

}  // namespace tokenade
