#include "name_merge.h"

#include "platform/foundation/unicode_key.h"

#include <string>
#include <vector>

namespace tokenade {
namespace {

std::vector<std::string> keysOf(const NameList& names)
{
    std::vector<std::string> keys(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        unicodeKeyInto(names[i], keys[i]);
    return keys;
}

// Tests names handed over in ascending order against a sorted list, moving
// forward only, so that a whole merge passes every entry at most once.
class MembershipCursor {
public:
    explicit MembershipCursor(const std::vector<std::string>& keys) : keys_(keys) {}

    bool holds(const std::string& key)
    {
        while (next_ < keys_.size() && keys_[next_] < key)
            ++next_;
        return next_ < keys_.size() && keys_[next_] == key;
    }

private:
    const std::vector<std::string>& keys_;
    size_t next_ = 0;
};

}  // namespace

MergedNames mergeNames(const NameList& found, const NameList& expected, const NameList* supported)
{
    const std::vector<std::string> foundKeys = keysOf(found);
    const std::vector<std::string> expectedKeys = keysOf(expected);
    const std::vector<std::string> supportedKeys = supported ? keysOf(*supported) : std::vector<std::string>();
    MembershipCursor membership(supportedKeys);

    MergedNames merged;
    size_t f = 0;
    size_t e = 0;
    auto foundOnly = [&] {
        if (supported && membership.holds(foundKeys[f]))
            merged.extra.push_back(found[f]);
        else
            merged.unknown.push_back(found[f]);
        ++f;
    };
    auto expectedOnly = [&] {
        if (!supported || membership.holds(expectedKeys[e]))
            merged.missing.push_back(expected[e]);
        ++e;
    };
    while (f < found.size() || e < expected.size()) {
        if (e == expected.size()) {
            foundOnly();
        } else if (f == found.size()) {
            expectedOnly();
        } else {
            const int order = foundKeys[f].compare(expectedKeys[e]);
            if (order == 0) {
                merged.valid.push_back(expected[e]);
                ++f;
                ++e;
            } else if (order < 0) {
                foundOnly();
            } else {
                expectedOnly();
            }
        }
    }
    return merged;
}

}  // namespace tokenade
