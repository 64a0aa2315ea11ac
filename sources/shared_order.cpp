#include "shared_order.h"

#include "platform/foundation/unicode_key.h"
#include "sources/path_rules.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace tokenade {
namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

std::string_view comparedPart(std::string_view name, SortBy by)
{
    return by == SortBy::LastPathComponent ? lastPathComponent(name) : name;
}

}  // namespace

int caseInsensitiveCompare(std::string_view first, std::string_view second)
{
    return sign(unicodeKey(first).compare(unicodeKey(second)));
}

int compareSringsCaseInsensitive(std::string_view first, std::string_view second, void*)
{
    return caseInsensitiveCompare(lastPathComponent(first), lastPathComponent(second));
}

void sortNames(NameList& names, SortBy by)
{
    std::vector<std::string> keys(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        unicodeKeyInto(comparedPart(names[i], by), keys[i]);

    std::vector<uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int byKey = keys[a].compare(keys[b]);
        return byKey != 0 ? byKey < 0 : names[a] < names[b];
    });

    NameList sorted;
    sorted.reserve(names.size());
    for (uint32_t index : order)
        sorted.push_back(std::move(names[index]));
    names = std::move(sorted);
}

}  // namespace tokenade
