// The order of the sorts and merges must be a total order that agrees with
// the keys: antisymmetric, transitive, and alike exactly when the keys are;
// a sort, on one thread or two, must leave every neighbour in order.
#include "core/foundation/unicode_key.h"
#include "core/sources/keyed_names.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tokenade;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Names separated by zero bytes.
    KeyedNames names;
    std::string name;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == 0) {
            names.add(name, static_cast<uint32_t>(names.size()));
            name.clear();
        } else {
            name.push_back(static_cast<char>(data[i]));
        }
    }
    // Triples grow fast: the order laws on the first few names, the sort on all.
    const size_t few = std::min<size_t>(names.size(), 8);
    for (size_t a = 0; a < few; ++a) {
        for (size_t b = 0; b < few; ++b) {
            const int ab = compareSringsCaseInsensitive(names[a], names[b]);
            if (ab != -compareSringsCaseInsensitive(names[b], names[a]) ||
                (ab == 0) != (unicodeKey(names[a].name()) == unicodeKey(names[b].name())))
                std::abort();
            for (size_t c = 0; c < few; ++c) {
                if (ab <= 0 && compareSringsCaseInsensitive(names[b], names[c]) <= 0 &&
                    compareSringsCaseInsensitive(names[a], names[c]) > 0)
                    std::abort();
            }
        }
    }
    names.sort();
    for (size_t i = 1; i < names.size(); ++i) {
        const int order = compareSringsCaseInsensitive(names[i - 1], names[i]);
        if (order > 0 || (order == 0 && names[i - 1].name() > names[i].name()))
            std::abort();
    }
    return 0;
}
