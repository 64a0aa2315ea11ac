#include "change_choice.h"

#include "core/foundation/byte_size.h"
#include "core/foundation/grouped_count.h"

#include <algorithm>

namespace tokenade {

ChangeChoice::ChangeChoice(ChangePlan plan)
    : plan_(std::move(plan))
    , ticks_(plan_.defaultTicks())
{
}

void ChangeChoice::tick(size_t item, bool ticked)
{
    if (item >= ticks_.size() || plan_.items[item].kind == OfferKind::Follower)
        return;
    set(item, ticked);
    for (size_t i = 0; i < plan_.items.size(); ++i) {
        if (plan_.items[i].follows == static_cast<int>(item))
            set(i, ticks_[item]);
    }
}

void ChangeChoice::tickOnly(const std::set<std::string>& shownSources)
{
    for (size_t i = 0; i < plan_.items.size(); ++i)
        set(i, shownSources.count(plan_.items[i].shownSource) != 0);
}

size_t ChangeChoice::tickedCount() const
{
    return static_cast<size_t>(std::count(ticks_.begin(), ticks_.end(), true));
}

FoundNames foundNamesOf(const AuditResult& result)
{
    FoundNames found;
    found.folders = result.folders;
    for (const ResultCategory& category : result.categories) {
        for (const ResultEntry& entry : category.entries) {
            if (entry.folder != kNoFolder)
                found.names.add(entry.name(), entry.folder);
        }
    }
    found.names.sort();
    return found;
}

bool hasRoomFor(const ChangeChoice& fill)
{
    return fill.bytesToCopy() <= fill.plan().freeSpace;
}

std::string fillSummary(const ChangeChoice& fill)
{
    const size_t ticked = fill.tickedCount();
    std::string text = groupedCount(ticked) + (ticked == 1 ? " file" : " files") + " ticked, " +
                       byteSize(fill.bytesToCopy()) + " to copy, " + byteSize(fill.plan().freeSpace) + " free there.";
    if (!hasRoomFor(fill))
        text += " Not enough room: tick fewer files or make room first.";
    return text;
}

std::string progressText(const ChangeProgress& progress)
{
    std::string text = "Copied " + groupedCount(progress.filesDone) + " of " + groupedCount(progress.files) +
                       (progress.files == 1 ? " file" : " files");
    if (progress.bytes != 0)
        text += ", " + byteSize(progress.bytesDone) + " of " + byteSize(progress.bytes);
    return text + ".";
}

}  // namespace tokenade
