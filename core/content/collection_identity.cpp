#include "collection_identity.h"

#include "core/content/many_dats.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/folder_walk.h"
#include "core/foundation/mapped_memory.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include "core/results/report_text.h"

namespace tokenade {

std::string_view gameTitle(const DatGame& game)
{
    return game.description.empty() ? game.name : game.description;
}

BasisRead readContentBasis(const std::string& datPath, const std::string& listPath, const CacheChoice& datCache)
{
    return readContentBasis(std::span<const std::string>(&datPath, 1), listPath, datCache);
}

BasisRead readContentBasis(std::span<const std::string> datPaths, const std::string& listPath,
                           const CacheChoice& datCache)
{
    BasisRead read;
    ManyDatsRead dat = readManyDats(datPaths, datCache);
    read.datsUnread = std::move(dat.problems);
    if (!dat.dat) {
        read.datProblem = read.datsUnread.empty() ? DatProblem{"", 0, 0, "no DAT named"} : read.datsUnread[0];
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
    if (hasFamilies(*basis.dat))
        basis.sets = std::make_unique<const SetRules>(*basis.dat);
    basis.matcher = std::make_unique<const ContentMatcher>(*basis.dat, *basis.lines, basis.sets.get());
    read.basis = std::move(basis);
    return read;
}

namespace {

ArchiveSet readInputArchives(const IdentifyInputs& inputs, const ContentProgress& progress)
{
    return inputs.sourceFolder ? readSourceArchives(inputs.directory, inputs.cache, progress)
                               : readRomArchives(inputs.directory, inputs.cache, progress);
}

// Identifies every archive read, on as many threads as there are cores:
// each takes a stretch of archives, and the matcher is shared read-only.
IdentifiedArchives identifyRead(const ContentBasis& basis, const IdentifyInputs& inputs, ArchiveSet archives)
{
    IdentifiedArchives identified;
    identified.archives = std::move(archives);
    if (identified.archives.stopped)
        return identified;  // archives not read would pass for archives of nothing
    std::vector<FoundArchive>& all = identified.archives.archives;
    identified.found.resize(all.size());
    adviseHugePages(identified.found.data(), identified.found.size() * sizeof(Identification));
    constexpr size_t kStretch = 1024;
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t begin = next.fetch_add(kStretch); begin < all.size(); begin = next.fetch_add(kStretch)) {
            for (size_t i = begin; i < std::min(all.size(), begin + kStretch); ++i) {
                identified.found[i] = basis.matcher->identify(all[i].name, all[i].contents, inputs.setForms);
                // The report names the extras and, for a set not held exactly, the entries of
                // wrong roms and those left over.
                const Identification& one = identified.found[i];
                const bool aSet = basis.sets && one.state != ContentState::NotAZip && one.state != ContentState::Ambiguous &&
                                  (one.game != kNoGame || basis.sets->machineNamed(lineTitle(all[i].name)) != kNoGame);
                if (!one.extras.empty() || (aSet && !one.exact()))
                    nameEntries(inputs.directory, identified.archives, all[i]);
            }
        }
    };
    std::vector<std::jthread> threads;
    for (unsigned t = 1; t < std::min<size_t>(sortThreads(), all.size() / kStretch + 1); ++t)
        threads.emplace_back(work);
    work();
    return identified;
}

}  // namespace

IdentifiedArchives identifyArchives(const ContentBasis& basis, const IdentifyInputs& inputs,
                                    const ContentProgress& progress)
{
    return identifyRead(basis, inputs, readInputArchives(inputs, progress));
}

BasisAndArchives readAndIdentify(const IdentifyInputs& inputs, const ContentProgress& progress)
{
    BasisAndArchives both;
    // A DAT or list that cannot be used stops the walk: its archives would go unused.
    std::stop_source quit;
    const std::stop_callback relay(progress.stop, [&] { quit.request_stop(); });
    ContentProgress reading = progress;
    reading.stop = quit.get_token();
    std::jthread basisReader([&] {
        both.read = readContentBasis(inputs.datPaths, inputs.listPath, CacheChoice{inputs.cache.use, ""});
        if (!both.read.basis)
            quit.request_stop();
    });
    ArchiveSet archives = readInputArchives(inputs, reading);
    basisReader.join();
    if (both.read.basis)
        both.identified = identifyRead(*both.read.basis, inputs, std::move(archives));
    return both;
}

std::vector<bool> IdentifiedArchives::missingLines(const ContentBasis& basis) const
{
    std::vector<bool> missing(basis.lines->gameOfLine.size());
    for (size_t line = 0; line < missing.size(); ++line)
        missing[line] = basis.lines->gameOfLine[line] != kNoGame;
    for (const Identification& one : found) {
        if (!one.holdsGame())
            continue;
        if (one.line != kNoLine)
            missing[one.line] = false;
        // A merged parent's archive holds its clones by content.
        for (const uint32_t clone : one.clonesHeld) {
            if (basis.lines->lineOfGame[clone] != kNoLine)
                missing[basis.lines->lineOfGame[clone]] = false;
        }
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
