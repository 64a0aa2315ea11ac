#include "batch_runner.h"

#include "core/repair/changes.h"
#include "core/repair/journal_files.h"
#include "core/session/batch_notice.h"
#include "core/session/job_runner.h"
#include "gui/alert.h"
#include "gui/qt_strings.h"

#include <QStringList>

#include <utility>

using tokenade::AuditKind;
using tokenade::BatchKind;
using tokenade::ChangeBatch;
using tokenade::ChangeResult;

namespace {

// What failed in a batch, a line each; empty when all went well. The files
// a stop kept it from are not failures, and the user's own Cancel is none.
QString failuresOf(const ChangeBatch& batch, bool cancelled)
{
    QStringList lines;
    if (!batch.notStarted.empty())
        lines << toQString(batch.notStarted);
    for (const auto& outcome : batch.outcomes) {
        const std::string& name = outcome.change.kind == tokenade::ChangeKind::Folder ? outcome.change.to
                                                                                      : outcome.change.from;
        const bool failed = outcome.result == ChangeResult::Skipped || outcome.result == ChangeResult::Refused;
        if (failed && !tokenade::wasNotReached(batch, outcome))
            lines << quotedName(name) + QStringLiteral(": ") + toQString(outcome.reason);
    }
    if (!batch.stopped.empty() && !cancelled)
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

BatchRunner::BatchRunner(const ChangeServices& services, Hooks hooks)
    : services_(services)
    , hooks_(std::move(hooks))
{
}

// Quitting stops the batch between files too, as Cancel does.
void BatchRunner::run(AuditKind kind, BatchKind what, std::vector<tokenade::Change> changes, Progress progress)
{
    const std::string directory = services_.session.madeFrom(kind)->tokenadeDirPath;
    tokenade::ChangeOptions options{tokenade::renameJournalFolder(),
                                    tokenade::resolvedPath(directory).value_or(directory), nullptr, {}, {}};
    services_.session.startChanges();
    hooks_.showCommands();
    stop_ = std::stop_source();
    services_.jobs.start<ChangeBatch>(
        [changes = std::move(changes), options, stop = stop_](std::stop_token quit,
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
        [progress = std::move(progress)](std::string_view text) {
            if (progress)
                progress(toQString(text));
        },
        [this, kind, what](ChangeBatch batch) { didRun(kind, what, batch); });
}

void BatchRunner::didRun(AuditKind kind, BatchKind what, const ChangeBatch& batch)
{
    const bool cancelled = stop_.stop_requested();
    services_.session.finishChanges();
    const std::vector<AuditKind> again =
        services_.session.batchEnded(kind, what, tokenade::batchNotice(what, batch, cancelled));
    emit batchEnded(kind);
    emit changesEnded();
    showFailures(what, batch, cancelled);
    hooks_.auditAgain(again);
}

void BatchRunner::undo(const tokenade::BatchSummary& batch)
{
    services_.session.startChanges();
    hooks_.showCommands();
    services_.jobs.start<ChangeBatch>(
        [journal = batch.journalPath, folder = tokenade::renameJournalFolder()](std::stop_token,
                                                                                const JobRunner::Reporter&) {
            return tokenade::undoChanges(journal, tokenade::ChangeOptions{folder, {}, nullptr, {}, {}});
        },
        {}, [this, batch](ChangeBatch undone) { didUndo(undone, batch); });
}

void BatchRunner::didUndo(const ChangeBatch& batch, const tokenade::BatchSummary& undone)
{
    services_.session.finishChanges();
    emit changesEnded();
    showFailures(BatchKind::Undo, batch, false);
    hooks_.auditAgain(services_.session.undoEnded(tokenade::batchNotice(BatchKind::Undo, batch), undone));
}

void BatchRunner::showFailures(BatchKind what, const ChangeBatch& batch, bool cancelled)
{
    if (const QString failures = failuresOf(batch, cancelled); !failures.isEmpty())
        services_.alert.show(failureTitle(what), failures, QStringLiteral("OK"));
}
