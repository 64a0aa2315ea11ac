#include "content_offers.h"

#include "core/foundation/path_join.h"

namespace tokenade {
namespace {

std::string titleOf(const ContentBasis& basis, uint32_t game)
{
    return std::string(gameTitle(basis.dat->games[game]));
}

}  // namespace

ArchivesByPath::ArchivesByPath(const ContentBasis& basis, const IdentifiedArchives& archives)
    : basis_(basis)
    , archives_(archives)
{
    // A stopped identification found nothing: no archive is judged.
    for (size_t i = 0; i < archives.found.size(); ++i)
        byPath_.emplace(archives.archives.pathOf(archives.archives.archives[i]), i);
}

std::string ArchivesByPath::whyDecoy(uint32_t line, const std::string& path) const
{
    const auto at = byPath_.find(path);
    if (at == byPath_.end())
        return "";
    const Identification& one = archives_.found[at->second];
    const uint32_t game = basis_.lines->gameOfLine[line];
    if (game == kNoGame) {
        // The DAT cannot say what the line's game holds, but an archive that
        // holds another line's game whole is that game, whatever its name.
        const bool anotherLine = one.holdsGame() && one.line != kNoLine && one.line != line;
        return anotherLine ? "by content it holds " + titleOf(basis_, one.game) : "";
    }
    const std::string wanted = ", not " + titleOf(basis_, game);
    switch (one.state) {
    case ContentState::Ambiguous:
        for (const uint32_t tied : one.tied) {
            if (basis_.lines->lineOfGame[tied] == line)
                return "";
        }
        return "by content it holds several games alike" + wanted;
    case ContentState::Incomplete:
        return "by content it holds " + std::to_string(one.matched) + " of the " + std::to_string(one.needed) +
               " roms of " + titleOf(basis_, one.game) + (one.game == game ? "" : wanted);
    case ContentState::NotInDat: return "by content it holds no rom of the DAT" + wanted;
    case ContentState::NotAZip: return archives_.archives.archives[at->second].contents.reason;
    default: return one.line == line ? "" : "by content it holds " + titleOf(basis_, one.game) + wanted;
    }
}

const FoundArchive* ArchivesByPath::archiveAt(const std::string& path) const
{
    const auto at = byPath_.find(path);
    return at == byPath_.end() ? nullptr : &archives_.archives.archives[at->second];
}

const Identification* ArchivesByPath::identificationAt(const std::string& path) const
{
    const auto at = byPath_.find(path);
    return at == byPath_.end() ? nullptr : &archives_.found[at->second];
}

std::vector<std::string> beliedNearMisses(const ContentFindings& content, const AuditResult& result)
{
    const ArchivesByPath collection(content.basis, content.collection);
    std::vector<std::string> belied;
    for (const NearMisses::Pair& pair : result.nearMisses.pairs) {
        const uint32_t line = content.basis.lines->lineNamed(pair.expected->name());
        belied.push_back(line == kNoLine ? ""
                                         : collection.whyDecoy(line, joinPath(result.folderOf(*pair.found),
                                                                              pair.found->name())));
    }
    return belied;
}

std::vector<std::string> archivesTakingLines(const ContentFindings& content)
{
    const GameLines& lines = *content.basis.lines;
    const ArchiveSet& set = content.collection.archives;
    std::vector<const FoundArchive*> taker(lines.expectedName.size(), nullptr);
    for (const FoundArchive& archive : set.archives) {
        const uint32_t line = lines.lineNamed(archive.name);
        if (line == kNoLine)
            continue;
        const FoundArchive*& held = taker[line];
        const std::string& expected = lines.expectedName[line];
        const bool exact = archive.name == expected;
        if (!held || (exact && held->name != expected) || (exact == (held->name == expected) && archive.name < held->name))
            held = &archive;
    }
    std::vector<std::string> paths(taker.size());
    for (size_t line = 0; line < taker.size(); ++line) {
        if (taker[line])
            paths[line] = set.pathOf(*taker[line]);
    }
    return paths;
}

}  // namespace tokenade
