#pragma once

#include "core/repair/change_plan.h"
#include "core/repair/changes.h"
#include "core/results/audit_result.h"
#include "core/sources/folder_scan.h"

#include <set>
#include <string>
#include <vector>

namespace tokenade {

// A plan and the items the user keeps ticked, one tick an item. An item that
// cannot be made is never ticked; a follower keeps the tick of the item it
// follows, so that a game's video is renamed with its archive or not at all.
class ChangeChoice {
public:
    ChangeChoice() = default;
    // Ticked as the plan says.
    explicit ChangeChoice(ChangePlan plan);

    const ChangePlan& plan() const { return plan_; }
    const std::vector<bool>& ticks() const { return ticks_; }
    // Ticks item `item` or not, and its followers alike; a follower itself
    // and an item out of range are left as they are.
    void tick(size_t item, bool ticked);
    // Ticks only the items whose shownSource is one of `shownSources`.
    void tickOnly(const std::set<std::string>& shownSources);

    size_t tickedCount() const;
    std::vector<Change> changes() const { return plan_.chosen(ticks_); }
    uint64_t bytesToCopy() const { return plan_.bytesToCopy(ticks_); }

private:
    void set(size_t item, bool ticked) { ticks_[item] = ticked && plan_.items[item].refusal.empty(); }

    ChangePlan plan_;
    std::vector<bool> ticks_;
};

// The found files of `result` (every category but the missing names), as a
// scan would have found them: for the files of the other kind that follow a
// rename. Copies the names; the result may go afterwards.
FoundNames foundNamesOf(const AuditResult& result);

// What the ticked copies of a fill need against the room where they go:
// "2 files ticked, 3.1 MB to copy, 512.0 MB free there.", and when the room
// is short, that nothing can be copied so.
std::string fillSummary(const ChangeChoice& fill);
bool hasRoomFor(const ChangeChoice& fill);

// How far a fill has come, in the user's words: "Copied 2 of 5 files, 3.1
// MB of 12.0 MB."; without the bytes when it copies none.
std::string progressText(const ChangeProgress& progress);

}  // namespace tokenade
