#include "content_offers.h"

#include <cstdint>

namespace tokenade {
namespace {

constexpr size_t kNone = SIZE_MAX;

}  // namespace

SourceByContent::SourceByContent(const ContentFindings& content, SetFormMask forms)
    : content_(content)
    , byPath_(content.basis, *content.source)
    , holderOfLine_(content.basis.lines->expectedName.size(), kNone)
{
    const IdentifiedArchives& source = *content.source;
    const auto better = [&](size_t holder, const Identification& one) {
        return holder == kNone || (one.exact() && !source.found[holder].exact());
    };
    for (size_t i = 0; i < source.found.size(); ++i) {
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

}  // namespace tokenade
