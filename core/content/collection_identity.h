#pragma once

#include "core/content/archive_reading.h"
#include "core/content/dat_reader.h"
#include "core/content/identification.h"
#include "core/content/list_match.h"
#include "core/results/audit_warning.h"
#include "core/sources/roms_list.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tokenade {

// How the planners of changes by content use this (they live in core/repair
// and change nothing themselves until the engine applies their plan):
// - renames: identifyArchives(basis, {collection}) and, per archive whose
//   Identification holdsGame() with a line, the rename to
//   basis.lines->expectedName[line] in the archive's own folder; RightName
//   keeps its name, and a second archive of a line already held is a copy,
//   listed, not renamed. Ambiguous and Incomplete are never offered.
// - fills: missingLines() of the collection's identification, then
//   identifyArchives(basis, {source, sourceFolder = true}) and, per missing
//   line, one source archive that holdsGame() with that line, copied under
//   the line's expected name.
// Both report progress in archives read and stop on the token of
// ContentProgress, as a window's job needs.

// What identifying the archives of a folder reads.
struct IdentifyInputs {
    std::string directory;   // a Tokenade directory (its rom folders), or a source folder
    bool sourceFolder = false;  // search all of `directory`, not its rom folders
    std::vector<std::string> datPaths;  // DAT files, zips of DATs and folders of them (readManyDats)
    std::string listPath;
    CacheChoice cache;
    SetFormMask setForms = kAnySetForm;  // with a DAT of families: the forms its sets may be in
};

// The DAT and the list as identification uses them, read once: a rename or
// fill planner that identifies a source folder too reuses them. Move-only;
// `lines` and `matcher` point into `dat` and `list`, which never move (they
// are held by pointer).
struct ContentBasis {
    std::unique_ptr<const DatIndex> dat;
    std::unique_ptr<const RomsList> list;
    std::unique_ptr<const GameLines> lines;
    std::unique_ptr<const SetRules> sets;  // only for a DAT of families (hasFamilies)
    std::unique_ptr<const ContentMatcher> matcher;
};

// Either the basis or why there is none.
struct BasisRead {
    std::optional<ContentBasis> basis;
    std::optional<DatProblem> datProblem;    // no DAT can be used: the first that cannot
    std::vector<DatProblem> datsUnread;      // every DAT that could not be read (the others served)
    std::optional<ListProblem> listProblem;  // the list cannot be used
};

// Reads the DAT and the supported roms list and meets their games and lines.
// The DAT's index comes from its cache when the DAT is unchanged
// (readDatThroughCache; `datCache.path` "" is datIndexCachePath's).
BasisRead readContentBasis(const std::string& datPath, const std::string& listPath, const CacheChoice& datCache = {});
// The same for several DATs read as one (readManyDats): a DAT that cannot be
// read is named in `datsUnread` while the others serve.
BasisRead readContentBasis(std::span<const std::string> datPaths, const std::string& listPath,
                           const CacheChoice& datCache = {});

// The archives of a folder and what identification made of each, parallel.
struct IdentifiedArchives {
    ArchiveSet archives;
    std::vector<Identification> found;  // one per archive, in the set's order

    // How many lines of the list have a game held whole by some archive.
    size_t linesPresent(const ContentBasis& basis) const;
    // Per list line: whether the DAT knows its game and no archive holds it.
    std::vector<bool> missingLines(const ContentBasis& basis) const;
};

// Reads every archive (see readArchives) and identifies it, reporting the
// archives read to `progress`. A stopped run identifies nothing: `found` is
// empty and `archives.stopped` set.
IdentifiedArchives identifyArchives(const ContentBasis& basis, const IdentifyInputs& inputs,
                                    const ContentProgress& progress = {});

// The basis and the archives identified against it, read together.
struct BasisAndArchives {
    BasisRead read;
    IdentifiedArchives identified;  // empty when there is no basis
};

// readContentBasis(inputs.datPaths, inputs.listPath) on a thread of its own
// while the archives are read (the DAT's cache used as inputs.cache says),
// then identifyArchives' identification: the DAT and the list cost no time
// of their own beside the folders' walk. Does not identify anything when
// the DAT or the list cannot be used.
BasisAndArchives readAndIdentify(const IdentifyInputs& inputs, const ContentProgress& progress = {});

// That archives hold another game than their names say, with how many and
// a few examples ("\"Alpha (USA).zip\" holds Beta (Japan)"); nothing when none does.
std::optional<AuditWarning> wrongContentWarning(const ContentBasis& basis, const IdentifiedArchives& identified);

// How a game is shown: its description, else its name.
std::string_view gameTitle(const DatGame& game);

}  // namespace tokenade
