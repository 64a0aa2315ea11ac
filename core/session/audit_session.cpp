#include "audit_session.h"

#include "core/foundation/grouped_count.h"
#include "core/foundation/path_join.h"

#include <algorithm>
#include <utility>

namespace tokenade {

AuditSession::AuditSession()
{
    for (AuditKind kind : kAuditKinds)
        state(kind).result = std::make_shared<const AuditResult>(AuditResult::empty(kind));
}

bool AuditSession::isAnyRunning() const
{
    return std::any_of(kAuditKinds.begin(), kAuditKinds.end(), [this](AuditKind kind) { return isRunning(kind); });
}

void AuditSession::setPaths(std::string directory, std::string listPath)
{
    directory_ = std::move(directory);
    listPath_ = std::move(listPath);
}

bool AuditSession::confirmDirectory(const std::string& directory)
{
    if (confirmedDirectory_ == directory)
        return false;
    confirmedDirectory_ = directory;
    return true;
}

AuditInputs AuditSession::startAudit(AuditKind kind)
{
    KindState& kept = state(kind);
    ++kept.running;
    if (!std::exchange(kept.changesOutlastAudit, false))
        kept.changes.reset();
    return AuditInputs{directory_, listPath_, kind == AuditKind::Videos && availableOnly_, true, ++kept.started};
}

AuditSession::Finish AuditSession::finishAudit(AuditKind kind, AuditOutcome&& outcome)
{
    KindState& kept = state(kind);
    --kept.running;
    if (outcome.stopped)
        return Finish::Stopped;
    if (!outcome.result)
        return Finish::ListUnusable;
    // Two audits of a kind may run at once: one that finishes after a later
    // one must not put back what the files were.
    if (outcome.inputs.number < kept.adopted)
        return Finish::Superseded;
    kept.adopted = outcome.inputs.number;
    kept.result = std::make_shared<const AuditResult>(std::move(*outcome.result));
    kept.madeFrom = outcome.inputs;
    kept.saved.reset();
    kept.renames = {};
    kept.fill = {};
    kept.refused.clear();
    return Finish::Adopted;
}

bool AuditSession::pathsChanged(AuditKind kind) const
{
    const std::optional<AuditInputs>& inputs = state(kind).madeFrom;
    return inputs && (inputs->tokenadeDirPath != directory_ || inputs->romsListPath != listPath_);
}

bool AuditSession::checkBoxChanged(AuditKind kind) const
{
    const std::optional<AuditInputs>& inputs = state(kind).madeFrom;
    return kind == AuditKind::Videos && inputs && inputs->availableRomVideosOnly != availableOnly_;
}

// The leftovers warning sends the user to Undo; while no batch is left to
// undo, it says what else can be done.
std::optional<std::string> AuditSession::leftoversWithoutUndo(const AuditWarning& warning) const
{
    if (warning.kind != WarningKind::BatchLeftovers || undoable_)
        return std::nullopt;
    const size_t cut = warning.message.find(';');
    const bool one = warning.count == 1;
    return warning.message.substr(0, cut) + (one ? "; no batch left to undo names it, so Undo cannot remove it: "
                                                   "look at it and delete it by hand once no batch runs."
                                                 : "; no batch left to undo names them, so Undo cannot remove them: "
                                                   "look at them and delete them by hand once no batch runs.");
}

std::vector<AuditSession::Notice> AuditSession::notices(AuditKind kind) const
{
    const KindState& kept = state(kind);
    std::vector<Notice> notices;
    for (const AuditWarning& warning : kept.result->warnings)
        notices.push_back({leftoversWithoutUndo(warning).value_or(warning.message), warning.examples, {}});
    if (kind == AuditKind::Roms)
        addContentNotices(notices);
    if (pathsChanged(kind))
        notices.push_back({"These results are of the earlier paths " + kept.madeFrom->tokenadeDirPath + " and " +
                               kept.madeFrom->romsListPath + ": audit again to see those above. The counts marked "
                               "* are theirs.",
                           {}, {}});
    if (checkBoxChanged(kind))
        notices.push_back({std::string("These results were made with \u201COnly videos of the roms that are "
                                       "present\u201D ") +
                               (kept.madeFrom->availableRomVideosOnly ? "ticked" : "not ticked") +
                               ": audit the videos again to see them as the box is now. The counts marked * are "
                               "theirs.",
                           {}, {}});
    if (kept.saved)
        notices.push_back(*kept.saved);
    if (kept.changes)
        notices.push_back(*kept.changes);
    return notices;
}

void AuditSession::reportsSaved(AuditKind kind, size_t written, std::string folder)
{
    reportFolder_ = folder;
    state(kind).saved = Notice{"Saved " + std::to_string(written) + (written == 1 ? " report to " : " reports to ") +
                                   folder + ".",
                               {}, folder};
}

std::optional<std::string> AuditSession::viewMessage(AuditKind kind, const CategoryFacts& facts) const
{
    if (!isAudited(kind)) {
        // Only what is still to do: a path chosen is not asked for again.
        const std::string command = kind == AuditKind::Roms ? "Audit ROMs" : "Audit Videos";
        std::string choose = directory_.empty() && listPath_.empty()
                                 ? "the Tokenade directory and the supported roms list"
                             : directory_.empty() ? "the Tokenade directory"
                             : listPath_.empty()  ? "the supported roms list"
                                                  : "";
        if (choose.empty())
            return "Nothing audited yet.\n\n" + command + " to compare the collection with the list.";
        return "Nothing audited yet.\n\nChoose " + choose + ",\nthen " + command + ".";
    }
    if (facts.id == CategoryId::Extra && !result(kind).availableOnly)
        return std::string("Extra videos are found by an audit with\n\u201COnly videos of the roms that are "
                           "present\u201D ticked:\n") +
               (availableOnly_ ? "audit the videos again." : "tick it and audit the videos again.");
    return std::nullopt;
}

bool AuditSession::isSegmentEnabled(const CategoryFacts& facts) const
{
    return facts.id != CategoryId::Extra || availableOnly_;
}

std::string AuditSession::segmentLabel(AuditKind kind, const CategoryFacts& facts) const
{
    std::string label(facts.key);
    label[0] = static_cast<char>(label[0] - 'a' + 'A');
    if (viewMessage(kind, facts))
        return label;
    return label + " " + groupedCount(result(kind).list(facts.id).size()) + (isStale(kind) ? "*" : "");
}

std::string AuditSession::folderPathOf(AuditKind kind, const ResultEntry& entry) const
{
    const std::optional<AuditInputs>& inputs = madeFrom(kind);
    if (!inputs || entry.folder == kNoFolder)
        return {};
    return joinPath(inputs->tokenadeDirPath, result(kind).folderOf(entry));
}

}  // namespace tokenade
