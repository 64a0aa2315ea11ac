#pragma once

#include "core/audit/audit_run.h"
#include "core/content/collection_identity.h"
#include "core/repair/journal_files.h"
#include "core/results/audit_result.h"
#include "core/session/change_choice.h"
#include "core/session/fill_targets.h"
#include "core/session/per_kind.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tokenade {

// What a batch of changes to the files did.
enum class BatchKind {
    Renames,   // near misses given their expected names
    Fill,      // missing files copied in from a folder
    SetAside,  // unknown or extra files moved out of the collection
    Undo,      // a journal's changes reversed
};

// The state of the window that has rules, without a widget: the last result
// of each kind of audit and the paths it was made from, which audits run, and
// what the window may offer now. The controller turns it into widgets.
//
// Each kind's result is an immutable snapshot: a finished audit replaces it
// with a new one and never changes one that was handed out, so a view that
// holds a snapshot may show it for as long as it likes.
class AuditSession {
public:
    AuditSession();

    // What the window's fields and check box hold now.
    void setPaths(std::string directory, std::string listPath);
    // A directory the user confirmed (chose, typed and confirmed, or restored):
    // true when it differs from the one confirmed before, so that its list
    // should be looked for.
    bool confirmDirectory(const std::string& directory);
    // A list found in `directory` belongs in the list field: no other
    // directory was confirmed since its search began.
    bool wantsListFoundIn(const std::string& directory) const { return confirmedDirectory_ == directory; }
    void setAvailableOnly(bool on) { availableOnly_ = on; }
    bool availableOnly() const { return availableOnly_; }

    // Marks an audit of `kind` as running and returns what it should read:
    // the paths and the check box as they are now.
    AuditInputs startAudit(AuditKind kind);

    // What a finished audit changed.
    enum class Finish { Adopted, ListUnusable, Stopped, Superseded };
    // Takes the outcome of an audit of `kind`: a result
    // replaces the previous one, unless an audit started after it was taken
    // first (Superseded); an unusable list or a stopped audit leaves the
    // previous result and its state as they were.
    Finish finishAudit(AuditKind kind, AuditOutcome&& outcome);

    bool isRunning(AuditKind kind) const { return state(kind).running > 0; }
    bool isAnyRunning() const;
    bool isAudited(AuditKind kind) const { return state(kind).madeFrom.has_value(); }

    // The last result of `kind`; every category empty before the first audit.
    // The reference lasts until the next finishAudit of `kind`; snapshot()
    // gives the same result to keep for longer.
    const AuditResult& result(AuditKind kind) const { return *state(kind).result; }
    std::shared_ptr<const AuditResult> snapshot(AuditKind kind) const { return state(kind).result; }
    // The inputs the last result was made from; nothing before the first audit.
    const std::optional<AuditInputs>& madeFrom(AuditKind kind) const { return state(kind).madeFrom; }
    // The last result was made from other paths than the fields hold now,
    // or (a video result) with the check box the other way: until the next
    // audit, its notice and its segments' counts say so.
    bool isStale(AuditKind kind) const { return pathsChanged(kind) || checkBoxChanged(kind); }
    bool pathsChanged(AuditKind kind) const;
    bool checkBoxChanged(AuditKind kind) const;

    // What the window says above a tab's result view, in this order: the
    // warnings of the last result, on the ROM tab what the content says
    // against its names (contentWarnings) or that the DAT cannot be used,
    // that it is of earlier paths, where the
    // reports were saved, what the last batch of changes did.
    struct Notice {
        std::string text;
        std::vector<std::string> examples;
        std::string folderToOpen;  // the saved reports' folder, for a notice that offers to open it
    };
    std::vector<Notice> notices(AuditKind kind) const;
    // Reports of `kind` were written: `written` files into `folder`.
    void reportsSaved(AuditKind kind, size_t written, std::string folder);
    // The folder reports were last saved to, of either kind or in an earlier
    // run (setReportFolder); "" before any.
    const std::string& reportFolder() const { return reportFolder_; }
    void setReportFolder(std::string folder) { reportFolder_ = std::move(folder); }
    // A batch of `what` (not an undo), made from the last result of `kind`,
    // ended; `notice` (batchNotice) says what it did, above that tab. Returns
    // the kinds whose results may no longer be the files, to audit again:
    // `kind`, and for renames the other kind too once audited, since a
    // game's video is renamed with its archive. The notice outlasts that
    // audit and goes with the next batch or the next audit. Only a result
    // of the batch's collection whose paths the fields still hold is audited
    // again (the audit reads the fields); another says so instead.
    std::vector<AuditKind> batchEnded(AuditKind kind, BatchKind what, Notice notice);
    // The undo of `batch` ended: its notice goes above the tabs of the kinds
    // it touched, which are audited again as after a batch on its collection.
    std::vector<AuditKind> undoEnded(const Notice& notice, const BatchSummary& batch);

