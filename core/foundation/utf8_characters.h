#pragma once

#include <unicode/utf8.h>

#include <cstdint>
#include <string_view>

namespace tokenade {

// Calls `visit(c, bytes)` for each character of the UTF-8 `text`: its code
// point, negative for an ill-formed sequence, and the bytes it took.
template <typename Visit>
void forEachCharacter(std::string_view text, Visit&& visit)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const int32_t length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        visit(c, text.substr(start, i - start));
    }
}

}  // namespace tokenade
