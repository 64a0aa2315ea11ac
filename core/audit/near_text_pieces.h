#pragma once

#include <cstddef>
#include <cstdint>

namespace tokenade {

// What one character outside ASCII adds to a near key, for the near-key hash.
struct NearTextPiece {
    static constexpr size_t kBytes = 12;

    char near[kBytes];  // appendNearText(compatibilityKey(character)), spaces not merged
    char tail[kBytes];  // compatibilityKey(character): ASCII as itself, any other character as 0x80
    uint8_t nearSize = 0;
    uint8_t tailSize = 0;
};

// The piece of `character`, a scalar value from U+0080 up: a stored one, or
// `scratch` filled in. Nothing when the piece would not fit (a long
// ligature) or the character lies outside the common scripts and is not its
// own compatibility form. Pieces of the common scripts and ideographs are
// computed on first use, 64 at a time, and kept for the process (about
// 700 KB at most); any thread may ask.
//
// The near text of a name is the near text of its characters one after the
// other: normalization works character by character except that it sorts
// runs of combining marks, and the marks are dropped. The one mark that
// leaves a letter behind, U+0345 (iota), sorts last in any run, so the
// letters keep their order.
const NearTextPiece* nearTextPiece(char32_t character, NearTextPiece& scratch);

}  // namespace tokenade
