#include "rename_offers.h"

#include "core/foundation/unicode_key.h"
#include "core/repair/content_offers.h"
#include "core/repair/plan_lookups.h"
#include "core/repair/spaced_names.h"
#include "core/sources/path_rules.h"

#include <algorithm>

namespace tokenade {
namespace {

// How many entries of `list` (in the order of their keys, as a merge leaves
// them) have the key `key`.
size_t countWithKey(const ResultList& list, const std::string& key)
{
    auto at = std::partition_point(list.begin(), list.end(),
                                   [&](const ResultEntry& entry) { return unicodeKey(entry.name()) < key; });
    size_t count = 0;
    for (; at != list.end() && unicodeKey(at->name()) == key; ++at)
        ++count;
    return count;
}

// The files of `names` (sorted) alike `name`, as indices.
std::vector<size_t> filesAlike(const KeyedNames& names, std::string_view name)
{
    KeyedNames probe;
    probe.add(name, {});  // compared by key alone: its origin does not matter
    const auto all = names.all();
    auto at = std::lower_bound(all.begin(), all.end(), probe[0], [](const KeyedName& a, const KeyedName& b) {
        return compareSringsCaseInsensitive(a, b) < 0;
    });
    std::vector<size_t> alike;
    for (; at != all.end() && compareSringsCaseInsensitive(*at, probe[0]) == 0; ++at)
        alike.push_back(static_cast<size_t>(at - all.begin()));
    return alike;
}

void addFollowers(ChangePlan& plan, RealFolders& realFolders, const std::string& directory, const FoundNames& other,
                  std::string_view extension)
{
    const size_t leaders = plan.items.size();
    for (size_t i = 0; i < leaders; ++i) {
        if (plan.items[i].kind == OfferKind::Content && !plan.items[i].tickedByDefault)
            continue;  // an archive listed only, which keeps its name
        if (!plan.items[i].refusal.empty())
            continue;  // a rename never made leaves its video alone
        const Change& leader = plan.items[i].change;
        const std::string from = std::string(stemOf(leader.from)) + "." + std::string(extension);
        const std::string to = std::string(stemOf(leader.to)) + "." + std::string(extension);
        if (!filesAlike(other.names, to).empty())
            continue;
        for (const size_t file : filesAlike(other.names, from)) {
            const KeyedName& name = other.names[file];
            OfferedChange follower = renameOffer(realFolders, directory, other.folders[name.origin], name.name(), to,
                                                 OfferKind::Follower);
            follower.expected = to;
            follower.tickedByDefault = plan.items[i].tickedByDefault;
            follower.follows = static_cast<int>(i);
            plan.items.push_back(std::move(follower));
        }
    }
}

// A rename by name whose archive, by what the DAT says it holds, is not
// the game of the line it would take: listed, never made.
void refuseDecoys(std::vector<OfferedChange>& items, const ArchivesByPath& collection, const GameLines& lines)
{
    for (OfferedChange& item : items) {
        const uint32_t line = lines.lineNamed(item.expected);
        if (line == kNoLine || !item.refusal.empty())
            continue;
        if (std::string why = collection.whyDecoy(line, item.shownSource); !why.empty()) {
            item.refusal = std::move(why);
            item.tickedByDefault = false;
        }
    }
}

}  // namespace

std::string_view stemOf(std::string_view name)
{
    const size_t period = name.rfind('.');
    return period == std::string_view::npos || period == 0 ? name : name.substr(0, period);
}

ChangePlan planRenameOffers(const AuditResult& result, const std::string& directory, const FoundNames* otherKind,
                            const ContentFindings* content)
{
    ChangePlan plan;
    RealFolders realFolders;
    for (const NearMisses::Pair& pair : result.nearMisses.pairs) {
        OfferedChange item = renameOffer(realFolders, directory, result.folderOf(*pair.found), pair.found->name(),
                                         std::string(pair.expected->name()), OfferKind::NearMiss);
        item.expected = item.change.to;
        item.differences = pair.differences;
        item.caution = spacedNameCaution(result, item.expected);
        item.tickedByDefault = item.caution.empty();
        plan.items.push_back(std::move(item));
    }
    for (const NearMisses::Cut& cut : result.nearMisses.cut) {
        const std::string key = unicodeKey(cut.expected);
        if (countWithKey(result.list(CategoryId::Missing), key) != 1 || countWithKey(result.list(CategoryId::Valid), key) != 0)
            continue;
        OfferedChange item = renameOffer(realFolders, directory, result.folderOf(*cut.found), cut.found->name(),
                                         cut.expected, OfferKind::CutName);
        item.expected = cut.expected;
        item.tickedByDefault = false;
        plan.items.push_back(std::move(item));
    }
    ReadArchives read;
    if (content) {
        refuseDecoys(plan.items, ArchivesByPath(content->basis, content->collection), *content->basis.lines);
        read = addContentRenames(plan, realFolders, directory, *content);
    }
    if (otherKind)
        addFollowers(plan, realFolders, directory, *otherKind,
                     result.kind == AuditKind::Roms ? kVideoExtension : kRomExtension);
    takeIdentities(plan.items);
    refuseChangedSinceRead(plan.items, read);
    return plan;
}

}  // namespace tokenade
