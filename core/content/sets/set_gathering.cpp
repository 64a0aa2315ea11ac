#include "set_gathering.h"

#include "core/content/sets/family_forms.h"

#include <algorithm>
#include <bit>

namespace tokenade {

std::optional<SetForm> collectionForm(const SetRules& rules, std::span<const Identification> found,
                                      SetFormMask allowed)
{
    if (std::popcount(static_cast<unsigned>(allowed)) == 1)
        return firstForm(allowed);
    // A family that fits several forms (a parent on a BIOS, without clones,
    // is alike in split, non-merged and merged) counts for each: the form every family
    // fits wins over one that only some fit.
    size_t votes[std::size(kSetForms)] = {};
    for (const FamilyForm& family : familyForms(rules, found)) {
        for (size_t i = 0; i < std::size(kSetForms); ++i)
            votes[i] += (family.forms & maskOf(kSetForms[i])) != 0;
    }
    const size_t* most = std::max_element(std::begin(votes), std::end(votes));
    if (*most == 0)
        return std::nullopt;
    return kSetForms[most - std::begin(votes)];
}

std::vector<bool> machinesHeld(const SetRules& rules, std::span<const Identification> found)
{
    std::vector<bool> held(rules.dat().games.size());
    for (const Identification& one : found) {
        if (!one.holdsGame())
            continue;
        held[one.game] = true;
        for (const uint32_t clone : one.clonesHeld)
            held[clone] = true;
    }
    return held;
}

std::vector<SetNeed> missingNeeds(const SetRules& rules, uint32_t machine, SetForm form, const std::vector<bool>& held)
{
    std::vector<SetNeed> missing;
    std::vector<uint32_t> seen{machine};
    std::vector<uint32_t> next{machine};
    while (!next.empty()) {
        const uint32_t from = next.front();
        next.erase(next.begin());
        for (const SetNeed& need : rules.contents(from, form).needs) {
            if (std::find(seen.begin(), seen.end(), need.machine) != seen.end())
                continue;
            seen.push_back(need.machine);
            if (held[need.machine])
                continue;
            missing.push_back(need);
            next.push_back(need.machine);
        }
    }
    return missing;
}

}  // namespace tokenade
