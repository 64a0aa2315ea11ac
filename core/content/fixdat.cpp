#include "fixdat.h"

#include "core/foundation/text_decoding.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace tokenade {
namespace {

// `text` escaped for an XML attribute or element, as valid UTF-8 without
// the control characters XML 1.0 forbids.
std::string escaped(std::string_view text)
{
    std::string out;
    while (!text.empty()) {
        const size_t length = utf8SequenceLength(text);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        const char c = text[0];
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (length == 1 && static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
            out += "\xEF\xBF\xBD";
        else
            out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}

void appendAttribute(std::string& out, std::string_view name, std::string_view value)
{
    if (!value.empty())
        out += " " + std::string(name) + "=\"" + escaped(value) + "\"";
}

void appendGame(std::string& out, const DatIndex& dat, const FixdatGame& entry)
{
    const DatGame& game = dat.games[entry.game];
    out += "\t<game";
    appendAttribute(out, "name", game.name);
    appendAttribute(out, "cloneof", game.cloneOf);
    appendAttribute(out, "romof", game.romOf);
    appendAttribute(out, "isbios", game.isBios ? "yes" : "");
    appendAttribute(out, "isdevice", game.isDevice ? "yes" : "");
    out += ">\n\t\t<description>" + escaped(game.description.empty() ? game.name : game.description) +
           "</description>\n";
    for (const uint32_t r : entry.roms) {
        const DatRom& rom = dat.roms[r];
        out += "\t\t<rom";
        appendAttribute(out, "name", rom.name);
        char numbers[64];
        if (rom.matchable) {
            std::snprintf(numbers, sizeof numbers, " size=\"%" PRIu64 "\" crc=\"%08x\"", rom.key.size, rom.key.crc);
            out += numbers;
        }
        appendAttribute(out, "sha1", rom.sha1);
        if (!rom.matchable)
            out += " status=\"nodump\"";
        out += "/>\n";
    }
    for (const uint32_t d : entry.disks) {
        out += "\t\t<disk";
        appendAttribute(out, "name", dat.disks[d].name);
        appendAttribute(out, "sha1", dat.disks[d].sha1);
        out += "/>\n";
    }
    out += "\t</game>\n";
}

}  // namespace

std::vector<FixdatGame> missingGamesOf(const DatIndex& dat, const GameLines& lines,
                                       const std::vector<bool>& missingLines)
{
    std::vector<FixdatGame> games;
    std::vector<bool> written(dat.games.size());
    for (size_t line = 0; line < missingLines.size(); ++line) {
        const uint32_t game = lines.gameOfLine[line];
        if (!missingLines[line] || game == kNoGame || written[game])
            continue;
        written[game] = true;
        FixdatGame entry{game, {}, {}};
        for (uint32_t r = dat.games[game].firstRom; r < dat.games[game].firstRom + dat.games[game].romCount; ++r)
            entry.roms.push_back(r);
        games.push_back(std::move(entry));
    }
    return games;
}

std::string fixdatText(const DatIndex& dat, std::span<const FixdatGame> games, std::string_view description)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<datafile>\n\t<header>\n\t\t<name>fixdat";
    const std::string_view name = dat.origins.empty() || games.empty() ? dat.name : dat.datName(dat.games[games[0].game].dat);
    if (!name.empty())
        out += " of " + escaped(name);
    out += "</name>\n\t\t<description>" + escaped(description) + "</description>\n\t</header>\n";
    for (const FixdatGame& game : games)
        appendGame(out, dat, game);
    return out + "</datafile>\n";
}

std::optional<WriteError> writeFixdat(const std::string& path, const DatIndex& dat, std::span<const FixdatGame> games,
                                      std::string_view description)
{
    return writeFileAtomically(path, fixdatText(dat, games, description));
}

}  // namespace tokenade
