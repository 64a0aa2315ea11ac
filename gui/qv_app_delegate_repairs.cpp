#include "qv_app_delegate.h"

#include "core/audit/name_differences.h"
#include "core/foundation/path_join.h"
#include "core/repair/changes.h"
#include "core/repair/journal_files.h"
#include "core/repair/rename_offers.h"
#include "core/session/batch_notice.h"
#include "core/sources/folder_scan.h"
#include "gui/alert.h"
#include "gui/fill_view.h"
#include "gui/near_misses_view.h"
#include "gui/qt_strings.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

#include <set>

using tokenade::AuditKind;
using tokenade::BatchKind;
using tokenade::ChangeBatch;
using tokenade::ChangeResult;
using tokenade::NearMisses;
using tokenade::OfferKind;
using tokenade::OfferedChange;

namespace {

QString quotedName(std::string_view name)
{
    return QStringLiteral("\u201C") + toQString(name) + QStringLiteral("\u201D");
}

// The folder of an offer's file, relative to the Tokenade directory.
QString folderOf(const OfferedChange& item)
{
    const std::string& shown = item.shownSource;
    const size_t cut = shown.size() > item.change.from.size() ? shown.size() - item.change.from.size() - 1 : 0;
    return toQString(std::string_view(shown).substr(0, cut));
}

// The words of the row's last column: how the name differs, or why it is offered.
QString noteOf(const OfferedChange& item)
{
    QStringList words;
    for (std::string_view word : tokenade::differenceNames(tokenade::Differences{item.differences}))
        words << toQString(word);
    if (item.kind == OfferKind::CutName)
        words << QStringLiteral("cut name: the list line has a period");
    if (item.kind == OfferKind::Follower)
        words << (item.change.to.ends_with(".zip") ? QStringLiteral("follows its video")
                                                   : QStringLiteral("follows its archive"));
    if (!item.refusal.empty())
        words << QStringLiteral("not renamed: ") + toQString(item.refusal);
    return words.join(QStringLiteral(", "));
}

// The names listed but never renamed, a paragraph each, with why. A cut
// name that is offered as a rename is a row instead.
QStringList notRenamed(const tokenade::AuditResult& result, const tokenade::ChangePlan& offers)
{
    std::set<std::string> offered;
    for (const OfferedChange& item : offers.items)
        offered.insert(item.shownSource);
    const NearMisses& near = result.nearMisses;
    QStringList paragraphs;
    for (const auto& group : near.ambiguous) {
        QStringList names;
        for (const tokenade::ResultEntry* entry : group)
            names << quotedName(entry->name());
        paragraphs << QStringLiteral("Too alike to pair, never renamed: ") + names.join(QStringLiteral(", "));
    }
    for (const auto& copy : near.copies)
        paragraphs << quotedName(copy.file->name()) + QStringLiteral(" in ") + toQString(result.folderOf(*copy.file)) +
                          QStringLiteral(" is a second spelling of ") + quotedName(copy.copyOf->name()) +
                          QStringLiteral(", which is there: never renamed.");
    for (const auto& cut : near.cut) {
        if (offered.count(tokenade::joinPath(result.folderOf(*cut.found), cut.found->name())))
            continue;
        paragraphs << QStringLiteral("The list line ") + quotedName(cut.line) + QStringLiteral(" expects ") +
                          quotedName(cut.expected) + QStringLiteral(" because of its period, and ") +
                          quotedName(cut.found->name()) + QStringLiteral(" is there: mend the line or the name yourself.");
    }
    return paragraphs;
}

// What failed in a batch, a line each; empty when all went well.
QString failuresOf(const ChangeBatch& batch)
{
    QStringList lines;
    if (!batch.notStarted.empty())
        lines << toQString(batch.notStarted);
    for (const auto& outcome : batch.outcomes) {
        const std::string& name = outcome.change.kind == tokenade::ChangeKind::Folder ? outcome.change.to
                                                                                      : outcome.change.from;
        if (outcome.result == ChangeResult::Skipped || outcome.result == ChangeResult::Refused)
            lines << quotedName(name) + QStringLiteral(": ") + toQString(outcome.reason);
    }
    if (!batch.stopped.empty())
        lines << QStringLiteral("Stopped before the end: ") + toQString(batch.stopped);
    if (!batch.notRecorded.empty())
        lines << QStringLiteral("The journal was not updated: ") + toQString(batch.notRecorded);
    return lines.join(QStringLiteral("\n"));
}

QString failureTitle(BatchKind kind)
{
    switch (kind) {
    case BatchKind::Renames: return QStringLiteral("Some files were not renamed");
    case BatchKind::Fill: return QStringLiteral("Some files were not copied");
    case BatchKind::SetAside: return QStringLiteral("Some files were not set aside");
    case BatchKind::Undo: break;
    }
    return QStringLiteral("Some changes were not undone");
}

}  // namespace

