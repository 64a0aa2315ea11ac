#include "undo_command.h"

#include "core/repair/change_plan.h"
#include "core/repair/journal_files.h"
#include "core/session/audit_session.h"
#include "core/session/batch_notice.h"
#include "core/session/job_runner.h"
#include "core/session/shown_text.h"
#include "gui/alert.h"
#include "gui/changes/batch_runner.h"
#include "gui/qt_strings.h"

#include <QAction>
#include <QLineEdit>

#include <ctime>

namespace {

constexpr int kFieldStillMilliseconds = 400;

}  // namespace

UndoCommand::UndoCommand(QAction* undo, QLineEdit* directoryField, const ChangeServices& services,
                         BatchRunner& batches)
    : undo_(undo)
    , directory_(directoryField)
    , services_(services)
    , batches_(batches)
{
    fieldStill_.setSingleShot(true);
    fieldStill_.setInterval(kFieldStillMilliseconds);
    connect(&fieldStill_, &QTimer::timeout, this, &UndoCommand::findUndoable);
    connect(directory_, &QLineEdit::textChanged, this, [this] {
        services_.session.setUndoable(std::nullopt);  // of another collection, until told otherwise
        showCommands();
        fieldStill_.start();
    });
    connect(&batches_, &BatchRunner::changesEnded, this, &UndoCommand::findUndoable);
    connect(undo_, &QAction::triggered, this, &UndoCommand::undo);
}

// The journals pile up over the years: they are read off the main thread.
void UndoCommand::findUndoable()
{
    const std::string directory = toLocalPath(directory_->text());
    services_.jobs.start<std::optional<tokenade::BatchSummary>>(
        [folder = tokenade::renameJournalFolder(), directory](std::stop_token, const JobRunner::Reporter&) {
            if (directory.empty())
                return std::optional<tokenade::BatchSummary>();
            return tokenade::newestBatch(folder, tokenade::resolvedPath(directory).value_or(directory));
        },
        {}, [this, directory](std::optional<tokenade::BatchSummary> batch) {
            // An answer for a directory the field no longer names, or from
            // before a batch that runs now, is not the newest.
            if (toLocalPath(directory_->text()) == directory && !services_.session.isChanging())
                services_.session.setUndoable(std::move(batch));
            showCommands();
        });
}

void UndoCommand::showCommands()
{
    const std::optional<tokenade::BatchSummary>& batch = services_.session.undoable();
    undo_->setEnabled(services_.session.canUndo());
    undo_->setText(batch ? toQString(tokenade::undoCommandText(*batch, std::time(nullptr)))
                         : QStringLiteral("Undo Last Changes"));
    undo_->setToolTip(batch ? QString()
                            : QStringLiteral("No batch of changes made on the chosen Tokenade directory is left to "
                                             "undo."));
}

void UndoCommand::undo()
{
    if (!services_.session.canUndo())
        return;
    const tokenade::BatchSummary batch = *services_.session.undoable();
    QStringList steps;
    for (const std::string& step : tokenade::undoSteps(batch))
        steps << toQString(step);
    const QString question = toQString(tokenade::undoCommandText(batch, std::time(nullptr))) + QStringLiteral("?");
    if (services_.alert.ask(question, steps.join(QStringLiteral("\n")), QStringLiteral("Undo")) &&
        services_.session.canUndo())
        batches_.undo(batch);
}
