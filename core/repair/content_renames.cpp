#include "content_offers.h"

#include "core/foundation/path_join.h"

#include <algorithm>
#include <set>

namespace tokenade {
namespace {

// The archives that hold a game of the list whole under a name that is not
// already its line's, those held exactly first, each group in the order found.
std::vector<size_t> renameCandidates(const IdentifiedArchives& found)
{
    std::vector<size_t> candidates;
    for (size_t i = 0; i < found.found.size(); ++i) {
        const Identification& one = found.found[i];
        if (one.holdsGame() && one.line != kNoLine && one.state != ContentState::RightName)
            candidates.push_back(i);
    }
    std::stable_partition(candidates.begin(), candidates.end(), [&](size_t i) { return found.found[i].exact(); });
    return candidates;
}

}  // namespace

std::string contentReason(const ContentBasis& basis, uint32_t game)
{
    return "content: holds " + std::string(gameTitle(basis.dat->games[game]));
}

std::vector<bool> linesMendedByContent(const ContentFindings& content, const AuditResult& result,
                                       const std::vector<std::string>& belied)
{
    std::set<std::string> renamedByName;
    for (size_t i = 0; i < result.nearMisses.pairs.size(); ++i) {
        const NearMisses::Pair& pair = result.nearMisses.pairs[i];
        if (belied[i].empty())
            renamedByName.insert(joinPath(result.folderOf(*pair.found), pair.found->name()));
    }
    const GameLines& lines = *content.basis.lines;
    const std::vector<std::string> taking = archivesTakingLines(content);
    std::vector<bool> mended(lines.expectedName.size());
    const IdentifiedArchives& found = content.collection;
    for (const size_t i : renameCandidates(found)) {
        const FoundArchive& archive = found.archives.archives[i];
        const std::string path = found.archives.pathOf(archive);
        const uint32_t named = lines.lineNamed(archive.name);
        if ((named == kNoLine || taking[named] != path) && !renamedByName.count(path))
            mended[found.found[i].line] = true;
    }
    return mended;
}

ReadArchives addContentRenames(ChangePlan& plan, RealFolders& realFolders, const std::string& directory,
                               const ContentFindings& content)
{
    const GameLines& lines = *content.basis.lines;
    const IdentifiedArchives& found = content.collection;
    // Per line, the file that has its name or takes it: the archive that
    // takes it, else the file a near miss renames to it. A refused rename
    // (a near miss that content belies) takes nothing.
    const std::vector<std::string> hasName = archivesTakingLines(content);
    std::vector<std::string> takesName(lines.expectedName.size());
    std::set<std::string> renamedByName;
    for (const OfferedChange& item : plan.items) {
        if (!item.refusal.empty())
            continue;
        renamedByName.insert(item.shownSource);
        if (const uint32_t line = lines.lineNamed(item.change.to); line != kNoLine && takesName[line].empty())
            takesName[line] = item.shownSource;
    }

    ReadArchives read;
    for (const size_t i : renameCandidates(found)) {
        const FoundArchive& archive = found.archives.archives[i];
        const Identification& one = found.found[i];
        const std::string path = found.archives.pathOf(archive);
        if (renamedByName.count(path))
            continue;  // its near miss renames it
        OfferedChange item = renameOffer(realFolders, directory, found.archives.folders[archive.folder], archive.name,
                                         lines.expectedName[one.line], OfferKind::Content);
        item.expected = item.change.to;
        item.reason = contentReason(content.basis, one.game);
        const std::string game(gameTitle(content.basis.dat->games[one.game]));
        const uint32_t named = lines.lineNamed(archive.name);
        std::string keptBecause;
        if (named != kNoLine && hasName[named] == path)
            keptBecause = "named for the list's \"" + std::string(content.basis.list->lines[named]) +
                          "\", it keeps its name";
        else if (!hasName[one.line].empty())
            keptBecause = "a second archive of " + game + ": \"" + hasName[one.line] + "\" has its name";
        else if (!takesName[one.line].empty())
            keptBecause = "a second archive of " + game + ": \"" + takesName[one.line] + "\" takes its name";
        else if (item.refusal.empty())
            takesName[one.line] = path;
        if (!keptBecause.empty()) {
            item.refusal = std::move(keptBecause);
            item.tickedByDefault = false;  // listed, and nothing is wrong with leaving it
        }
        read.emplace_back(plan.items.size(), &archive);
        plan.items.push_back(std::move(item));
    }
    return read;
}

void refuseChangedSinceRead(std::vector<OfferedChange>& items, const ReadArchives& read)
{
    for (const auto& [index, archive] : read) {
        OfferedChange& item = items[index];
        if (!item.refusal.empty())
            continue;
        // The identity first, which tells most changes without a read; then the
        // directory itself, which a cache record or a file rewritten with its
        // times put back can belie.
        if (item.change.identity != archive->identity ||
            !stillHolds(joinPath(item.change.folder, item.change.from), *archive))
            item.refusal = "the archive changed since what it holds was read";
    }
}

}  // namespace tokenade
