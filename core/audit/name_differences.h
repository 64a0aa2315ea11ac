#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tokenade {

// A kind of difference between two names with the same near key.
enum class Difference : uint8_t {
    width = 1 << 0,        // compatibility forms: "ＦＵＬＬ" for "FULL", "ﬁ" for "fi"
    spacing = 1 << 1,      // spaces added, removed or doubled
    punctuation = 1 << 2,  // "&" for "and", characters other than letters, digits and spaces
    accents = 1 << 3,      // combining marks: "Pokemon" for "Pokémon"
    extension = 1 << 4,    // "x.zip.zip" for "x.zip"
};

// A small set of kinds.
struct Differences {
    uint8_t bits = 0;

    bool has(Difference kind) const { return bits & static_cast<uint8_t>(kind); }
    bool empty() const { return bits == 0; }
    Differences with(Difference kind) const { return {static_cast<uint8_t>(bits | static_cast<uint8_t>(kind))}; }
    Differences without(Difference kind) const { return {static_cast<uint8_t>(bits & ~static_cast<uint8_t>(kind))}; }
};

// How `found` differs from `expected`. Each kind has a step that removes it
// (width: compatibility folding; extension: a doubled extension counted once;
// accents: combining marks dropped; punctuation: "&" read as "and", every
// character other than a letter, digit, space or mark dropped; spacing: every
// space dropped), applied in that order after unicodeKey. A kind belongs to
// the differences when applying every step but its own leaves the names
// different. When two kinds each explain the same change, so that neither
// is needed (a no-break space is both a width and a spacing difference), the
// smallest set of kinds that explains everything is added, preferring
// spacing, punctuation, accents, width, extension in that order. Letter case
// alone is no difference. Names whose near keys differ may have differences
// beyond these kinds; they then get every kind whose absence leaves them
// different. `extension` as for nearKey.
//   "Dr. Mario" / "Dr Mario"           -> punctuation
//   "Zelda: A Link" / "Zelda - A Link" -> spacing, punctuation (one space against two)
Differences differencesBetween(std::string_view expected, std::string_view found, std::string_view extension);

// The words for `differences`, in the order width, spacing, punctuation,
// accents, extension.
std::vector<std::string_view> differenceNames(Differences differences);

}  // namespace tokenade
