#include "name_differences.h"

#include "near_key.h"

#include "platform/foundation/unicode_key.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <array>
#include <bit>
#include <string>

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

// `name` after the steps of `steps`, in their fixed order.
std::string afterSteps(std::string_view name, std::string_view extension, Differences steps)
{
    const std::string key = steps.has(Difference::width) ? compatibilityKey(name) : unicodeKey(name);
    const std::string_view text = steps.has(Difference::extension) ? withoutDoubledExtension(key, extension) : key;
    std::string out;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const int32_t length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        const bool space = u_isUWhiteSpace(c);
        const bool mark = isMark(c);
        if (steps.has(Difference::accents) && mark)
            continue;
        if (steps.has(Difference::punctuation) && c == '&') {
            out += "and";
            continue;
        }
        if (steps.has(Difference::punctuation) && !u_isalnum(c) && !space && !mark)
            continue;
        if (steps.has(Difference::spacing) && space)
            continue;
        out.append(text.substr(start, i - start));
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
    auto alikeAfter = [&](Differences steps) {
        return afterSteps(expected, extension, steps) == afterSteps(found, extension, steps);
    };
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
