#include "qv_app_delegate.h"

#include "core/audit/name_differences.h"
#include "core/repair/journal_files.h"
#include "core/repair/rename_plan.h"
#include "core/repair/renames.h"
#include "core/session/batch_notice.h"
#include "gui/alert.h"
#include "gui/near_misses_view.h"
#include "gui/qt_strings.h"

#include <QAction>
#include <QToolButton>

using tokenade::AuditKind;
using tokenade::NearMisses;
using tokenade::RenameBatch;
using tokenade::RenameResult;

namespace {

QString quotedName(std::string_view name)
{
    return QStringLiteral("\u201C") + toQString(name) + QStringLiteral("\u201D");
}

QString differenceWords(uint8_t differences)
{
    QStringList words;
    for (std::string_view word : tokenade::differenceNames(tokenade::Differences{differences}))
        words << toQString(word);
    return words.join(QStringLiteral(", "));
}

// The names listed but never renamed, a paragraph each, with why.
QStringList notRenamed(const tokenade::AuditResult& result)
{
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
    for (const auto& cut : near.cut)
        paragraphs << QStringLiteral("The list line ") + quotedName(cut.line) + QStringLiteral(" expects ") +
                          quotedName(cut.expected) + QStringLiteral(" because of its period, and ") +
                          quotedName(cut.found->name()) + QStringLiteral(" is there: mend the line or the name yourself.");
    return paragraphs;
}

// What failed in a batch, a line each; empty when all went well.
QString failuresOf(const RenameBatch& batch)
{
    QStringList lines;
    if (!batch.notStarted.empty())
        lines << toQString(batch.notStarted);
    for (const auto& outcome : batch.outcomes) {
        if (outcome.result == RenameResult::Skipped || outcome.result == RenameResult::Refused)
            lines << quotedName(outcome.change.from) + QStringLiteral(": ") + toQString(outcome.reason);
    }
    if (!batch.notRecorded.empty())
        lines << QStringLiteral("The journal was not updated: ") + toQString(batch.notRecorded);
    return lines.join(QStringLiteral("\n"));
}

}  // namespace

void QVAppDelegate::showNearMissCommands()
{
    for (AuditKind kind : tokenade::kAuditKinds) {
        const TabElements& elements = tab(kind);
        elements.nearMissesButton->setText(toQString(session_.nearMissLabel(kind)));
        elements.nearMissesButton->setEnabled(session_.canShowNearMisses(kind));
        elements.nearMissesView->setRenameEnabled(session_.canRename(kind));
    }
    window_.undoLastRenames->setEnabled(session_.canUndoRenames());
}

void QVAppDelegate::showNearMisses(AuditKind kind)
{
    fillNearMissesView(kind);
    tab(kind).nearMissesView->show();
    tab(kind).nearMissesView->raise();
}

// Also after each audit while the view is open: its rows and ticks must be
// the pairs that Rename would act on.
void QVAppDelegate::fillNearMissesView(AuditKind kind)
{
    NearMissesView* view = tab(kind).nearMissesView;
    const tokenade::AuditResult& result = session_.result(kind);
    const auto& ticks = session_.nearMissTicks(kind);
    std::vector<NearMissesView::Row> rows;
    for (size_t i = 0; i < result.nearMisses.pairs.size(); ++i) {
        const NearMisses::Pair& pair = result.nearMisses.pairs[i];
        rows.push_back({toQString(pair.expected->name()), toQString(pair.found->name()),
                        toQString(result.folderOf(*pair.found)), differenceWords(pair.differences),
                        i < ticks.size() && ticks[i]});
    }
    const QString title = toQString(session_.nearMissLabel(kind)).remove(QStringLiteral("…")) +
                          QStringLiteral(": files that are there under another name than the one their game "
                                         "expects. Rename gives the ticked ones the expected name.");
    view->showNearMisses(title, rows, notRenamed(result));
    view->setRenameEnabled(session_.canRename(kind));
}

void QVAppDelegate::nearMissTicked(AuditKind kind, int pair, bool ticked)
{
    session_.tickNearMiss(kind, static_cast<size_t>(pair), ticked);
    showNearMissCommands();
}

// Every rename is shown before any is made, and asked once.
void QVAppDelegate::renameNearMisses(AuditKind kind)
{
    if (!session_.canRename(kind) || !session_.madeFrom(kind))
        return;
    const auto plan = tokenade::planRenames(session_.result(kind), session_.madeFrom(kind)->tokenadeDirPath,
                                            &session_.nearMissTicks(kind));
    const std::vector<tokenade::Rename> renames = tokenade::renamesToTry(plan);
    QStringList lines;
    for (const tokenade::PlannedRename& planned : plan) {
        QString line = fromLocalPath(planned.rename.folder) + QStringLiteral(": ") + quotedName(planned.rename.from) +
                       QStringLiteral(" \u2192 ") + quotedName(planned.rename.to);
        if (!planned.refusal.empty())
            line += QStringLiteral(" (not renamed: ") + toQString(planned.refusal) + QStringLiteral(")");
        lines << line;
    }
    const QString question = renames.size() == 1 ? QStringLiteral("Rename 1 file?")
                                                 : QStringLiteral("Rename %1 files?").arg(renames.size());
    if (renames.empty() || !seams_.alert.ask(question, lines.join(QStringLiteral("\n")), QStringLiteral("Rename")))
        return;
    session_.startRenames();
    showNearMissCommands();
    seams_.jobs.start<RenameBatch>(
        [renames, journals = tokenade::renameJournalFolder()](std::stop_token, const JobRunner::Reporter&) {
            return tokenade::applyRenames(renames, journals);
        },
        {}, [this, kind](RenameBatch batch) { didFinishRenames(kind, batch); });
}

// After renames the audit runs again, so that the window shows what is there now.
void QVAppDelegate::didFinishRenames(AuditKind kind, const RenameBatch& batch)
{
    session_.finishRenames(batch.notStarted.empty() ? batch.journalPath : std::string());
    session_.changesMade(kind, tokenade::batchNotice(tokenade::BatchKind::Renames, batch), true);
    if (const QString failures = failuresOf(batch); !failures.isEmpty())
        seams_.alert.show(QStringLiteral("Some files were not renamed"), failures, QStringLiteral("OK"));
    audit(kind);
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
            if (!session_.isRenaming() && !session_.lastJournal())
                session_.setLastJournal(std::move(journal));
            showNearMissCommands();
        });
}

void QVAppDelegate::undoLastRenames()
{
    if (!session_.canUndoRenames())
        return;
    session_.startRenames();
    showNearMissCommands();
    seams_.jobs.start<RenameBatch>(
        [journal = *session_.lastJournal()](std::stop_token, const JobRunner::Reporter&) {
            return tokenade::undoRenames(journal);
        },
        {}, [this](RenameBatch batch) { didUndoRenames(batch); });
}

void QVAppDelegate::didUndoRenames(const RenameBatch& batch)
{
    session_.finishRenames({});
    findLastJournal();
    if (const QString failures = failuresOf(batch); !failures.isEmpty())
        seams_.alert.show(QStringLiteral("Some renames were not undone"), failures, QStringLiteral("OK"));
    const auto notice = tokenade::batchNotice(tokenade::BatchKind::Undo, batch);
    for (AuditKind kind : tokenade::kAuditKinds) {
        const bool audited = session_.isAudited(kind);
        session_.changesMade(kind, notice, audited);
        if (audited)
            audit(kind);
        showNotices(kind);
    }
    showNearMissCommands();
}
