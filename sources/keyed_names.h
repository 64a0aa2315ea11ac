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
    void reserve(size_t count);

    size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }
    const std::string& name(size_t i) const { return names_[i]; }
    std::string& name(size_t i) { return names_[i]; }
    std::string_view key(size_t i) const
    {
        const uint32_t start = i == 0 ? 0 : keyEnds_[i - 1];
        return std::string_view(keyBytes_).substr(start, keyEnds_[i] - start);
    }

    // Sorts by key, names that compare alike by their own bytes; uses up to
    // `threads` threads for a large list.
    void sort(unsigned threads = 1);

    // Hands the names over; the keys go with them.
    NameList takeNames();

private:
    NameList names_;
    std::string keyBytes_;
    std::vector<uint32_t> keyEnds_;
};

}  // namespace tokenade
