#include "report_text.h"

#include "core/foundation/text_decoding.h"

#include <cstdint>
#include <cstring>

namespace tokenade {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isPlainAscii(char c)
{
    return (c >= 0x20 && c < 0x7F) || c == '\t';
}

// Control characters beyond ASCII that a line must not carry: C1 controls
// (NEL among them) and the Unicode line and paragraph separators.
bool breaksLines(std::string_view sequence)
{
    if (sequence.size() == 2 && sequence[0] == '\xC2')
        return static_cast<unsigned char>(sequence[1]) < 0xA0;
    return sequence == "\xE2\x80\xA8" || sequence == "\xE2\x80\xA9";
}

// How many bytes `text` begins with that are printable ASCII, eight at a time.
size_t printableAsciiPrefix(std::string_view text)
{
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t block;
        std::memcpy(&block, text.data() + i, 8);
        constexpr uint64_t kOnes = 0x0101010101010101ULL;
        constexpr uint64_t kHighs = 0x8080808080808080ULL;
        const uint64_t belowSpace = (block - kOnes * 0x20) & ~block;
        const uint64_t fromDelete = (block + kOnes * 0x01) & kHighs;  // 0x7F and up set the high bit
        if (((belowSpace | block | fromDelete) & kHighs) != 0)
            break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x20 && static_cast<unsigned char>(text[i]) < 0x7F)
        ++i;
    return i;
}

// The length of the UTF-8 sequence that `text` begins with when a line may
// carry it as it is; 0 for a control character, a byte that is not UTF-8 and
// a sequence that breaks lines.
size_t keptSequenceLength(std::string_view text)
{
    if (isPlainAscii(text[0]))
        return 1;
    if (static_cast<unsigned char>(text[0]) < 0x80)
        return 0;
    const size_t length = utf8SequenceLength(text);
    return length != 0 && !breaksLines(text.substr(0, length)) ? length : 0;
}

// How many bytes `name` begins with that a report line carries as they are.
size_t keptAsIsLength(std::string_view name)
{
    size_t i = printableAsciiPrefix(name);
    while (i < name.size()) {
        const size_t length = keptSequenceLength(name.substr(i));
        if (length == 0)
            return i;
        i += length;
        i += printableAsciiPrefix(name.substr(i));
    }
    return i;
}

// Copies what may stay in one piece, so that a name outside ASCII is not
// copied a character at a time.
void appendDisplayName(std::string& out, std::string_view name)
{
    for (;;) {
        const size_t kept = keptAsIsLength(name);
        out.append(name.data(), kept);
        if (kept == name.size())
            return;
        out.append(kReplacement);
        const size_t length = static_cast<unsigned char>(name[kept]) < 0x80 ? 0 : utf8SequenceLength(name.substr(kept));
        name.remove_prefix(kept + (length == 0 ? 1 : length));
    }
}

// Expands the header format around the names: `names` is called where "%@" stands.
template <typename Names>
void expandFormat(std::string_view headerFormat, size_t count, std::string_view lineBreak, std::string& text,
                  Names&& names)
{
    size_t i = 0;
    while (i < headerFormat.size()) {
        if (headerFormat.substr(i, 3) == "%lu") {
            text.append(std::to_string(count));
            i += 3;
        } else if (headerFormat.substr(i, 2) == "%@") {
            names();
            i += 2;
        } else if (headerFormat.substr(i, 2) == "\r\n") {
            text.append(lineBreak);
            i += 2;
        } else {
            text.push_back(headerFormat[i++]);
        }
    }
}

constexpr size_t kPieceSize = 1 << 20;
constexpr size_t kPrefetchAhead = 16;

}  // namespace

std::string displayName(std::string_view name)
{
    std::string out;
    appendDisplayName(out, name);
    return out;
}

void writeReportText(std::string_view headerFormat, const ResultList& entries, std::string_view lineBreak,
                     const TextSink& sink)
{
    std::string piece;
    piece.reserve(kPieceSize + 4096);
    expandFormat(headerFormat, entries.size(), lineBreak, piece, [&] {
        for (size_t n = 0; n < entries.size(); ++n) {
            // Sorted names lie scattered over the arenas: ask for the bytes
            // of a name a few lines ahead so that the copy rarely waits.
            if (n + kPrefetchAhead < entries.size())
                __builtin_prefetch(entries[n + kPrefetchAhead].bytes);
            if (n > 0)
                piece.append(lineBreak);
            appendDisplayName(piece, entries[n].name());
            if (piece.size() >= kPieceSize) {
                sink(piece);
                piece.clear();
            }
        }
    });
    if (!piece.empty())
        sink(piece);
}

std::string reportText(std::string_view headerFormat, const ResultList& entries, std::string_view lineBreak)
{
    std::string text;
    writeReportText(headerFormat, entries, lineBreak, [&](std::string_view piece) { text.append(piece); });
    return text;
}

std::string reportHeader(std::string_view headerFormat, size_t count, std::string_view lineBreak)
{
    std::string text;
    expandFormat(headerFormat.substr(0, headerFormat.find("%@")), count, lineBreak, text, [] {});
    return text;
}

}  // namespace tokenade
