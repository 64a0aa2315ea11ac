#include "set_matching.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace tokenade {

SetForm firstForm(SetFormMask forms)
{
    for (const SetForm form : kSetForms) {
        if (forms & maskOf(form))
            return form;
    }
    return SetForm::Split;
}

bool hasFamilies(const DatIndex& dat)
{
    // Parents alone do not make one: console DATs give `cloneof` for a
    // game's regional versions, each archive a whole game.
    if (!dat.origins.empty())
        return std::any_of(dat.origins.begin(), dat.origins.end(), [](const DatOrigin& one) { return one.families; });
    if (dat.format == DatFormat::MameListXml || !dat.deviceRefs.empty())
        return true;
    return std::any_of(dat.games.begin(), dat.games.end(), [](const DatGame& game) { return game.isBios; }) ||
           std::any_of(dat.roms.begin(), dat.roms.end(), [](const DatRom& rom) { return !rom.merge.empty(); });
}

std::vector<SetHeld> SetMatch::largest() const
{
    uint32_t most = 0;
    for (const SetHeld& one : held)
        most = std::max(most, one.keys);
    std::vector<SetHeld> found;
    std::copy_if(held.begin(), held.end(), std::back_inserter(found), [&](const SetHeld& one) { return one.keys == most; });
    return found;
}

namespace {

// Of two partial matches, the one with more files present, then fewer missing.
bool fitsBetter(const SetHeld& a, const SetHeld& b)
{
    return std::tuple(a.matched, -int64_t{a.keys}) > std::tuple(b.matched, -int64_t{b.keys});
}

}  // namespace

SetMatch matchSets(const SetRules& rules, std::span<const ContentKey> archiveKeys, std::span<const uint32_t> candidates,
                   SetFormMask allowed, uint32_t named)
{
    // A merged parent's archive holds its clones' roms: a clone's files make
    // its parent a candidate even where none of the parent's own are there.
    std::vector<uint32_t> machines(candidates.begin(), candidates.end());
    if (allowed & maskOf(SetForm::Merged)) {
        for (const uint32_t machine : candidates) {
            if (rules.parentOf(machine) != kNoGame)
                machines.push_back(rules.parentOf(machine));
        }
    }
    std::sort(machines.begin(), machines.end());
    machines.erase(std::unique(machines.begin(), machines.end()), machines.end());

    SetMatch match;
    for (const uint32_t machine : machines) {
        SetHeld whole{machine, 0, 0, 0};
        SetHeld part{machine, 0, 0, 0};
        for (const SetForm form : kSetForms) {
            if (!(allowed & maskOf(form)))
                continue;
            const SetContents contents = rules.contents(machine, form);
            if (contents.archive != machine)
                continue;  // a merged clone has no archive of its own
            const std::vector<ContentKey> keys = contents.requiredKeys(rules.dat());
            const auto present = static_cast<uint32_t>(std::count_if(keys.begin(), keys.end(), [&](const ContentKey& key) {
                return std::binary_search(archiveKeys.begin(), archiveKeys.end(), key);
            }));
            const auto needed = static_cast<uint32_t>(keys.size());
            if (needed > 0 && present == needed) {
                // Forms alike in what they hold are one answer; a larger one replaces a smaller.
                if (needed > whole.keys)
                    whole = {machine, 0, needed, needed};
                if (needed == whole.keys)
                    whole.forms |= maskOf(form);
            } else if (present > 0 && fitsBetter({machine, maskOf(form), needed, present}, part)) {
                part = {machine, maskOf(form), needed, present};
            }
        }
        if (whole.forms != 0)
            match.held.push_back(whole);
        else if (part.matched > 0 && fitsBetter(part, match.best))
            match.best = part;
        if (machine == named)
            match.forNamed = whole.forms != 0 ? whole : part;
    }
    if (!match.held.empty())
        match.best = {};
    return match;
}

}  // namespace tokenade
