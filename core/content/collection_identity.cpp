#include "collection_identity.h"

#include "core/foundation/grouped_count.h"
#include "core/results/report_text.h"

namespace tokenade {

std::string_view gameTitle(const DatGame& game)
{
    return game.description.empty() ? game.name : game.description;
}

BasisRead readContentBasis(const std::string& datPath, const std::string& listPath)
{
    BasisRead read;
    DatRead dat = readDatFile(datPath);
    if (!dat.dat) {
        read.datProblem = std::move(dat.problem);
        return read;
    }
    RomsListRead list = cacheRomsListFile(listPath);
    if (!list.list) {
        read.listProblem = std::move(list.problem);
        return read;
    }
    ContentBasis basis;
    basis.dat = std::make_unique<const DatIndex>(std::move(*dat.dat));
    basis.list = std::make_unique<const RomsList>(std::move(*list.list));
    basis.lines = std::make_unique<const GameLines>(matchGamesToList(*basis.dat, basis.list->lines));
    basis.matcher = std::make_unique<const ContentMatcher>(*basis.dat, *basis.lines);
    read.basis = std::move(basis);
    return read;
}

IdentifiedArchives identifyArchives(const ContentBasis& basis, const IdentifyInputs& inputs,
                                    const ContentProgress& progress)
{
    IdentifiedArchives identified;
    identified.archives = inputs.sourceFolder ? readSourceArchives(inputs.directory, inputs.cache, progress)
                                              : readRomArchives(inputs.directory, inputs.cache, progress);
    if (identified.archives.stopped)
        return identified;  // archives not read would pass for archives of nothing
    identified.found.reserve(identified.archives.archives.size());
    for (FoundArchive& archive : identified.archives.archives) {
        Identification found = basis.matcher->identify(archive.name, archive.contents);
        if (!found.extras.empty())
            nameEntries(inputs.directory, identified.archives, archive);  // the report names the extras
        identified.found.push_back(std::move(found));
    }
    return identified;
}

std::vector<bool> IdentifiedArchives::missingLines(const ContentBasis& basis) const
{
    std::vector<bool> missing(basis.lines->gameOfLine.size());
    for (size_t line = 0; line < missing.size(); ++line)
        missing[line] = basis.lines->gameOfLine[line] != kNoGame;
    for (const Identification& one : found) {
        if (one.holdsGame() && one.line != kNoLine)
            missing[one.line] = false;
    }
    return missing;
}

size_t IdentifiedArchives::linesPresent(const ContentBasis& basis) const
{
    size_t present = 0;
    const std::vector<bool> missing = missingLines(basis);
    for (size_t line = 0; line < missing.size(); ++line)
        present += basis.lines->gameOfLine[line] != kNoGame && !missing[line];
    return present;
}

std::optional<AuditWarning> wrongContentWarning(const ContentBasis& basis, const IdentifiedArchives& identified)
{
    AuditWarning warning{WarningKind::WrongContent, "", 0, {}};
    for (size_t i = 0; i < identified.found.size(); ++i) {
        const Identification& one = identified.found[i];
        if (one.state != ContentState::AnotherGame)
            continue;
        if (++warning.count <= 3) {
            const FoundArchive& archive = identified.archives.archives[i];
            warning.examples.push_back("\"" + displayName(archive.name) + "\" holds " +
                                       displayName(gameTitle(basis.dat->games[one.game])));
        }
    }
    if (warning.count == 0)
        return std::nullopt;
    const bool one = warning.count == 1;
    warning.message = groupedCount(warning.count) + (one ? " archive holds" : " archives hold") +
                      " another game than " + (one ? "its name says" : "their names say") +
                      ", by the sizes and CRCs of the files in " + (one ? "it." : "them.");
    return warning;
}

}  // namespace tokenade
