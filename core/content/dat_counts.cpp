#include "dat_counts.h"

#include "core/content/dat_reader.h"
#include "core/foundation/grouped_count.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace tokenade {
namespace {

// Below this no DAT holds more games than the limit: every game takes more
// than 16 bytes of text. (Roms, a few bytes shorter at least, pass their
// limit only in far larger files, which are counted too.)
constexpr uint64_t kCountedFrom = uint64_t{16} * kDatGameLimit;
constexpr size_t kChunk = size_t{1} << 20;
constexpr size_t kCarried = 10;  // longer than the longest word and the bytes around it

bool opens(char c)
{
    return c == '<' || c == '(' || c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool closes(char c)
{
    return c == '(' || c == '/' || c == '>' || c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

struct Counts {
    uint64_t games = 0;
    uint64_t roms = 0;
};

// Counts the words whose following byte lies at or after `from`, so that a
// word across two chunks is counted once, in the second.
void countWords(std::string_view text, size_t from, Counts& counts)
{
    static constexpr std::array<std::string_view, 4> kWords = {"rom", "game", "machine", "software"};
    for (const std::string_view word : kWords) {
        for (size_t at = text.find(word, 1); at != std::string_view::npos; at = text.find(word, at + 1)) {
            const size_t after = at + word.size();
            if (after >= text.size() || after < from || !opens(text[at - 1]) || !closes(text[after]))
                continue;
            (word == "rom" ? counts.roms : counts.games) += 1;
        }
    }
}

}  // namespace

std::string whyPastTheDatLimits(int fd, uint64_t bytes)
{
    if (bytes < kCountedFrom)
        return "";
    std::string buffer(kCarried + kChunk, ' ');  // a space before the first word
    Counts counts;
    size_t carried = 1;
    for (uint64_t offset = 0; offset < bytes;) {
        const ssize_t got = ::pread(fd, buffer.data() + carried, kChunk, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return "";  // the reading proper says what is wrong
        offset += static_cast<uint64_t>(got);
        const size_t filled = carried + static_cast<size_t>(got);
        countWords(std::string_view(buffer.data(), filled), carried, counts);
        if (counts.roms > kDatRomLimit)
            return "more than " + groupedCount(kDatRomLimit) + " roms";
        if (counts.games > kDatGameLimit)
            return "more than " + groupedCount(kDatGameLimit) + " games";
        carried = std::min(filled, kCarried);
        std::memmove(buffer.data(), buffer.data() + filled - carried, carried);
    }
    return "";
}

}  // namespace tokenade
