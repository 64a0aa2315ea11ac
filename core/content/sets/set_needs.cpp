#include "set_needs.h"

#include "core/foundation/grouped_count.h"
#include "core/results/report_text.h"

#include <algorithm>
#include <unordered_map>

namespace tokenade {
namespace {

bool required(const DatRom& rom)
{
    return rom.matchable && !rom.optional;
}

std::vector<ContentKey> keysOf(const ZipDirectory& contents)
{
    std::vector<ContentKey> keys;
    for (const ZipEntry& entry : contents.entries)
        keys.push_back({entry.size, entry.crc});
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

// The required roms that `members` (a set, and in a merged parent's archive
// its clones) take from the archive `need` names: a device's own roms, or
// the roms whose origin is the parent or the BIOS.
std::vector<ContentKey> keysNeeded(const SetRules& rules, std::span<const uint32_t> members, const SetNeed& need)
{
    const DatIndex& dat = rules.dat();
    std::vector<ContentKey> keys;
    const auto take = [&](const DatGame& game, bool all) {
        for (uint32_t r = game.firstRom; r < game.firstRom + game.romCount; ++r) {
            if (required(dat.roms[r]) && (all || rules.originOf(r) == need.machine))
                keys.push_back(dat.roms[r].key);
        }
    };
    if (need.kind == NeedKind::Device)
        take(dat.games[need.machine], true);
    else
        for (const uint32_t member : members)
            take(dat.games[member], false);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

class NeedJudge {
public:
    NeedJudge(const ContentBasis& basis, const IdentifiedArchives& identified)
        : rules_(*basis.sets), identified_(identified)
    {
        const auto& archives = identified.archives.archives;
        for (size_t i = 0; i < archives.size(); ++i) {
            const uint32_t machine = rules_.machineNamed(lineTitle(archives[i].name));
            if (machine != kNoGame)
                named_[machine].push_back(i);
        }
    }

    // A set's own archive may hold what it needs beside (extras that are
    // the BIOS's roms): the emulator finds them there too.
    NeedState judge(const std::vector<ContentKey>& wanted, const std::vector<ContentKey>& own, uint32_t machine) const
    {
        const auto in = [](const std::vector<ContentKey>& keys, const ContentKey& key) {
            return std::binary_search(keys.begin(), keys.end(), key);
        };
        const auto found = [&](const std::vector<ContentKey>& there) {
            return static_cast<size_t>(std::count_if(wanted.begin(), wanted.end(), [&](const ContentKey& key) {
                return in(own, key) || in(there, key);
            }));
        };
        const auto at = named_.find(machine);
        if (at == named_.end())
            return found({}) == wanted.size() ? NeedState::Present : NeedState::Missing;
        size_t best = 0;
        for (const size_t archive : at->second)
            best = std::max(best, found(keysOf(identified_.archives.archives[archive].contents)));
        return best == wanted.size() ? NeedState::Present : best > 0 ? NeedState::Incomplete : NeedState::Wrong;
    }

    std::vector<NeedJudged> unmetOf(size_t archive) const
    {
        const Identification& one = identified_.found[archive];
        std::vector<uint32_t> members{one.game};
        members.insert(members.end(), one.clonesHeld.begin(), one.clonesHeld.end());
        const std::vector<ContentKey> own = keysOf(identified_.archives.archives[archive].contents);
        std::vector<NeedJudged> unmet;
        for (const SetNeed& need : rules_.contents(one.game, firstForm(one.forms)).needs) {
            if (need.machine == one.game)
                continue;
            const NeedState state = judge(keysNeeded(rules_, members, need), own, need.machine);
            if (state != NeedState::Present)
                unmet.push_back({need, state});
        }
        return unmet;
    }

private:
    const SetRules& rules_;
    const IdentifiedArchives& identified_;
    std::unordered_map<uint32_t, std::vector<size_t>> named_;  // machine -> the archives named for it
};

// Per machine, how many listed sets need its archive.
std::vector<uint32_t> listedSetsNeeding(const ContentBasis& basis, const IdentifiedArchives& identified)
{
    const SetRules& rules = *basis.sets;
    const size_t machines = basis.dat->games.size();
    std::vector<SetFormMask> heldIn(machines, 0);
    for (const Identification& one : identified.found) {
        if (!one.holdsGame())
            continue;
        heldIn[one.game] |= one.forms;
        for (const uint32_t clone : one.clonesHeld)
            heldIn[clone] |= maskOf(SetForm::Merged);
    }
    std::vector<uint32_t> count(machines, 0);
    std::vector<uint32_t> needed;
    for (uint32_t machine = 0; machine < machines; ++machine) {
        if (basis.lines->lineOfGame[machine] == kNoLine)
            continue;
        const SetFormMask forms = heldIn[machine] != 0 ? heldIn[machine] : kAnySetForm;
        needed.clear();
        for (const SetForm form : kSetForms) {
            if (!(forms & maskOf(form)))
                continue;
            for (const SetNeed& need : rules.contents(machine, form).needs)
                needed.push_back(need.machine);
        }
        std::sort(needed.begin(), needed.end());
        needed.erase(std::unique(needed.begin(), needed.end()), needed.end());
        for (const uint32_t other : needed)
            count[other] += other != machine;
    }
    return count;
}

bool holdsListedSet(const ContentBasis& basis, const Identification& one)
{
    if (!one.holdsGame())
        return false;
    return one.line != kNoLine || std::any_of(one.clonesHeld.begin(), one.clonesHeld.end(), [&](uint32_t clone) {
               return basis.lines->lineOfGame[clone] != kNoLine;
           });
}

}  // namespace

std::string_view needStateKey(NeedState state)
{
    switch (state) {
    case NeedState::Present: return "present";
    case NeedState::Missing: return "missing";
    case NeedState::Incomplete: return "incomplete";
    case NeedState::Wrong: return "wrong";
    }
    return "";
}

CollectionNeeds judgeNeeds(const ContentBasis& basis, const IdentifiedArchives& identified)
{
    CollectionNeeds needs;
    const size_t archives = identified.found.size();
    needs.unmet.resize(archives);
    needs.neededBy.assign(archives, 0);
    if (!basis.sets)
        return needs;
    const NeedJudge judge(basis, identified);
    const std::vector<uint32_t> needing = listedSetsNeeding(basis, identified);
    for (size_t i = 0; i < archives; ++i) {
        if (holdsListedSet(basis, identified.found[i]))
            needs.unmet[i] = judge.unmetOf(i);
        const uint32_t machine = basis.sets->machineNamed(lineTitle(identified.archives.archives[i].name));
        if (machine != kNoGame && basis.lines->lineOfGame[machine] == kNoLine)
            needs.neededBy[i] = needing[machine];
    }
    return needs;
}

std::string unmetText(const DatIndex& dat, std::span<const NeedJudged> unmet)
{
    std::string text;
    for (const NeedJudged& one : unmet) {
        text += (text.empty() ? "needs " : ", and needs ") + std::string(dat.games[one.need.machine].name) + ".zip (" +
                std::string(needKindKey(one.need.kind)) + "), " + std::string(needStateKey(one.state));
    }
    return text;
}

std::string neededText(uint32_t count)
{
    return "needed by " + groupedCount(count) + (count == 1 ? " listed set" : " listed sets");
}

std::optional<AuditWarning> unmetNeedsWarning(const ContentBasis& basis, const IdentifiedArchives& identified,
                                              const CollectionNeeds& needs)
{
    AuditWarning warning{WarningKind::UnmetNeeds, "", 0, {}};
    for (size_t i = 0; i < needs.unmet.size(); ++i) {
        if (needs.unmet[i].empty())
            continue;
        if (++warning.count <= 3)
            warning.examples.push_back("\"" + displayName(identified.archives.archives[i].name) + "\" " +
                                       displayName(unmetText(*basis.dat, needs.unmet[i])));
    }
    if (warning.count == 0)
        return std::nullopt;
    const bool one = warning.count == 1;
    warning.message = groupedCount(warning.count) + (one ? " listed set cannot run: an archive it needs"
                                                         : " listed sets cannot run: an archive they need") +
                      " beside " + (one ? "its" : "their") + " own is missing, incomplete or wrong.";
    return warning;
}

}  // namespace tokenade
