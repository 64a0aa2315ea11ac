#pragma once

#include "core/content/collection_identity.h"
#include "core/content/fixdat.h"

#include <optional>
#include <string>
#include <vector>

namespace tokenade {

// The fixdat of a collection identified against a DAT: what it lacks of the
// list, and how it is described.
struct CollectionFixdat {
    std::vector<FixdatGame> games;
    std::string description;
    std::optional<SetForm> form;  // with a DAT of families: the form its sets are written in
    size_t needed = 0;            // of `games`, the archives that the list's sets need
};

// A console DAT's: the list's missing games, whole (missingGamesOf). A DAT
// of families': the missing sets in the collection's form (collectionForm,
// `allowed` as identification took it), with what they need that no archive
// holds (missingSetsOf). A collection whose form nothing tells gets its sets
// non-merged: each set whole but for its BIOS and devices, which is the
// form that asks least of how the rest of the collection is kept.
CollectionFixdat collectionFixdat(const ContentBasis& basis, const IdentifiedArchives& identified,
                                  SetFormMask allowed);

// Of a fixdat of several DATs, the games of one DAT, those it needs counted
// among them; a console DAT's written as its games, whatever the others are.
CollectionFixdat fixdatOfDat(const DatIndex& dat, const CollectionFixdat& whole, uint16_t ofDat);

}  // namespace tokenade
