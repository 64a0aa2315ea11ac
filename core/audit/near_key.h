#pragma once

#include <string>
#include <string_view>

namespace tokenade {

// The key under which two file names count as nearly the same: a supported
// game whose archive is missing may lie there as "Dr Mario (Japan, USA).zip"
// for "Dr. Mario (Japan, USA).zip". Starting from unicodeKey(name), it folds
// compatibility forms (full-width letters, ligatures, circled digits: NFKC
// with case folding), drops accents (combining marks), reads "&" as "and" and
// every character that is not a letter or a digit as a space, merges runs of
// spaces and trims them at both ends. A doubled extension at the end counts
// once: with extension "zip", "x.ZIP.zip" has the near key of "x.zip".
// `extension` is lower case without the period. Words in brackets stay, so
// "Alpha (USA).zip" and "Alpha (Europe).zip" keep different near keys. Bytes
// that are not UTF-8 count as U+FFFD, as in unicodeKey.
//   "Dr. Mario (Japan, USA).zip" -> "dr mario japan usa zip"
//   "Tom & Jerry.zip"            -> "tom and jerry zip"
std::string nearKey(std::string_view name, std::string_view extension);

// The steps of nearKey, for callers that take it apart (the near-key hash,
// the differences between two names).

// unicodeKey(name) with compatibility forms folded: NFD(NFKC_Casefold(key)).
// Default-ignorable characters (soft hyphen, zero-width space) are gone;
// accents stay as combining marks. An ASCII name gives its lower-case form.
std::string compatibilityKey(std::string_view name);

// compatibilityKey(name) without its accents (combining marks); spaces and
// punctuation stay: "Ｐｏｋémon Red!" -> "pokemon red!". What a search
// compares when accents and width should not matter, as for near keys. An
// ASCII name gives its lower case.
std::string looseKey(std::string_view name);

// `key` without the repeats of "." + extension at its end: "x.zip.ZIP.zip"
// becomes "x.zip". ASCII letters compare without regard to case, other bytes
// as they are, so that a key and an ASCII name give the same answer.
std::string_view withoutDoubledExtension(std::string_view key, std::string_view extension);

// Appends `key` (a compatibility key, UTF-8) read character by character:
// combining marks dropped, "&" as " and ", a letter or digit as itself, any
// other character as one space. Does not merge or trim the spaces.
void appendNearText(std::string_view key, std::string& out);

}  // namespace tokenade
