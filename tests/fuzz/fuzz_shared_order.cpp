// The shared order must be a total order: antisymmetric, transitive, and
// equal exactly when the keys are; a sort must leave every neighbour in order.
#include "platform/foundation/unicode_key.h"
#include "sources/keyed_names.h"
#include "sources/shared_order.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tokenade;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Names separated by zero bytes.
    std::vector<std::string> names(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            names.emplace_back();
        else
            names.back().push_back(static_cast<char>(data[i]));
    }
    // Triples grow fast: the order laws on the first few names, the sort on all.
    const std::vector<std::string> few(names.begin(), names.begin() + std::min<size_t>(names.size(), 8));
    for (const auto& a : few) {
        for (const auto& b : few) {
            const int ab = caseInsensitiveCompare(a, b);
            if (ab != -caseInsensitiveCompare(b, a) || (ab == 0) != (unicodeKey(a) == unicodeKey(b)))
                std::abort();
            if (compareSringsCaseInsensitive(a, b) != -compareSringsCaseInsensitive(b, a))
                std::abort();
            for (const auto& c : few) {
                if (ab <= 0 && caseInsensitiveCompare(b, c) <= 0 && caseInsensitiveCompare(a, c) > 0)
                    std::abort();
            }
        }
    }
    KeyedNames keyed(names, SortBy::WholeName);
    keyed.sort();
    for (size_t i = 1; i < keyed.size(); ++i) {
        const int order = caseInsensitiveCompare(keyed.name(i - 1), keyed.name(i));
        if (order > 0 || (order == 0 && keyed.name(i - 1) > keyed.name(i)))
            std::abort();
    }
    return 0;
}
