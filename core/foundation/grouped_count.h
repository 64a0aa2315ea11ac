#pragma once

#include <cstddef>
#include <string>

namespace tokenade {

// A count as the window shows it, its thousands grouped by commas: "2,404".
inline std::string groupedCount(size_t count)
{
    std::string digits = std::to_string(count);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

}  // namespace tokenade
