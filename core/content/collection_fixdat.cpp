#include "collection_fixdat.h"

#include "core/content/sets/set_fixdat.h"
#include "core/content/sets/set_gathering.h"

namespace tokenade {

CollectionFixdat collectionFixdat(const ContentBasis& basis, const IdentifiedArchives& identified,
                                  SetFormMask allowed)
{
    CollectionFixdat fixdat;
    const std::vector<bool> missing = identified.missingLines(basis);
    if (!basis.sets) {
        fixdat.games = missingGamesOf(*basis.dat, *basis.lines, missing);
        fixdat.description = "The games of the list that are missing";
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

}  // namespace tokenade
