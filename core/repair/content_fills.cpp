#include "content_offers.h"

#include "core/foundation/path_join.h"
#include "core/repair/plain_name.h"

#include <climits>
#include <set>

namespace tokenade {

ReadArchives addContentFills(ChangePlan& plan, const AuditResult& result, const SourceByContent& source,
                             const std::vector<bool>& mended, const std::vector<std::string>& belied,
                             const std::string& sourceFolder,
                             const std::string& targetFolder, ChangeKind kind)
{
    const ContentFindings& content = source.content();
    const GameLines& lines = *content.basis.lines;
    // The lines already settled by name: filled from the source, or mended by a near miss.
    std::set<uint32_t> settled;
    for (const OfferedChange& item : plan.items) {
        if (item.tickedByDefault)
            settled.insert(lines.lineNamed(item.expected));
    }
    for (size_t i = 0; i < result.nearMisses.pairs.size(); ++i) {
        if (belied[i].empty())
            settled.insert(lines.lineNamed(result.nearMisses.pairs[i].expected->name()));
    }

    ReadArchives read;
    const IdentifiedArchives& identified = *content.source;
    for (const ResultEntry& entry : result.list(CategoryId::Missing)) {
        const uint32_t line = lines.lineNamed(entry.name());
        if (line == kNoLine || mended[line] || settled.count(line))
            continue;
        const FoundArchive* archive = source.holding(line);
        if (!archive)
            continue;
        settled.insert(line);
        const std::string& folder = identified.archives.folders[archive->folder];
        OfferedChange item;
        item.kind = OfferKind::Fill;
        item.expected = std::string(entry.name());
        const size_t index = static_cast<size_t>(archive - identified.archives.archives.data());
        item.reason = contentReason(content.basis, identified.found[index].game);
        item.shownSource = identified.archives.pathOf(*archive);
        item.change = Change{kind, joinPath(sourceFolder, folder), archive->name, targetFolder, item.expected,
                             FileIdentity{}};
        if (const auto why = whyNotAPlainName(item.expected, NAME_MAX))
            item.refusal = "the expected name cannot be a file name: " + *why;
        read.emplace_back(plan.items.size(), archive);
        plan.items.push_back(std::move(item));
    }
    return read;
}

}  // namespace tokenade
