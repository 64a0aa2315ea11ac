#include "content_offers.h"

#include <cstdint>

namespace tokenade {
namespace {

constexpr size_t kNone = SIZE_MAX;

std::string titleOf(const ContentBasis& basis, uint32_t game)
{
    return std::string(gameTitle(basis.dat->games[game]));
}

}  // namespace

SourceByContent::SourceByContent(const ContentFindings& content, SetFormMask forms)
    : content_(content)
    , holderOfLine_(content.basis.lines->expectedName.size(), kNone)
{
    const IdentifiedArchives& source = *content.source;
    const auto better = [&](size_t holder, const Identification& one) {
        return holder == kNone || (one.exact() && !source.found[holder].exact());
    };
    for (size_t i = 0; i < source.found.size(); ++i) {
        byPath_.emplace(source.archives.pathOf(source.archives.archives[i]), i);
        const Identification& one = source.found[i];
        // A console game has no forms: it is held whole as it is.
        if (!one.holdsGame() || (one.forms != 0 && !(one.forms & forms)))
            continue;
        if (const auto [at, added] = holderOfGame_.emplace(one.game, i); !added && better(at->second, one))
            at->second = i;
        if (one.line != kNoLine && better(holderOfLine_[one.line], one))
            holderOfLine_[one.line] = i;
    }
}

std::string SourceByContent::whyDecoy(uint32_t line, const std::string& path) const
{
    const ContentBasis& basis = content_.basis;
    const uint32_t game = basis.lines->gameOfLine[line];
    const auto at = byPath_.find(path);
    if (game == kNoGame || at == byPath_.end())
        return "";
    const Identification& one = content_.source->found[at->second];
    const std::string wanted = ", not " + titleOf(basis, game);
    switch (one.state) {
    case ContentState::Ambiguous:
        for (const uint32_t tied : one.tied) {
            if (basis.lines->lineOfGame[tied] == line)
                return "";
        }
        return "by content it holds several games alike" + wanted;
    case ContentState::Incomplete:
        return "by content it holds " + std::to_string(one.matched) + " of the " + std::to_string(one.needed) +
               " roms of " + titleOf(basis, one.game) + (one.game == game ? "" : wanted);
    case ContentState::NotInDat: return "by content it holds no rom of the DAT" + wanted;
    case ContentState::NotAZip: return content_.source->archives.archives[at->second].contents.reason;
    default: return one.line == line ? "" : "by content it holds " + titleOf(basis, one.game) + wanted;
    }
}

const FoundArchive* SourceByContent::holding(uint32_t line) const
{
    const size_t holder = holderOfLine_[line];
    return holder == kNone ? nullptr : &content_.source->archives.archives[holder];
}

const FoundArchive* SourceByContent::holdingGame(uint32_t game) const
{
    const auto at = holderOfGame_.find(game);
    return at == holderOfGame_.end() ? nullptr : &content_.source->archives.archives[at->second];
}

const Identification* SourceByContent::identificationAt(const std::string& path) const
{
    const auto at = byPath_.find(path);
    return at == byPath_.end() ? nullptr : &content_.source->found[at->second];
}

const FoundArchive* SourceByContent::archiveAt(const std::string& path) const
{
    const auto at = byPath_.find(path);
    return at == byPath_.end() ? nullptr : &content_.source->archives.archives[at->second];
}

}  // namespace tokenade
