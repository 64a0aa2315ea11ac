#include "name_merge.h"

#include "core/foundation/mapped_memory.h"

#include <algorithm>
#include <optional>
#include <thread>

namespace tokenade {
namespace {

// Found records passed before their pages are given back: 4 MiB. Each
// madvise makes the other cores drop their cached page mappings, so it is
// made a few times a merge, not every few pages.
constexpr ptrdiff_t kReleaseStretch = 4 << 20;

// Positions [begin, end) of a keyed list.
struct Span {
    size_t begin;
    size_t end;
    size_t size() const { return end - begin; }
};

ResultEntry entryOf(const KeyedName& name, uint32_t folder)
{
    return ResultEntry{name.bytes, name.size(), folder};
}

bool sameKey(const KeyedName& first, const KeyedName& second)
{
    return compareSringsCaseInsensitive(first, second) == 0;
}

// The end of the run of names that share the key of names[from].
size_t runEnd(const KeyedNames& names, size_t from, size_t end)
{
    size_t last = from + 1;
    while (last < end && sameKey(names[from], names[last]))
        ++last;
    return last;
}

// Tests names handed over in ascending order against a sorted list, moving
// forward only, so that a whole merge passes every entry at most once.
class MembershipCursor {
public:
    MembershipCursor(const KeyedNames& supported, Span span) : supported_(supported), next_(span.begin), end_(span.end) {}

    bool holds(const KeyedName& name)
    {
        while (next_ < end_ && compareSringsCaseInsensitive(supported_[next_], name) < 0)
            ++next_;
        return next_ < end_ && sameKey(supported_[next_], name);
    }

private:
    const KeyedNames& supported_;
    size_t next_;
    size_t end_;
};

class SpanMerge {
public:
    SpanMerge(const KeyedNames& found, const KeyedNames& expected, const KeyedNames* supported, Span supportedSpan,
              MergedNames& merged, bool releaseFound)
        : found_(found), expected_(expected), merged_(merged), releaseFound_(releaseFound)
    {
        if (supported)
            membership_.emplace(*supported, supportedSpan);
    }

    void run(Span foundSpan, Span expectedSpan)
    {
        size_t f = foundSpan.begin;
        size_t e = expectedSpan.begin;
        released_ = recordAt(f);
        while (f < foundSpan.end || e < expectedSpan.end) {
            if (releaseFound_)
                releasePassed(f);
            const int order = e == expectedSpan.end ? -1
                            : f == foundSpan.end    ? 1
                                                    : compareSringsCaseInsensitive(found_[f], expected_[e]);
            if (order < 0) {
                foundOnly(found_[f++]);
            } else if (order > 0) {
                expectedOnly(expected_[e++]);
            } else {
                const size_t foundEnd = runEnd(found_, f, foundSpan.end);
                const size_t expectedEnd = runEnd(expected_, e, expectedSpan.end);
                mergeRun({f, foundEnd}, {e, expectedEnd});
                f = foundEnd;
                e = expectedEnd;
            }
        }
    }

private:
    // Nothing reads a found record behind `f` again: its pages may go.
    void releasePassed(size_t f)
    {
        char* passed = recordAt(f);
        if (passed - released_ >= kReleaseStretch)
            released_ = discardPagesBefore(released_, passed);
    }

    char* recordAt(size_t f) const
    {
        // Only a merge whose caller gave `found` up releases its records.
        return const_cast<char*>(reinterpret_cast<const char*>(found_.all().data() + f));
    }

    void foundOnly(const KeyedName& name)
    {
        if (membership_ && membership_->holds(name)) {
            merged_.extra.push_back(entryOf(name, name.origin));
            return;
        }
        merged_.unknown.push_back(entryOf(name, name.origin));
    }

    void expectedOnly(const KeyedName& name)
    {
        if (!membership_ || membership_->holds(name))
            merged_.missing.push_back(entryOf(name, kNoFolder));
    }

    // Names of one key on both sides. Each side is in byte order (the sort
    // orders names that compare alike by their bytes), so exact twins are
    // found in one pass and every list below is filled in byte order.
    void mergeRun(Span found, Span expected)
    {
        if (found.size() == 1 && expected.size() == 1) {
            merged_.valid.push_back(entryOf(expected_[expected.begin], found_[found.begin].origin));
            return;
        }
        std::vector<size_t> pairedWith(expected.size(), SIZE_MAX);  // expected offset -> found position
        std::vector<bool> foundPaired(found.size(), false);
        for (size_t f = found.begin, e = expected.begin; f < found.end && e < expected.end;) {
            const int order = found_[f].name().compare(expected_[e].name());
            if (order == 0) {
                pairedWith[e - expected.begin] = f;
                foundPaired[f - found.begin] = true;
            }
            f += order <= 0;
            e += order >= 0;
        }
        // The others pair in order.
        size_t nextFound = found.begin;
        for (size_t e = 0; e < expected.size(); ++e) {
            if (pairedWith[e] != SIZE_MAX)
                continue;
            while (nextFound < found.end && foundPaired[nextFound - found.begin])
                ++nextFound;
            if (nextFound == found.end)
                break;
            pairedWith[e] = nextFound;
            foundPaired[nextFound - found.begin] = true;
        }
        for (size_t e = 0; e < expected.size(); ++e) {
            const KeyedName& name = expected_[expected.begin + e];
            if (pairedWith[e] != SIZE_MAX)
                merged_.valid.push_back(entryOf(name, found_[pairedWith[e]].origin));
        }
        for (size_t e = 0; e < expected.size(); ++e) {
            if (pairedWith[e] == SIZE_MAX)
                expectedOnly(expected_[expected.begin + e]);
        }
        const size_t someValid = merged_.valid.size() - 1;  // a run always pairs one name at least
        for (size_t f = found.begin; f < found.end; ++f) {
            if (foundPaired[f - found.begin])
                continue;
            const size_t unknownBefore = merged_.unknown.size();
            foundOnly(found_[f]);
            if (merged_.unknown.size() > unknownBefore)
                merged_.copies.emplace_back(unknownBefore, someValid);
        }
    }

