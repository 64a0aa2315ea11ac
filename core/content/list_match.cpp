#include "list_match.h"

#include "core/audit/input_warnings.h"
#include "core/audit/near_key.h"
#include "core/audit/near_key_hash.h"
#include "core/foundation/unicode_key.h"
#include "core/sources/folder_scan.h"
#include "core/sources/path_rules.h"

#include <algorithm>
#include <map>

namespace tokenade {
namespace {

// The key of an archive named `title` + ".zip", into `key` (its storage reused).
void archiveKeyInto(std::string_view title, std::string& name, std::string& key)
{
    name.assign(title);
    name += ".zip";
    unicodeKeyInto(name, key);
}

void seal(GameLines::KeyHashes& hashes)
{
    std::sort(hashes.begin(), hashes.end());
}

// The first item of `hashes` with the hash of `key` for which `matches` says
// the key is the same; `none` when there is none.
template <typename Matches>
uint32_t findKey(const GameLines::KeyHashes& hashes, std::string_view key, uint32_t none, Matches&& matches)
{
    const uint64_t hash = hashOfNearKey(key);
    for (auto at = std::lower_bound(hashes.begin(), hashes.end(), std::pair<uint64_t, uint32_t>(hash, 0));
         at != hashes.end() && at->first == hash; ++at) {
        if (matches(at->second))
            return at->second;
    }
    return none;
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
    // A large DAT has far more games than a list has lines: a title whose
    // near key's hash is no group's has no group, and its key is not built.
    std::vector<uint64_t> hashes;
    for (const auto& [key, group] : groups)
        hashes.push_back(hashOfNearKey(key));
    std::sort(hashes.begin(), hashes.end());
    std::string name;
    for (uint32_t game = 0; game < dat.games.size(); ++game) {
        if (met.lineOfGame[game] != kNoLine)
            continue;
        for (std::string_view title : {dat.games[game].description, dat.games[game].name}) {
            if (title.empty())
                continue;
            name.assign(title);
            name += ".zip";
            if (!std::binary_search(hashes.begin(), hashes.end(), nearKeyHash(name, kRomExtension)))
                continue;
            auto group = groups.find(nearKey(name, kRomExtension));
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
    // Per thread, so that looking a name up allocates nothing.
    thread_local std::string key, other;
    unicodeKeyInto(archiveName, key);
    return findKey(lineKeys, key, kNoLine, [&](uint32_t line) {
        unicodeKeyInto(expectedName[line], other);
        return other == key;
    });
}

uint32_t GameLines::gameNamed(std::string_view archiveName) const
{
    thread_local std::string key, name, other;
    unicodeKeyInto(archiveName, key);
    return findKey(gameKeys, key, kNoGame, [&](uint32_t game) {
        for (std::string_view title : {dat->games[game].description, dat->games[game].name}) {
            archiveKeyInto(title, name, other);
            if (!title.empty() && other == key)
                return true;
        }
        return false;
    });
}

GameLines matchGamesToList(const DatIndex& dat, std::span<const std::string_view> lines)
{
    GameLines met;
    met.dat = &dat;
    met.lineOfGame.assign(dat.games.size(), kNoLine);
    met.meetingOfGame.assign(dat.games.size(), LineMeeting::None);
    met.gameOfLine.assign(lines.size(), kNoGame);
    met.expectedName.reserve(lines.size());
    met.lineKeys.reserve(lines.size());
    met.gameKeys.reserve(2 * dat.games.size());
    GameLines::KeyHashes titleKeys;  // of each line's title + ".zip"
    titleKeys.reserve(lines.size());
    std::string name, key;
    for (uint32_t line = 0; line < lines.size(); ++line) {
        std::string expected;
        expected.reserve(lines[line].size() + 1 + kRomExtension.size());  // room for the extension: one allocation
        expected.assign(lines[line]);
        replacePathExtension(expected, kRomExtension);
        unicodeKeyInto(expected, key);
        met.lineKeys.emplace_back(hashOfNearKey(key), line);
        met.expectedName.push_back(std::move(expected));
        archiveKeyInto(lineTitle(lines[line]), name, key);
        titleKeys.emplace_back(hashOfNearKey(key), line);
    }
    seal(met.lineKeys);
    seal(titleKeys);
    std::string lineName, lineKey;
    for (uint32_t game = 0; game < dat.games.size(); ++game) {
        const DatGame& entry = dat.games[game];
        for (std::string_view title : {entry.description, entry.name}) {
            if (title.empty())
                continue;
            archiveKeyInto(title, name, key);
            met.gameKeys.emplace_back(hashOfNearKey(key), game);
            if (met.lineOfGame[game] != kNoLine)
                continue;
            const uint32_t line = findKey(titleKeys, key, kNoLine, [&](uint32_t candidate) {
                archiveKeyInto(lineTitle(lines[candidate]), lineName, lineKey);
                return lineKey == key;
            });
            if (line == kNoLine)
                continue;
            met.lineOfGame[game] = line;
            met.meetingOfGame[game] = LineMeeting::Key;
            if (met.gameOfLine[line] == kNoGame)
                met.gameOfLine[line] = game;
        }
    }
    seal(met.gameKeys);
    meetByNearKey(dat, lines, met);
    for (const uint32_t game : met.gameOfLine)
        met.linesKnown += game != kNoGame;
    return met;
}

}  // namespace tokenade