void QVAppDelegate::showNearMissCommands()
{
    for (AuditKind kind : tokenade::kAuditKinds) {
        const TabElements& elements = tab(kind);
        elements.nearMissesButton->setText(toQString(session_.nearMissLabel(kind)));
        elements.nearMissesButton->setEnabled(session_.canShowNearMisses(kind));
        elements.nearMissesView->setRenameEnabled(session_.canRename(kind));
        elements.fillButton->setEnabled(session_.canFill(kind));
        showSetAsideCommand(kind);
    }
    window_.undoLastChanges->setEnabled(session_.canUndo());
}

void QVAppDelegate::showNearMisses(AuditKind kind)
{
    fillNearMissesView(kind);
    tab(kind).nearMissesView->show();
    tab(kind).nearMissesView->raise();
}

// The offers are planned once per result, from the files as they are then,
// in a job: for a ROM audit the videos of the session's last video audit
// follow their archives, and the reverse, and the other kind's folders are
// read for it when that kind was not audited here.
void QVAppDelegate::offerRenames(AuditKind kind)
{
    const std::shared_ptr<const tokenade::AuditResult> result = session_.snapshot(kind);
    if (!session_.madeFrom(kind) || (result->nearMisses.pairs.empty() && result->nearMisses.cut.empty()))
        return;
    const AuditKind other = kind == AuditKind::Roms ? AuditKind::Videos : AuditKind::Roms;
    const std::string directory = session_.madeFrom(kind)->tokenadeDirPath;
    std::shared_ptr<const tokenade::AuditResult> otherResult;
    if (session_.isAudited(other) && session_.madeFrom(other)->tokenadeDirPath == directory)
        otherResult = session_.snapshot(other);
    seams_.jobs.start<tokenade::ChangePlan>(
        [result, otherResult, directory, kind](std::stop_token stop, const JobRunner::Reporter&) {
            // A walk stopped short hands back nothing: its callback is dropped with it.
            const tokenade::ScanControl control{nullptr, stop, {}};
            const tokenade::FoundNames otherFiles =
                otherResult               ? tokenade::foundNamesOf(*otherResult)
                : kind == AuditKind::Roms ? tokenade::cacheTokenadeVideoDirs(directory, control)
                                          : tokenade::cacheTokenadeRomDirs(directory, control);
            return tokenade::planRenameOffers(*result, directory, &otherFiles);
        },
        {}, [this, kind, result](tokenade::ChangePlan plan) { didPlanRenames(kind, result, std::move(plan)); });
}

// A plan for a result that a newer one has replaced meanwhile is dropped:
// the newer result plans its own.
void QVAppDelegate::didPlanRenames(AuditKind kind, const std::shared_ptr<const tokenade::AuditResult>& planned,
                                   tokenade::ChangePlan plan)
{
    if (session_.snapshot(kind) != planned)
        return;
    session_.offerRenames(kind, std::move(plan));
    showNearMissCommands();
    if (NearMissesView* view = tab(kind).nearMissesView; view && view->isVisible())
        fillNearMissesView(kind);
}

// Also after each audit while the view is open: its rows and ticks must be
// the offers that Rename would act on.
void QVAppDelegate::fillNearMissesView(AuditKind kind)
{
    NearMissesView* view = tab(kind).nearMissesView;
    const tokenade::ChangeChoice& offers = session_.renameOffers(kind);
    std::vector<NearMissesView::Row> rows;
    for (size_t i = 0; i < offers.plan().items.size(); ++i) {
        const OfferedChange& item = offers.plan().items[i];
        rows.push_back({toQString(item.change.to), toQString(item.change.from), folderOf(item), noteOf(item),
                        offers.ticks()[i], item.kind != OfferKind::Follower && item.refusal.empty()});
    }
    const QString title = toQString(session_.nearMissLabel(kind)).remove(QStringLiteral("…")) +
                          QStringLiteral(": files that are there under another name than the one their game "
                                         "expects. Rename gives the ticked ones the expected name.");
    view->showNearMisses(title, rows, notRenamed(session_.result(kind), offers.plan()));
    view->setRenameEnabled(session_.canRename(kind));
}

void QVAppDelegate::nearMissTicked(AuditKind kind, int item, bool ticked)
{
    session_.tickRename(kind, static_cast<size_t>(item), ticked);
    // Its followers' ticks, without remaking the rows while one of them reports a click.
    tab(kind).nearMissesView->showTicks(session_.renameOffers(kind).ticks());
    showNearMissCommands();
}

