#pragma once

#include "core/content/identification.h"
#include "core/content/sets/set_rules.h"

#include <optional>
#include <span>
#include <vector>

namespace tokenade {

// The form a collection keeps its sets in, as the uses that add sets to it
// (a fixdat, a fill) must follow: the one form `allowed` names when it names
// exactly one (the user fixed it), else the form that most of the families
// its archives hold fit (familyForms), the first of kSetForms on a tie.
// nullopt when no family tells (no archive of a family, or only archives
// alike in every form).
std::optional<SetForm> collectionForm(const SetRules& rules, std::span<const Identification> found,
                                      SetFormMask allowed);

// Per machine of the DAT: some archive of `found` holds its set whole, or is
// a merged parent's that holds it as a clone.
std::vector<bool> machinesHeld(const SetRules& rules, std::span<const Identification> found);

// The archives `machine`'s set in `form` cannot run without that `held`
// (machinesHeld) lacks: its needs, and theirs in turn (a clone's parent
// needs its BIOS too), each once, never `machine` itself, in the order
// found (parent, BIOS, devices of the set first).
std::vector<SetNeed> missingNeeds(const SetRules& rules, uint32_t machine, SetForm form, const std::vector<bool>& held);

}  // namespace tokenade
