#include "list_match.h"

#include "core/audit/input_warnings.h"
#include "core/audit/near_key.h"
#include "core/foundation/unicode_key.h"
#include "core/sources/folder_scan.h"
#include "core/sources/path_rules.h"

#include <map>

namespace tokenade {
namespace {

std::string archiveKey(std::string_view title)
{
    std::string name(title);
    name += ".zip";
    return unicodeKey(name);
}

// The lines and games of one near key, among those not met by key.
struct NearGroup {
    std::vector<uint32_t> lines;
    std::vector<uint32_t> games;
};

void addOnce(std::vector<uint32_t>& to, uint32_t value)
{
    if (to.empty() || to.back() != value)
        to.push_back(value);
}

void meetByNearKey(const DatIndex& dat, std::span<const std::string_view> lines, GameLines& met)
{
    std::map<std::string, NearGroup> groups;
    for (uint32_t line = 0; line < lines.size(); ++line) {
        if (met.gameOfLine[line] == kNoGame)
            addOnce(groups[nearKey(std::string(lineTitle(lines[line])) + ".zip", kRomExtension)].lines, line);
    }
    if (groups.empty())
        return;
    for (uint32_t game = 0; game < dat.games.size(); ++game) {
        if (met.lineOfGame[game] != kNoLine)
            continue;
        for (std::string_view title : {dat.games[game].description, dat.games[game].name}) {
            if (title.empty())
                continue;
            auto group = groups.find(nearKey(std::string(title) + ".zip", kRomExtension));
            if (group != groups.end())
                addOnce(group->second.games, game);
        }
    }
    for (const auto& [key, group] : groups) {
        if (group.lines.size() != 1 || group.games.size() != 1 || met.lineOfGame[group.games[0]] != kNoLine)
            continue;
        met.lineOfGame[group.games[0]] = group.lines[0];
        met.meetingOfGame[group.games[0]] = LineMeeting::NearKey;
        met.gameOfLine[group.lines[0]] = group.games[0];
    }
}

}  // namespace

std::string_view lineTitle(std::string_view line)
{
    const std::string_view extension = pathExtension(line);
    if (extension.empty() || !looksLikeExtension(extension))
        return line;
    return line.substr(0, line.size() - extension.size() - 1);
}

uint32_t GameLines::lineNamed(std::string_view archiveName) const
{
    const auto found = lineByKey.find(unicodeKey(archiveName));
    return found == lineByKey.end() ? kNoLine : found->second;
}

uint32_t GameLines::gameNamed(std::string_view archiveName) const
{
    const auto found = gameByKey.find(unicodeKey(archiveName));
    return found == gameByKey.end() ? kNoGame : found->second;
}

GameLines matchGamesToList(const DatIndex& dat, std::span<const std::string_view> lines)
{
    GameLines met;
    met.lineOfGame.assign(dat.games.size(), kNoLine);
    met.meetingOfGame.assign(dat.games.size(), LineMeeting::None);
    met.gameOfLine.assign(lines.size(), kNoGame);
    std::unordered_map<std::string, uint32_t> lineByTitle;
    lineByTitle.reserve(lines.size());
    met.lineByKey.reserve(lines.size());
    met.gameByKey.reserve(2 * dat.games.size());
    for (uint32_t line = 0; line < lines.size(); ++line) {
        std::string expected(lines[line]);
        replacePathExtension(expected, kRomExtension);
        met.lineByKey.emplace(unicodeKey(expected), line);
        met.expectedName.push_back(std::move(expected));
        lineByTitle.emplace(archiveKey(lineTitle(lines[line])), line);
    }
    for (uint32_t game = 0; game < dat.games.size(); ++game) {
        const DatGame& entry = dat.games[game];
        for (std::string_view title : {entry.description, entry.name}) {
            if (title.empty())
                continue;
            const std::string key = archiveKey(title);
            met.gameByKey.emplace(key, game);
            const auto line = lineByTitle.find(key);
            if (line == lineByTitle.end() || met.lineOfGame[game] != kNoLine)
                continue;
            met.lineOfGame[game] = line->second;
            met.meetingOfGame[game] = LineMeeting::Key;
            if (met.gameOfLine[line->second] == kNoGame)
                met.gameOfLine[line->second] = game;
        }
    }
    meetByNearKey(dat, lines, met);
    for (const uint32_t game : met.gameOfLine)
        met.linesKnown += game != kNoGame;
    return met;
}

}  // namespace tokenade
