#include "name_differences.h"

#include "near_key.h"

#include "core/foundation/unicode_key.h"
#include "core/foundation/utf8_characters.h"

#include <unicode/uchar.h>

#include <array>
#include <bit>
#include <string>
#include <vector>

namespace tokenade {
namespace {

constexpr std::array kNamedOrder = {Difference::width, Difference::spacing, Difference::punctuation,
                                    Difference::accents, Difference::extension};
// The order in which a reader notices a change, for the kinds that explain the same one.
constexpr std::array kPreferredOrder = {Difference::spacing, Difference::punctuation, Difference::accents,
                                        Difference::width, Difference::extension};
constexpr Differences kEveryKind{0x1F};

bool isMark(UChar32 c)
{
    return U_GET_GC_MASK(c) & U_GC_M_MASK;
}

// A character of a key with what the steps ask of it, looked up once.
struct Character {
    std::string_view bytes;
    bool mark;
    bool space;
    bool ampersand;
    bool other;  // neither a letter, a digit, a space nor a mark
};

// A key read character by character, and where its doubled extension begins.
struct ReadKey {
    std::vector<Character> characters;
    size_t withoutDoubledExtension;  // how many characters remain without it
};

ReadKey readKey(const std::string& key, std::string_view extension)
{
    ReadKey read;
    const size_t kept = withoutDoubledExtension(key, extension).size();
    read.withoutDoubledExtension = 0;
    size_t end = 0;
    forEachCharacter(key, [&](UChar32 c, std::string_view bytes) {
        const bool space = u_isUWhiteSpace(c);
        const bool mark = isMark(c);
        read.characters.push_back({bytes, mark, space, c == '&', !u_isalnum(c) && !space && !mark});
        end += bytes.size();
        if (end <= kept)
            read.withoutDoubledExtension = read.characters.size();
    });
    return read;
}

// The keys a name's steps start from, each read once.
struct Keys {
    Keys(std::string_view name, std::string_view extension)
        : plainKey(unicodeKey(name))
        , compatibleKey(compatibilityKey(name))
        , plain(readKey(plainKey, extension))
        , compatible(readKey(compatibleKey, extension))
    {
    }
    std::string plainKey;
    std::string compatibleKey;
    ReadKey plain;
    ReadKey compatible;
};

// A name (by its keys) after the steps of `steps`, in their fixed order.
std::string afterSteps(const Keys& keys, Differences steps)
{
    const ReadKey& key = steps.has(Difference::width) ? keys.compatible : keys.plain;
    const size_t end = steps.has(Difference::extension) ? key.withoutDoubledExtension : key.characters.size();
    std::string out;
    for (size_t i = 0; i < end; ++i) {
        const Character& c = key.characters[i];
        if (steps.has(Difference::accents) && c.mark)
            continue;
        if (steps.has(Difference::punctuation) && c.ampersand) {
            out += "and";
            continue;
        }
        if (steps.has(Difference::punctuation) && c.other)
            continue;
        if (steps.has(Difference::spacing) && c.space)
            continue;
        out.append(c.bytes);
    }
    return out;
}

// Sets of kinds drawn from the preferred order, by size, then by preference.
Differences preferredSet(unsigned mask)
{
    Differences set;
    for (size_t i = 0; i < kPreferredOrder.size(); ++i) {
        if (mask & (1u << i))
            set = set.with(kPreferredOrder[i]);
    }
    return set;
}

}  // namespace

Differences differencesBetween(std::string_view expected, std::string_view found, std::string_view extension)
{
    const Keys expectedKeys(expected, extension);
    const Keys foundKeys(found, extension);
    auto alikeAfter = [&](Differences steps) { return afterSteps(expectedKeys, steps) == afterSteps(foundKeys, steps); };
    Differences needed;
    for (const Difference kind : kNamedOrder) {
        if (!alikeAfter(kEveryKind.without(kind)))
            needed = needed.with(kind);
    }
    if (alikeAfter(needed))
        return needed;
    for (int size = 1; size <= static_cast<int>(kPreferredOrder.size()); ++size) {
        for (unsigned mask = 1; mask < (1u << kPreferredOrder.size()); ++mask) {
            const Differences candidate{static_cast<uint8_t>(needed.bits | preferredSet(mask).bits)};
            if (std::popcount(mask) == size && alikeAfter(candidate))
                return candidate;
        }
    }
    return needed;
}

std::vector<std::string_view> differenceNames(Differences differences)
{
    static constexpr std::array<std::string_view, kNamedOrder.size()> kNames = {"width", "spacing", "punctuation",
                                                                              "accents", "extension"};
    std::vector<std::string_view> names;
    for (size_t i = 0; i < kNamedOrder.size(); ++i) {
        if (differences.has(kNamedOrder[i]))
            names.push_back(kNames[i]);
    }
    return names;
}

}  // namespace tokenade
