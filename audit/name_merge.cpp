#include "name_merge.h"

#include <optional>

namespace tokenade {
namespace {

// Tests names handed over in ascending order against a sorted list, moving
// forward only, so that a whole merge passes every entry at most once.
class MembershipCursor {
public:
    explicit MembershipCursor(const KeyedNames& supported) : supported_(supported) {}

    bool holds(std::string_view key)
    {
        while (next_ < supported_.size() && supported_.key(next_) < key)
            ++next_;
        return next_ < supported_.size() && supported_.key(next_) == key;
    }

private:
    const KeyedNames& supported_;
    size_t next_ = 0;
};

}  // namespace

MergedNames mergeNames(KeyedNames& found, KeyedNames& expected, const KeyedNames* supported)
{
    std::optional<MembershipCursor> membership;
    if (supported)
        membership.emplace(*supported);

    MergedNames merged;
    size_t f = 0;
    size_t e = 0;
    auto foundOnly = [&] {
        const bool isSupported = membership && membership->holds(found.key(f));
        (isSupported ? merged.extra : merged.unknown).push_back(std::move(found.name(f)));
        ++f;
    };
    auto expectedOnly = [&] {
        if (!membership || membership->holds(expected.key(e)))
            merged.missing.push_back(std::move(expected.name(e)));
        ++e;
    };
    while (f < found.size() || e < expected.size()) {
        if (e == expected.size()) {
            foundOnly();
        } else if (f == found.size()) {
            expectedOnly();
        } else {
            const int order = found.key(f).compare(expected.key(e));
            if (order == 0) {
                merged.valid.push_back(std::move(expected.name(e)));
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

MergedNames mergeNames(const NameList& found, const NameList& expected, const NameList* supported)
{
    KeyedNames keyedFound(found, SortBy::WholeName);
    KeyedNames keyedExpected(expected, SortBy::WholeName);
    if (!supported)
        return mergeNames(keyedFound, keyedExpected);
    const KeyedNames keyedSupported(*supported, SortBy::WholeName);
    return mergeNames(keyedFound, keyedExpected, &keyedSupported);
}

}  // namespace tokenade
