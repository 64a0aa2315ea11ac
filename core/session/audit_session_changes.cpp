// AuditSession: the offers of a result, and what batches of changes and
// their undoing leave behind.
#include "audit_session.h"

#include "core/foundation/grouped_count.h"
#include "core/repair/change_plan.h"

namespace tokenade {
namespace {

std::string kindWords(AuditKind kind)
{
    return kind == AuditKind::Roms ? "ROM results" : "video results";
}

}  // namespace

size_t AuditSession::nearMissCount(AuditKind kind) const
{
    const NearMisses& near = result(kind).nearMisses;
    size_t count = near.pairs.size() + near.ambiguous.size() + near.copies.size() + near.cut.size();
    // The renames by content are listed beside them, once identification has planned them.
    for (const OfferedChange& item : renameOffers(kind).plan().items)
        count += item.kind == OfferKind::Content ? 1 : 0;
    return count;
}

std::string AuditSession::nearMissLabel(AuditKind kind) const
{
    const size_t count = nearMissCount(kind);
    if (count == 0)
        return "No near misses";
    return groupedCount(count) + (count == 1 ? " near miss…" : " near misses…");
}

bool AuditSession::canSetAside(AuditKind kind, CategoryId shown, size_t selected) const
{
    const bool found = shown == CategoryId::Unknown || (kind == AuditKind::Videos && shown == CategoryId::Extra);
    return found && selected != 0 && isAudited(kind) && canChange() && whyNoChanges(kind).empty();
}

std::string AuditSession::whyNoChanges(AuditKind kind) const
{
    if (!changesRefused(kind).empty() || !pathsChanged(kind))
        return changesRefused(kind);
    return "The " + kindWords(kind) + " shown are of " + madeFrom(kind)->tokenadeDirPath + " and " +
           madeFrom(kind)->romsListPath + ": audit again before changing the files of the paths above.";
}

void AuditSession::finishChanges()
{
    --changes_;
    undoable_.reset();
}

void AuditSession::changesMade(AuditKind kind, Notice notice, bool auditFollows)
{
    state(kind).changes = std::move(notice);
    state(kind).changesOutlastAudit = auditFollows;
}

// An audit reads the paths of the fields: after a batch on one collection it
// may only stand in for a result of that collection whose paths they hold.
std::vector<AuditKind> AuditSession::auditAgainAfter(const std::vector<AuditKind>& kinds,
                                                     const std::string& collection, const Notice& notice)
{
    std::vector<AuditKind> again;
    for (AuditKind kind : kinds) {
        if (!isAudited(kind)) {  // an undo before any audit still says what it put back
            changesMade(kind, notice, false);
            continue;
        }
        const std::string& directory = madeFrom(kind)->tokenadeDirPath;
        const bool sameCollection = resolvedPath(directory).value_or(directory) == collection;
        if (sameCollection && !pathsChanged(kind)) {
            changesMade(kind, notice, true);
            again.push_back(kind);
            continue;
        }
        Notice elsewhere = notice;
        elsewhere.text += " The " + kindWords(kind) + " shown are of " +
                          (sameCollection ? "the paths before" : directory + ", not of " + collection) +
                          ", so they were not audited again: audit " + collection + " to see the change.";
        changesMade(kind, std::move(elsewhere), false);
    }
    return again;
}

std::vector<AuditKind> AuditSession::batchEnded(AuditKind kind, BatchKind what, Notice notice)
{
    const std::string& directory = madeFrom(kind)->tokenadeDirPath;
    const std::string collection = resolvedPath(directory).value_or(directory);
    changesMade(kind, notice, false);  // shown whatever is audited again
    const AuditKind other = kind == AuditKind::Roms ? AuditKind::Videos : AuditKind::Roms;
    if (what == BatchKind::Renames && isAudited(other))
        return auditAgainAfter({kind, other}, collection, notice);
    return auditAgainAfter({kind}, collection, notice);
}

std::vector<AuditKind> AuditSession::undoEnded(const Notice& notice, const BatchSummary& batch)
{
    std::vector<AuditKind> touched;
    if (batch.touchesRoms)
        touched.push_back(AuditKind::Roms);
    if (batch.touchesVideos)
        touched.push_back(AuditKind::Videos);
    if (touched.empty()) {  // nothing the undo changed lies in a folder of either set
        for (AuditKind kind : kAuditKinds)
            changesMade(kind, notice, false);
        return {};
    }
    return auditAgainAfter(touched, resolvedPath(batch.collection).value_or(batch.collection), notice);
}

}  // namespace tokenade