// Every rename is shown before any is made, and asked once.
void QVAppDelegate::renameNearMisses(AuditKind kind)
{
    if (!session_.canRename(kind))
        return;
    const tokenade::ChangeChoice& offers = session_.renameOffers(kind);
    QStringList lines;
    for (size_t i = 0; i < offers.plan().items.size(); ++i) {
        const OfferedChange& item = offers.plan().items[i];
        if (offers.ticks()[i])
            lines << fromLocalPath(item.change.folder) + QStringLiteral(": ") + quotedName(item.change.from) +
                         QStringLiteral(" \u2192 ") + quotedName(item.change.to);
    }
    const size_t count = offers.tickedCount();
    const QString question =
        count == 1 ? QStringLiteral("Rename 1 file?") : QStringLiteral("Rename %1 files?").arg(count);
    if (seams_.alert.ask(question, lines.join(QStringLiteral("\n")), QStringLiteral("Rename")))
        makeChanges(kind, BatchKind::Renames, offers.changes());
}

// One batch at a time, on a job of its own; Cancel asks it to stop between
// files, and so does quitting.
void QVAppDelegate::makeChanges(AuditKind kind, BatchKind what, std::vector<tokenade::Change> changes)
{
    const std::string directory = session_.madeFrom(kind)->tokenadeDirPath;
    tokenade::ChangeOptions options{tokenade::renameJournalFolder(),
                                    tokenade::resolvedPath(directory).value_or(directory), nullptr, {}, {}};
    session_.startChanges();
    showCommands();
    changeStop_ = std::stop_source();
    seams_.jobs.start<ChangeBatch>(
        [changes = std::move(changes), options, stop = changeStop_](std::stop_token quit,
                                                                    const JobRunner::Reporter& report) mutable {
            std::stop_callback stopOnQuit(quit, [&stop] { stop.request_stop(); });
            std::string lastText;
            options.stop = stop.get_token();
            options.progress = [&](const tokenade::ChangeProgress& progress) {
                // A copy reports as it goes: only a text that changed is worth a wake-up.
                if (std::string text = tokenade::progressText(progress); text != lastText)
                    report(lastText = std::move(text));
            };
            return tokenade::applyChanges(changes, options);
        },
        [this, kind](std::string_view text) {
            setStatus(text);
            tab(kind).fillView->showProgress(toQString(text));
        },
        [this, kind, what](ChangeBatch batch) { didMakeChanges(kind, what, batch); });
}

void QVAppDelegate::stopChanges()
{
    changeStop_.request_stop();
}

// After a batch the audit runs again, so that the window shows what is there
// now; the other kind's too when a rename took its files along.
void QVAppDelegate::didMakeChanges(AuditKind kind, BatchKind what, const ChangeBatch& batch)
{
    session_.finishChanges(batch.notStarted.empty() ? batch.journalPath : std::string());
    session_.changesMade(kind, tokenade::batchNotice(what, batch), true);
    tab(kind).fillView->hide();
    if (const QString failures = failuresOf(batch); !failures.isEmpty())
        seams_.alert.show(failureTitle(what), failures, QStringLiteral("OK"));
    audit(kind);
    const AuditKind other = kind == AuditKind::Roms ? AuditKind::Videos : AuditKind::Roms;
    if (what == BatchKind::Renames && session_.isAudited(other))
        audit(other);
    showNotices(kind);
    showNearMissCommands();
}

// The journals pile up over the years: they are read off the main thread,
// and Undo waits for the answer.
void QVAppDelegate::findLastJournal()
{
    session_.setLastJournal(std::nullopt);
    seams_.jobs.start<std::optional<std::string>>(
        [folder = tokenade::renameJournalFolder()](std::stop_token, const JobRunner::Reporter&) {
            return tokenade::latestJournal(folder);
        },
        {}, [this](std::optional<std::string> journal) {
            // A batch started or made meanwhile is the last one.
            if (!session_.isChanging() && !session_.lastJournal())
                session_.setLastJournal(std::move(journal));
            showNearMissCommands();
        });
}

// The newest journal, whatever its batch did: renames, copies or moves.
void QVAppDelegate::undoLastChanges()
{
    if (!session_.canUndo())
        return;
    session_.startChanges();
    showCommands();
    seams_.jobs.start<ChangeBatch>(
        [journal = *session_.lastJournal(), folder = tokenade::renameJournalFolder()](std::stop_token,
                                                                                      const JobRunner::Reporter&) {
            return tokenade::undoChanges(journal, tokenade::ChangeOptions{folder, {}, nullptr, {}, {}});
        },
        {}, [this](ChangeBatch batch) { didUndoChanges(batch); });
}

void QVAppDelegate::didUndoChanges(const ChangeBatch& batch)
{
    session_.finishChanges({});
    findLastJournal();
    if (const QString failures = failuresOf(batch); !failures.isEmpty())
        seams_.alert.show(failureTitle(BatchKind::Undo), failures, QStringLiteral("OK"));
    const auto notice = tokenade::batchNotice(BatchKind::Undo, batch);
    for (AuditKind kind : tokenade::kAuditKinds) {
        const bool audited = session_.isAudited(kind);
        session_.changesMade(kind, notice, audited);
        if (audited)
            audit(kind);
        showNotices(kind);
    }
    showNearMissCommands();
}
