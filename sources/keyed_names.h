#pragma once

#include "sources/name_list.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// Which part of each name the order compares.
enum class SortBy {
    LastPathComponent,  // the shared order
    WholeName,          // the order of the merges
};

// Names with their comparison keys side by side, each key computed once. The
// keys live in one buffer, so a million names cost no million allocations.
class KeyedNames {
public:
    KeyedNames() = default;
    // Takes the names and computes their keys; does not sort.
    KeyedNames(NameList names, SortBy by);

    void add(std::string name, SortBy by);
    void append(KeyedNames&& other);  // other's names after this one's

    size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }
    // The i-th name and key in the current order (sorted, once sort has run).
    const std::string& name(size_t i) const { return names_[at(i)]; }
    std::string& name(size_t i) { return names_[at(i)]; }
    std::string_view key(size_t i) const { return storedKey(at(i)); }

    // Sorts by key, names that compare alike by their own bytes; uses up to
    // `threads` threads for a large list.
    void sort(unsigned threads = 1);

    // Hands the names over; the keys go with them.
    NameList takeNames();

private:
    // Puts names and keys into the current order, so that order_ can go.
    void materialize();
    // Sorting records where each name stands rather than moving names and keys around.
    size_t at(size_t i) const { return order_.empty() ? i : order_[i]; }
    std::string_view storedKey(size_t stored) const
    {
        const uint32_t start = stored == 0 ? 0 : keyEnds_[stored - 1];
        return std::string_view(keyBytes_).substr(start, keyEnds_[stored] - start);
    }

    NameList names_;
    std::string keyBytes_;
    std::vector<uint32_t> keyEnds_;
    std::vector<uint32_t> order_;  // empty: stored order
};

}  // namespace tokenade