    // What a result view shows instead of a category, when it has nothing
    // true to show: before the first audit (asking for the paths not given
    // yet), and for the extra videos of an audit that did not look for
    // them. Nothing: show the category.
    std::optional<std::string> viewMessage(AuditKind kind, const CategoryFacts& facts) const;

    // What the window may do now.
    // Not while a batch changes the files it would read.
    bool canAudit(AuditKind kind) const { return !isRunning(kind) && !isChanging(); }
    bool canPickCategory(AuditKind kind) const { return isAudited(kind); }
    bool canSave(AuditKind kind) const { return isAudited(kind); }
    // A category's segment can be picked: the extra videos only while the
    // check box is on.
    bool isSegmentEnabled(const CategoryFacts& facts) const;
    // A category's segment label: its name and, once an audit has counted
    // it, how many names it holds ("Valid 2,404"), marked "*" while the
    // result is stale. A count that was never made (before the first audit,
    // extra videos not looked for) is not shown.
    std::string segmentLabel(AuditKind kind, const CategoryFacts& facts) const;

    // The folder a found file of the last result of `kind` lies in: the
    // Tokenade directory that result was made from joined with the entry's
    // folder. "" for a missing name.
    std::string folderPathOf(AuditKind kind, const ResultEntry& entry) const;

    // The renames that the last result of `kind` calls for (planRenameOffers),
    // as the user ticks them: ticked as planned after each audit, none
    // before the controller offers them.
    const ChangeChoice& renameOffers(AuditKind kind) const { return state(kind).renames; }
    void offerRenames(AuditKind kind, ChangePlan plan) { state(kind).renames = ChangeChoice(std::move(plan)); }
    void tickRename(AuditKind kind, size_t item, bool ticked) { state(kind).renames.tick(item, ticked); }
    // The button that opens the near misses counts every name their view
    // lists, renamed or not ("1 near miss…", "12 near misses…") and opens
    // it; with none it reads "No near misses" and cannot be clicked, after
    // a rename as after any audit.
    size_t nearMissCount(AuditKind kind) const;
    std::string nearMissLabel(AuditKind kind) const;
    bool canShowNearMisses(AuditKind kind) const { return nearMissCount(kind) != 0 && !pathsChanged(kind); }
    // Renames can start for `kind` when an offer is ticked and nothing runs
    // that could change the files or the result meanwhile.
    bool canRename(AuditKind kind) const
    {
        return canChange() && renameOffers(kind).tickedCount() != 0 && whyNoChanges(kind).empty();
    }
    // Why nothing of `kind` may be changed in the collection of its last
    // result, in words for a tooltip ("The Tokenade directory /x does not
    // exist."), or "": the result's directory is no Tokenade directory
    // (whyNotACollection), as told when the result was adopted.
    const std::string& changesRefused(AuditKind kind) const { return state(kind).refused; }
    void refuseChanges(AuditKind kind, std::string why) { state(kind).refused = std::move(why); }
    // Why no change of `kind` may start now, for the tooltips of its
    // commands, or "": the refusal above, or a result of other paths than
    // the fields hold, whose offers would change the files of another
    // directory than the one the user names now.
    std::string whyNoChanges(AuditKind kind) const;
    // The copies a fill offers for the last result of `kind`, as ticked.
    const ChangeChoice& fillOffers(AuditKind kind) const { return state(kind).fill; }
    void offerFill(AuditKind kind, ChangePlan plan) { state(kind).fill = ChangeChoice(std::move(plan)); }
    void tickFill(AuditKind kind, size_t item, bool ticked) { state(kind).fill.tick(item, ticked); }
    // A fill looks for the missing names of an audit.
    bool canFill(AuditKind kind) const { return canChange() && isAudited(kind) && whyNoChanges(kind).empty(); }
    // Where each collection's fills went last.
    FillTargets& fillTargets() { return fillTargets_; }
    // The shown category's files can be set aside: unknown files of either
    // kind, extra videos, and at least one of them selected.
    bool canSetAside(AuditKind kind, CategoryId shown, size_t selected) const;

