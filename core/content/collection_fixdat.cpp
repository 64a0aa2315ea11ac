#include "collection_fixdat.h"

#include "core/content/sets/set_fixdat.h"
#include "core/content/sets/set_gathering.h"

#include <algorithm>

namespace tokenade {
namespace {

constexpr const char* kMissingGames = "The games of the list that are missing";

}  // namespace

CollectionFixdat collectionFixdat(const ContentBasis& basis, const IdentifiedArchives& identified,
                                  SetFormMask allowed)
{
    CollectionFixdat fixdat;
    const std::vector<bool> missing = identified.missingLines(basis);
    if (!basis.sets) {
        fixdat.games = missingGamesOf(*basis.dat, *basis.lines, missing);
        fixdat.description = kMissingGames;
        return fixdat;
    }
    const SetForm form = collectionForm(*basis.sets, identified.found, allowed).value_or(SetForm::NonMerged);
    fixdat.games = missingSetsOf(*basis.sets, *basis.lines, missing, machinesHeld(*basis.sets, identified.found), form,
                                 &fixdat.needed);
    fixdat.form = form;
    fixdat.description = "The sets of the list that are missing, " + std::string(setFormKey(form)) +
                         ", with the archives they need";
    return fixdat;
}

CollectionFixdat fixdatOfDat(const DatIndex& dat, const CollectionFixdat& whole, uint16_t ofDat)
{
    CollectionFixdat one;
    const bool bySet = whole.form && dat.origins[ofDat].families;
    one.description = bySet ? whole.description : kMissingGames;
    one.form = bySet ? whole.form : std::nullopt;
    const size_t firstNeeded = whole.games.size() - whole.needed;  // the needs come after the list's sets
    for (size_t i = 0; i < whole.games.size(); ++i) {
        const std::vector<uint16_t> dats = dat.datsOf(whole.games[i].game);
        if (std::find(dats.begin(), dats.end(), ofDat) == dats.end())
            continue;
        one.games.push_back(whole.games[i]);
        one.needed += bySet && i >= firstNeeded ? 1 : 0;
    }
    return one;
}

}  // namespace tokenade