    const KeyedNames& found_;
    const KeyedNames& expected_;
    std::optional<MembershipCursor> membership_;
    MergedNames& merged_;
    const bool releaseFound_;
    char* released_ = nullptr;  // found records before this are given back
};

// First position whose key is not below that of `pivot`.
size_t lowerBound(const KeyedNames& names, const KeyedName& pivot)
{
    const auto all = names.all();
    return static_cast<size_t>(std::lower_bound(all.begin(), all.end(), pivot,
                                                [](const KeyedName& name, const KeyedName& key) {
                                                    return compareSringsCaseInsensitive(name, key) < 0;
                                                }) -
                               all.begin());
}

// Room for the most each list can take from `found` and `expected` names:
// pages never written cost no memory, and a list that never grows is never
// copied. Huge pages: the lists are filled front to back, and most found
// names of a large collection may well be unknown.
void reserveFor(MergedNames& merged, size_t found, size_t expected, bool supported)
{
    reserveLarge(merged.valid, std::min(found, expected));
    reserveLarge(merged.missing, expected);
    reserveLarge(merged.unknown, found);
    if (supported)
        reserveLarge(merged.extra, found);
}

// Moves every entry of `from` to the end of `to` (reserved for them), a
// stretch at a time, each stretch's pages given back once copied.
template <typename T>
void appendAll(std::vector<T>& to, std::vector<T>& from)
{
    constexpr size_t kStretch = kReleaseStretch / sizeof(T);
    for (size_t done = 0; done < from.size();) {
        const size_t count = std::min(kStretch, from.size() - done);
        to.insert(to.end(), from.begin() + done, from.begin() + done + count);
        discardPages(from.data() + done, count * sizeof(T));
        done += count;
    }
    from = std::vector<T>();
}

constexpr size_t kParallelMergeThreshold = 100000;

MergedNames mergeAll(const KeyedNames& found, const KeyedNames& expected, const KeyedNames* supported,
                     unsigned threads, bool releaseFound)
{
    const Span allSupported{0, supported ? supported->size() : 0};
    MergedNames merged;
    reserveFor(merged, found.size(), expected.size(), supported != nullptr);
    if (threads < 2 || found.size() + expected.size() < kParallelMergeThreshold || found.empty()) {
        SpanMerge(found, expected, supported, allSupported, merged, releaseFound)
            .run({0, found.size()}, {0, expected.size()});
        return merged;
    }
    // The merge is a sorted union: everything below a key comes before
    // everything from it, so the two sides of one key merge apart, on two
    // threads, and join into exactly the serial result.
    const KeyedName pivot = found[found.size() / 2];
    const size_t foundSplit = lowerBound(found, pivot);
    const size_t expectedSplit = lowerBound(expected, pivot);
    const size_t supportedSplit = supported ? lowerBound(*supported, pivot) : 0;
    MergedNames upper;
    reserveFor(upper, found.size() - foundSplit, expected.size() - expectedSplit, supported != nullptr);
    std::thread upperHalf([&] {
        SpanMerge(found, expected, supported, {supportedSplit, allSupported.end}, upper, releaseFound)
            .run({foundSplit, found.size()}, {expectedSplit, expected.size()});
    });
    SpanMerge(found, expected, supported, {0, supportedSplit}, merged, releaseFound)
        .run({0, foundSplit}, {0, expectedSplit});
    upperHalf.join();
    for (const auto& [unknown, valid] : upper.copies)
        merged.copies.emplace_back(unknown + merged.unknown.size(), valid + merged.valid.size());
    appendAll(merged.valid, upper.valid);
    appendAll(merged.missing, upper.missing);
    appendAll(merged.extra, upper.extra);
    appendAll(merged.unknown, upper.unknown);
    return merged;
}

}  // namespace

MergedNames mergeNames(const KeyedNames& found, const KeyedNames& expected, const KeyedNames* supported,
                       unsigned threads)
{
    return mergeAll(found, expected, supported, threads, false);
}

MergedNames mergeUsingUpFound(KeyedNames& found, const KeyedNames& expected, const KeyedNames* supported,
                              unsigned threads)
{
    MergedNames merged = mergeAll(found, expected, supported, threads, true);
    found.dropNames();
    return merged;
}

}  // namespace tokenade