    // Batches of changes running, and the newest batch of the collection the
    // directory field names, for Undo: the newest is looked for anew after
    // every batch, so none is known until then.
    void startChanges() { ++changes_; }
    void finishChanges();
    bool isChanging() const { return changes_ > 0; }
    // A batch may start, or be undone, while no audit or batch runs.
    bool canChange() const { return !isChanging() && !isAnyRunning(); }
    void setUndoable(std::optional<BatchSummary> batch) { undoable_ = std::move(batch); }
    const std::optional<BatchSummary>& undoable() const { return undoable_; }
    bool canUndo() const { return undoable_ && canChange(); }

    // The DAT that archives are identified against by content, as its
    // field holds it; "" for none.
    void setDatPath(std::string path) { datPath_ = std::move(path); }
    const std::string& datPath() const { return datPath_; }
    // What identifying the archives of the last ROM result reads: its
    // directory and list with the DAT chosen now. Nothing without a DAT, a
    // ROM result, or a collection that may be changed.
    std::optional<IdentifyInputs> identificationWanted() const;
    // The identification of `of` (a ROM result) against `inputs.datPaths`
    // ended: kept while `of` is the last ROM result, and returns whether it
    // is. A DAT or list that could not be read leaves nothing to offer.
    bool identified(const std::shared_ptr<const AuditResult>& of, const IdentifyInputs& inputs,
                    std::shared_ptr<const BasisAndArchives> found);
    // The identification of the last ROM result against the DAT chosen now,
    // when one was made and its DAT and list could be read; null otherwise.
    // Renames and fills by content work from it.
    std::shared_ptr<const BasisAndArchives> identification() const;
    // The DAT `datPath` could not be used (`why` names file, place and
    // reason): while its field names it, the ROM tab's notices say that
    // identification by content is off, and why.
    void datUnusable(std::string datPath, std::string why);

    // The supported-list discoveries that have not reported back.
    void startDiscovery() { ++discoveries_; }
    void finishDiscovery() { --discoveries_; }
    bool isDiscovering() const { return discoveries_ > 0; }

private:
    struct KindState {
        std::shared_ptr<const AuditResult> result;
        std::optional<AuditInputs> madeFrom;
        int running = 0;
        uint64_t started = 0;  // audits of this kind started, and the number of the one adopted last
        uint64_t adopted = 0;
        std::optional<Notice> saved;
        std::optional<Notice> changes;
        bool changesOutlastAudit = false;
        ChangeChoice renames;
        ChangeChoice fill;
        std::string refused;
    };

    std::optional<std::string> leftoversWithoutUndo(const AuditWarning& warning) const;
    // The content warnings of the ROM result, or that the DAT cannot be used.
    void addContentNotices(std::vector<Notice>& notices) const;
    // The notice of a batch; it outlasts the audit that follows, when `auditFollows`.
    void changesMade(AuditKind kind, Notice notice, bool auditFollows);
    // Of `kinds`, changed by a batch on `collection` (a real path), those to
    // audit again; each gets `notice`, and one that cannot be audited again
    // from the fields says why.
    std::vector<AuditKind> auditAgainAfter(const std::vector<AuditKind>& kinds, const std::string& collection,
                                           const Notice& notice);
    KindState& state(AuditKind kind) { return kinds_[kind]; }
    const KindState& state(AuditKind kind) const { return kinds_[kind]; }

    PerKind<KindState> kinds_;
    std::string directory_;
    std::string listPath_;
    std::optional<std::string> confirmedDirectory_;
    bool availableOnly_ = false;
    int discoveries_ = 0;
    int changes_ = 0;
    std::optional<BatchSummary> undoable_;
    std::string datPath_;
    std::shared_ptr<const AuditResult> identifiedOf_;  // the ROM result `identified_` belongs to
    std::string identifiedDat_;
    std::shared_ptr<const BasisAndArchives> identified_;
    std::vector<AuditWarning> contentWarnings_;  // of `identified_`, for the ROM tab's notices
    std::string unusableDat_;
    std::string whyDatUnusable_;
    std::string reportFolder_;
    FillTargets fillTargets_;
};

}  // namespace tokenade
