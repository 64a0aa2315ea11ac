#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tokenade {

struct ResultEntry;

// Files that are there under another name than the one a missing game
// expects, as an audit found them. Every entry views the result's storage.
struct NearMisses {
    // A missing name and the one unknown file with the same near key: the
    // only pairs a rename may mend.
    struct Pair {
        const ResultEntry* expected;  // in the missing category
        const ResultEntry* found;     // in the unknown category, with its folder
        uint8_t differences;          // a set of Difference (audit/name_differences.h)
    };
    // An unknown file whose key is that of a valid name: a second spelling of
    // a game that is there.
    struct Copy {
        const ResultEntry* file;
        const ResultEntry* copyOf;  // in the valid category
    };
    // An unknown file named as a whole list line plus the extension, while a
    // period in that line makes it expect a shorter name.
    struct Cut {
        std::string line;
        std::string expected;      // the shorter name the line expects
        const ResultEntry* found;  // in the unknown category
    };

    bool searched = false;  // whether they were looked for at all
    std::vector<Pair> pairs;
    // Names of one near key with more than one missing name or more than one
    // file: never renamed, the user decides. Missing names first.
    std::vector<std::vector<const ResultEntry*>> ambiguous;
    std::vector<Copy> copies;
    std::vector<Cut> cut;
};

}  // namespace tokenade
