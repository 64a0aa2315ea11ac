#include "family_forms.h"

#include <algorithm>

namespace tokenade {

std::string FamilyForm::text() const
{
    if (forms == kAnySetForm)
        return "any form";
    std::string text;
    for (const SetForm form : kSetForms) {
        if (forms & maskOf(form))
            text += (text.empty() ? "" : " or ") + std::string(setFormKey(form));
    }
    return text.empty() ? "mixed" : text;
}

std::vector<FamilyForm> familyForms(const SetRules& rules, std::span<const Identification> found)
{
    std::vector<FamilyForm> families;
    for (const Identification& one : found) {
        if (!one.holdsGame() || one.forms == 0)
            continue;
        const uint32_t parent = rules.parentOf(one.game) != kNoGame ? rules.parentOf(one.game) : one.game;
        families.push_back({parent, one.forms});
    }
    std::sort(families.begin(), families.end(), [](const FamilyForm& a, const FamilyForm& b) { return a.parent < b.parent; });
    std::vector<FamilyForm> merged;
    for (const FamilyForm& family : families) {
        if (!merged.empty() && merged.back().parent == family.parent)
            merged.back().forms &= family.forms;
        else
            merged.push_back(family);
    }
    std::erase_if(merged, [](const FamilyForm& family) { return family.forms == kAnySetForm; });
    return merged;
}

}  // namespace tokenade
