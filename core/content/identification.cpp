#include "identification.h"

#include <algorithm>
#include <tuple>

namespace tokenade {

std::string_view contentStateKey(ContentState state)
{
    switch (state) {
    case ContentState::RightName: return "right name";
    case ContentState::AnotherName: return "another name";
    case ContentState::AnotherGame: return "another game";
    case ContentState::NotOnList: return "not on the list";
    case ContentState::Ambiguous: return "ambiguous";
    case ContentState::Incomplete: return "incomplete";
    case ContentState::NotInDat: return "not in the DAT";
    case ContentState::NotAZip: return "not a zip";
    }
    return "";
}

// Per game that has any file of the archive, how many of its files it has.
// Files alike are counted once, as the games' own are.
std::vector<ContentMatcher::Count> ContentMatcher::countMatches(const ZipDirectory& contents) const
{
    // Kept per thread: identifying allocates nothing for most archives.
    thread_local std::vector<ContentKey> keys;
    thread_local std::vector<uint32_t> games;
    keys.clear();
    games.clear();
    for (const ZipEntry& entry : contents.entries)
        keys.push_back({entry.size, entry.crc});
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    // A file shared by many games (a BIOS rom) lists them all: counting by
    // sorting keeps that n log n in the holders, not quadratic.
    for (const ContentKey& key : keys) {
        for (const ContentHolder& holder : dat_.holdersOf(key))
            games.push_back(holder.game);
    }
    std::sort(games.begin(), games.end());
    std::vector<Count> counts;
    for (size_t at = 0; at < games.size();) {
        const size_t from = at;
        while (at < games.size() && games[at] == games[from])
            ++at;
        counts.push_back({games[from], static_cast<uint32_t>(at - from)});
    }
    return counts;
}

void ContentMatcher::findSecondGame(const ZipDirectory& contents, Identification& found) const
{
    std::vector<ContentKey> outside;
    for (const ZipEntry& entry : contents.entries) {
        if (!dat_.gameHas(found.game, {entry.size, entry.crc}))
            outside.push_back({entry.size, entry.crc});
    }
    std::sort(outside.begin(), outside.end());
    outside.erase(std::unique(outside.begin(), outside.end()), outside.end());
    std::vector<uint32_t> games;
    for (const ContentKey& key : outside) {
        for (const ContentHolder& holder : dat_.holdersOf(key))
            games.push_back(holder.game);
    }
    std::sort(games.begin(), games.end());
    // The game with most of those files, then the first in the DAT.
    for (size_t at = 0; at < games.size();) {
        const size_t from = at;
        while (at < games.size() && games[at] == games[from])
            ++at;
        if (at - from > found.alsoMatched) {
            found.alsoGame = games[from];
            found.alsoMatched = static_cast<uint32_t>(at - from);
        }
    }
    if (found.alsoGame != kNoGame)
        found.alsoNeeded = dat_.games[found.alsoGame].contentCount;
}

Identification ContentMatcher::identify(std::string_view name, const ZipDirectory& contents, SetFormMask allowed) const
{
    Identification found;
    if (contents.problem != ZipProblem::None) {
        found.state = ContentState::NotAZip;
        return found;
    }
    const std::vector<Count> counts = countMatches(contents);
    if (counts.empty())
        return found;
    if (sets_ == nullptr)
        return identifyWhole(name, contents, counts);
    // Beside a DAT of arcade sets, a console DAT's games are judged whole:
    // the better of the two judgements wins, a game held whole first.
    std::vector<Count> bySet, whole;
    for (const Count& count : counts)
        (dat_.inFamilyDat(count.game) ? bySet : whole).push_back(count);
    if (whole.empty())
        return identifySet(name, contents, bySet, allowed);
    Identification asGame = identifyWhole(name, contents, whole);
    if (bySet.empty() || asGame.holdsGame())
        return asGame;
    Identification asSet = identifySet(name, contents, bySet, allowed);
    return asSet.holdsGame() || asSet.matched >= asGame.matched ? asSet : asGame;
}

Identification ContentMatcher::identifyWhole(std::string_view name, const ZipDirectory& contents,
                                             const std::vector<Count>& counts) const
{
    Identification found;
    uint32_t most = 0;
    for (const Count& count : counts) {
        if (count.matched == dat_.games[count.game].contentCount)
            most = std::max(most, count.matched);
    }
    if (most == 0) {
        // The game it has most files of, the smaller game first, then the first in the DAT.
        const Count best = *std::min_element(counts.begin(), counts.end(), [&](const Count& a, const Count& b) {
            return std::tuple(-int64_t{a.matched}, dat_.games[a.game].contentCount, a.game) <
                   std::tuple(-int64_t{b.matched}, dat_.games[b.game].contentCount, b.game);
        });
        found.state = ContentState::Incomplete;
        found.game = best.game;
        found.line = lines_.lineOfGame[best.game];
        found.matched = best.matched;
        found.needed = dat_.games[best.game].contentCount;
        findSecondGame(contents, found);
        return found;
    }
    std::vector<uint32_t> held;
    for (const Count& count : counts) {
        if (count.matched == most && count.matched == dat_.games[count.game].contentCount)
            held.push_back(count.game);
    }
    std::sort(held.begin(), held.end());
    std::vector<uint32_t> listed;
    for (const uint32_t game : held) {
        if (lines_.lineOfGame[game] != kNoLine)
            listed.push_back(game);
    }
    if (held.size() > 1 && listed.size() != 1) {
        found.state = ContentState::Ambiguous;
        found.tied = std::move(held);
        return found;
    }
    found.game = held.size() == 1 ? held[0] : listed[0];
    found.line = lines_.lineOfGame[found.game];
    found.matched = found.needed = most;
    for (uint32_t i = 0; i < contents.entries.size(); ++i) {
        if (!dat_.gameHas(found.game, {contents.entries[i].size, contents.entries[i].crc}))
            found.extras.push_back(i);
    }
    judgeName(name, held, found);
    return found;
}

Identification ContentMatcher::identifySet(std::string_view name, const ZipDirectory& contents,
                                           const std::vector<Count>& counts, SetFormMask allowed) const
{
    std::vector<ContentKey> keys;
    for (const ZipEntry& entry : contents.entries)
        keys.push_back({entry.size, entry.crc});
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::vector<uint32_t> candidates;
    for (const Count& count : counts)
        candidates.push_back(count.game);
    const uint32_t named = sets_->machineNamed(lineTitle(name));
    const SetMatch match = matchSets(*sets_, keys, candidates, allowed, named);
    const std::vector<SetHeld> largest = match.largest();

    // An archive named for a machine is judged against it first: held whole
    // (with whatever else) it is that machine; with as many of its files as
    // the largest set held has in all, it is that machine, incomplete.
    const SetHeld& own = match.forNamed;
    const bool namedWhole = own.matched > 0 && own.matched == own.keys;
    const bool namedIncomplete = own.matched > 0 && !namedWhole && (largest.empty() || own.matched >= largest[0].keys);
    Identification found;
    if (largest.empty() || namedIncomplete) {
        const SetHeld& best = namedIncomplete ? own : match.best;
        found.state = ContentState::Incomplete;
        // Only files no set requires (optional ones): the game it has most of.
        found.game = best.matched > 0 ? best.machine : counts.front().game;
        found.line = lines_.lineOfGame[found.game];
        found.matched = best.matched;
        found.needed = best.matched > 0 ? best.keys : dat_.games[found.game].contentCount;
        found.forms = best.forms;
        return found;
    }
    std::vector<uint32_t> held;
    std::vector<uint32_t> listed;
    for (const SetHeld& one : largest) {
        held.push_back(one.machine);
        if (lines_.lineOfGame[one.machine] != kNoLine)
            listed.push_back(one.machine);
    }
    uint32_t winner = namedWhole ? named : held.size() == 1 ? held[0] : listed.size() == 1 ? listed[0] : kNoGame;
    if (winner == kNoGame) {
        found.state = ContentState::Ambiguous;
        found.tied = std::move(held);
        return found;
    }
    if (namedWhole)
        held = {named};
    const SetHeld& chosen = *std::find_if(match.held.begin(), match.held.end(), [&](const SetHeld& one) {
        return one.machine == winner;
    });
    found.game = winner;
    found.line = lines_.lineOfGame[winner];
    found.matched = found.needed = chosen.keys;
    found.forms = chosen.forms;
    if (chosen.forms & maskOf(SetForm::Merged)) {
        const auto clones = sets_->clonesOf(winner);
        found.clonesHeld.assign(clones.begin(), clones.end());
    }
    // Whatever the set lists, required or not, is no extra.
    std::vector<ContentKey> listedKeys;
    for (const SetRom& rom : sets_->contents(winner, firstForm(chosen.forms)).roms)
        listedKeys.push_back(dat_.roms[rom.rom].key);
    std::sort(listedKeys.begin(), listedKeys.end());
    for (uint32_t i = 0; i < contents.entries.size(); ++i) {
        if (!std::binary_search(listedKeys.begin(), listedKeys.end(), ContentKey{contents.entries[i].size, contents.entries[i].crc}))
            found.extras.push_back(i);
    }
    judgeName(name, held, found);
    return found;
}

// Right name, another name, another game or not on the list: what the
// archive's name says against the game it holds. A name that says a game of
// the same content (one of `held`) says the game it holds.
void ContentMatcher::judgeName(std::string_view name, const std::vector<uint32_t>& held, Identification& found) const
{
    const uint32_t namedLine = lines_.lineNamed(name);
    if (found.line != kNoLine && namedLine == found.line) {
        found.state = ContentState::RightName;
        return;
    }
    uint32_t namedGame = namedLine != kNoLine ? lines_.gameOfLine[namedLine] : kNoGame;
    if (namedGame == kNoGame && namedLine == kNoLine)
        namedGame = lines_.gameNamed(name);
    const bool sameContent = std::find(held.begin(), held.end(), namedGame) != held.end();
    // Named for one list line while holding the game of another, or named
    // for a game the DAT knows while holding a different one. A name for a
    // line the DAT does not know, on an archive of a game off the list,
    // says nothing: that game may be the line's under another title.
    const bool anotherLine = namedLine != kNoLine && found.line != kNoLine;
    if ((namedGame != kNoGame && !sameContent) || (anotherLine && namedGame == kNoGame)) {
        found.state = ContentState::AnotherGame;
        found.namedLine = namedLine;
        found.namedGame = namedGame;
        return;
    }
    found.state = found.line != kNoLine ? ContentState::AnotherName : ContentState::NotOnList;
}

std::string partsHeld(const Identification& one, const std::function<std::string(uint32_t)>& title)
{
    std::string words = std::to_string(one.matched) + " of " + std::to_string(one.needed) + " roms of " + title(one.game);
    if (one.alsoGame != kNoGame)
        words += ", " + std::to_string(one.alsoMatched) + " of " + std::to_string(one.alsoNeeded) + " roms of " +
                 title(one.alsoGame);
    return words;
}

}  // namespace tokenade
