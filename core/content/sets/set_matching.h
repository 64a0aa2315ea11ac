#pragma once

#include "core/content/sets/set_rules.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tokenade {

// A set of forms, one bit per SetForm.
using SetFormMask = uint8_t;
inline constexpr SetFormMask kAnySetForm = 0x0f;
constexpr SetFormMask maskOf(SetForm form) { return static_cast<SetFormMask>(1u << static_cast<unsigned>(form)); }
// The first form of a mask, in kSetForms' order; Split for none.
SetForm firstForm(SetFormMask forms);

// A machine an archive holds whole in one or more forms (the forms where
// its archive holds the same roms: a parent without clones or BIOS is alike
// in all four).
struct SetHeld {
    uint32_t machine = 0;
    SetFormMask forms = 0;
    uint32_t keys = 0;     // how many files (by size and CRC) it requires, all present
    uint32_t matched = 0;  // for a set not held whole: how many of them are present
};

// Whether the DAT is one of arcade sets: MAME's own, or one with a BIOS, a
// device or a rom that another's `merge` names. Any other (a console DAT,
// with or without parents) is matched game by game, as before.
bool hasFamilies(const DatIndex& dat);

// What an archive holds in sets' terms. `archiveKeys` sorted, each once;
// `candidates`: the machines with a file among them (in any order); `named`:
// the machine the archive's name says, or kNoGame.
// - held: the machines whose required roms in some allowed form are all in
//   the archive, each in the forms that require the most files (a merged
//   parent's form over its split one). A set that requires nothing is never
//   held.
// - best: the machine and form of which it has the most required files, the
//   fewer missing first, when none is held whole (what it was meant to be).
// - forNamed: the same for `named` alone, held whole or not.
struct SetMatch {
    std::vector<SetHeld> held;  // by machine
    SetHeld best;               // matched 0: none
    SetHeld forNamed;           // matched 0: none, or no machine named

    // The held machines that require the most files.
    std::vector<SetHeld> largest() const;
};
SetMatch matchSets(const SetRules& rules, std::span<const ContentKey> archiveKeys, std::span<const uint32_t> candidates,
                   SetFormMask allowed, uint32_t named);

}  // namespace tokenade
