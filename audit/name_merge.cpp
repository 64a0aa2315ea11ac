#include "name_merge.h"

#include <algorithm>
#include <optional>
#include <thread>

namespace tokenade {
namespace {

// Positions [begin, end) of a keyed list.
struct Span {
    size_t begin;
    size_t end;
};

// Tests names handed over in ascending order against a sorted list, moving
// forward only, so that a whole merge passes every entry at most once.
class MembershipCursor {
public:
    MembershipCursor(const KeyedNames& supported, Span span) : supported_(supported), next_(span.begin), end_(span.end) {}

    bool holds(std::string_view key)
    {
        while (next_ < end_ && supported_.key(next_) < key)
            ++next_;
        return next_ < end_ && supported_.key(next_) == key;
    }

private:
    const KeyedNames& supported_;
    size_t next_;
    size_t end_;
};

void mergeSpans(KeyedNames& found, Span foundSpan, KeyedNames& expected, Span expectedSpan,
                const KeyedNames* supported, Span supportedSpan, MergedNames& merged)
{
    std::optional<MembershipCursor> membership;
    if (supported)
        membership.emplace(*supported, supportedSpan);

    size_t f = foundSpan.begin;
    size_t e = expectedSpan.begin;
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
    while (f < foundSpan.end || e < expectedSpan.end) {
        if (e == expectedSpan.end) {
            foundOnly();
        } else if (f == foundSpan.end) {
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
}

// First position whose key is not below `key`.
size_t lowerBound(const KeyedNames& names, std::string_view key)
{
    size_t low = 0;
    size_t high = names.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (names.key(middle) < key)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void appendMoved(NameList& to, NameList& from)
{
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

constexpr size_t kParallelMergeThreshold = 100000;

}  // namespace

MergedNames mergeNames(KeyedNames& found, KeyedNames& expected, const KeyedNames* supported, unsigned threads)
{
    const size_t supportedSize = supported ? supported->size() : 0;
    MergedNames merged;
    if (threads < 2 || found.size() + expected.size() < kParallelMergeThreshold || found.empty()) {
        mergeSpans(found, {0, found.size()}, expected, {0, expected.size()}, supported, {0, supportedSize}, merged);
        return merged;
    }
    // The merge is a sorted union: everything below a key comes before
    // everything from it, so the two sides of one key merge apart, on two
    // threads, and join into exactly the serial result.
    const std::string pivot(found.key(found.size() / 2));
    const size_t foundSplit = lowerBound(found, pivot);
    const size_t expectedSplit = lowerBound(expected, pivot);
    const size_t supportedSplit = supported ? lowerBound(*supported, pivot) : 0;
    MergedNames upper;
    std::thread upperHalf([&] {
        mergeSpans(found, {foundSplit, found.size()}, expected, {expectedSplit, expected.size()}, supported,
                   {supportedSplit, supportedSize}, upper);
    });
    mergeSpans(found, {0, foundSplit}, expected, {0, expectedSplit}, supported, {0, supportedSplit}, merged);
    upperHalf.join();
    appendMoved(merged.valid, upper.valid);
    appendMoved(merged.missing, upper.missing);
    appendMoved(merged.extra, upper.extra);
    appendMoved(merged.unknown, upper.unknown);
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
