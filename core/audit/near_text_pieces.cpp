#include "near_text_pieces.h"

#include "near_key.h"

#include "core/foundation/text_decoding.h"
#include "core/foundation/utf8_characters.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <string>

namespace tokenade {
namespace {

// Where most characters of game titles lie outside ASCII, in pages of 256
// characters: Latin, Greek and Cyrillic with their accents; punctuation,
// letter-like symbols, number forms and circled digits; kana; the common
// ideographs; full-width and half-width forms.
struct PageRange {
    char32_t first;
    char32_t end;
};
constexpr PageRange kStoredPages[] = {{0x00, 0x06}, {0x1D, 0x25}, {0x30, 0x31}, {0x4E, 0xA0}, {0xFF, 0x100}};
constexpr size_t kPageSize = 256;
// The place of each page of the first plane among the stored ones, or -1.
constexpr std::array<int16_t, 256> kPageSlots = [] {
    std::array<int16_t, 256> slots{};
    slots.fill(-1);
    int16_t next = 0;
    for (const PageRange& range : kStoredPages) {
        for (char32_t page = range.first; page < range.end; ++page)
            slots[page] = next++;
    }
    return slots;
}();
constexpr size_t kStoredCount = [] {
    size_t count = 0;
    for (const PageRange& range : kStoredPages)
        count += (range.end - range.first) * kPageSize;
    return count;
}();
constexpr size_t kBlockSize = 64;
constexpr size_t kBlockCount = kStoredCount / kBlockSize;
constexpr size_t kNotStored = kStoredCount;

size_t storedIndex(char32_t character)
{
    if (character >= 0x10000 || kPageSlots[character / kPageSize] < 0)
        return kNotStored;
    return kPageSlots[character / kPageSize] * kPageSize + character % kPageSize;
}

char32_t storedCharacter(size_t index)
{
    const auto page = std::find(kPageSlots.begin(), kPageSlots.end(), static_cast<int16_t>(index / kPageSize));
    return static_cast<char32_t>((page - kPageSlots.begin()) * kPageSize + index % kPageSize);
}

struct StoredPiece {
    NearTextPiece piece;
    bool usable = false;
};

struct PieceStore {
    std::array<StoredPiece, kStoredCount> pieces{};
    std::array<std::atomic<bool>, kBlockCount> filled{};
    std::mutex filling;
};
constinit PieceStore store;

const icu::Normalizer2& nfd()
{
    UErrorCode status = U_ZERO_ERROR;
    static const icu::Normalizer2* form = icu::Normalizer2::getNFDInstance(status);
    return *form;
}

StoredPiece computedPiece(char32_t character)
{
    std::string text;
    appendUtf8(text, character);
    const std::string key = compatibilityKey(text);
    std::string near;
    appendNearText(key, near);
    std::string tail;
    forEachCharacter(key, [&](UChar32 c, std::string_view) { tail += (c >= 0 && c < 0x80) ? static_cast<char>(c) : '\x80'; });
    StoredPiece stored;
    stored.usable = near.size() <= NearTextPiece::kBytes && tail.size() <= NearTextPiece::kBytes;
    if (stored.usable) {
        near.copy(stored.piece.near, near.size());
        tail.copy(stored.piece.tail, tail.size());
        stored.piece.nearSize = static_cast<uint8_t>(near.size());
        stored.piece.tailSize = static_cast<uint8_t>(tail.size());
    }
    return stored;
}

void putCharacter(NearTextPiece& piece, char32_t character)
{
    int32_t size = piece.nearSize;
    U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(piece.near), size, character);
    piece.nearSize = static_cast<uint8_t>(size);
    piece.tail[piece.tailSize++] = '\x80';
}

// A Hangul syllable decomposes by arithmetic into two or three jamo, letters
// that are their own forms.
void putHangulSyllable(NearTextPiece& piece, char32_t syllable)
{
    const char32_t index = syllable - 0xAC00;
    putCharacter(piece, 0x1100 + index / 588);
    putCharacter(piece, 0x1161 + index % 588 / 28);
    if (index % 28 != 0)
        putCharacter(piece, 0x11A7 + index % 28);
}

// A character that decomposes into nothing, is no mark that moves, folds to
// itself and is its own compatibility form (most ideographs, Hebrew, Thai)
// is its own near text. Both normalizers answer from a table lookup; the
// Changes_When_NFKC_Casefolded property would normalize a string.
bool putPlainCharacter(NearTextPiece& piece, char32_t character)
{
    UErrorCode status = U_ZERO_ERROR;
    static const icu::Normalizer2* compatible = icu::Normalizer2::getNFKCCasefoldInstance(status);
    const UChar32 c = static_cast<UChar32>(character);
    if (!nfd().isInert(c) || !compatible->isInert(c) || u_hasBinaryProperty(c, UCHAR_CHANGES_WHEN_CASEFOLDED))
        return false;
    if (u_isalnum(c)) {
        putCharacter(piece, character);
    } else {
        if (!(U_GET_GC_MASK(c) & U_GC_M_MASK))
            piece.near[piece.nearSize++] = ' ';
        piece.tail[piece.tailSize++] = '\x80';
    }
    return true;
}

// Most ideographs are plain: a few table lookups instead of normalizing strings.
StoredPiece storedPiece(char32_t character)
{
    StoredPiece stored;
    stored.usable = putPlainCharacter(stored.piece, character);
    return stored.usable ? stored : computedPiece(character);
}

// Out of line: its strings would weigh on every lookup.
[[gnu::noinline]] void fillBlock(size_t block)
{
    std::lock_guard lock(store.filling);
    if (store.filled[block].load(std::memory_order_relaxed))
        return;
    const size_t end = std::min(kStoredCount, (block + 1) * kBlockSize);
    for (size_t index = block * kBlockSize; index < end; ++index)
        store.pieces[index] = storedPiece(storedCharacter(index));
    store.filled[block].store(true, std::memory_order_release);
}

}  // namespace

const NearTextPiece* nearTextPiece(char32_t character, NearTextPiece& scratch)
{
    const size_t index = storedIndex(character);
    if (index != kNotStored) {
        const size_t block = index / kBlockSize;
        if (!store.filled[block].load(std::memory_order_acquire))
            fillBlock(block);
        const StoredPiece& stored = store.pieces[index];
        return stored.usable ? &stored.piece : nullptr;
    }
    scratch.nearSize = 0;
    scratch.tailSize = 0;
    if (character >= 0xAC00 && character <= 0xD7A3) {
        putHangulSyllable(scratch, character);
        return &scratch;
    }
    return putPlainCharacter(scratch, character) ? &scratch : nullptr;
}

}  // namespace tokenade
