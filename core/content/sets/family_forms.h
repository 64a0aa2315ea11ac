#pragma once

#include "core/content/identification.h"
#include "core/content/sets/set_rules.h"

#include <span>
#include <string>
#include <vector>

namespace tokenade {

// The form a family (a parent and its clones) is kept in, told by what its
// archives hold: the forms every archive of it held whole shares. A family
// whose archives hold the same in every form (a parent without clones, BIOS
// or devices) tells nothing and is left out.
struct FamilyForm {
    uint32_t parent = 0;
    SetFormMask forms = 0;  // 0: its archives are in different forms

    // "split", "split or non-merged" (where its archives fit both), ...,
    // "any form", or "mixed" for archives in different forms.
    std::string text() const;
};

// Per family with an archive held whole, in DAT order of the parents.
// `found` is identification's, one per archive.
std::vector<FamilyForm> familyForms(const SetRules& rules, std::span<const Identification> found);

}  // namespace tokenade
