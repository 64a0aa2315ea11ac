#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tokenade {

// A size in the unit that suits it, in powers of 1000 as disks are sold:
// "512 bytes", "3.1 MB", "1.6 GB", "240 GB". One decimal below 100 of the
// unit, none above, so that a number never runs past three digits.
inline std::string byteSize(uint64_t bytes)
{
    if (bytes < 1000)
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    static constexpr std::array<const char*, 5> kUnits{"KB", "MB", "GB", "TB", "PB"};
    double value = static_cast<double>(bytes) / 1000;
    char number[32];
    for (size_t unit = 0;; value /= 1000, ++unit) {
        std::snprintf(number, sizeof number, value >= 99.95 ? "%.0f" : "%.1f", value);
        // Judged as printed: 999.96 KB reads "1.0 MB", never "1000 KB".
        if (std::strtod(number, nullptr) < 1000 || unit + 1 == kUnits.size())
            return std::string(number) + " " + kUnits[unit];
    }
}

}  // namespace tokenade
