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
#include <QGuiApplication>
#include <QLineEdit>

#include <ctime>

namespace {

constexpr int kFieldStillMilliseconds = 400;

}  // namespace

UndoCommand::UndoCommand(QAction* undo, QLineEdit* directoryField, const ChangeServices& services,
                         BatchRunner& batches, std::function<void()> showNotices)
    : undo_(undo)
    , directory_(directoryField)
    , services_(services)
    , batches_(batches)
    , showNotices_(std::move(showNotices))
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
    // Back from a shell, where the command line may have undone the batch.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && !services_.session.isChanging())
            findUndoable();
    });
}

// The journals pile up over the years: they are read off the main thread.
void UndoCommand::lookForNewest(std::function<void(std::optional<tokenade::BatchSummary>)> found)
{
    const std::string directory = toLocalPath(directory_->text());
    services_.jobs.start<std::optional<tokenade::BatchSummary>>(
        [folder = tokenade::renameJournalFolder(), directory](std::stop_token, const JobRunner::Reporter&) {
            if (directory.empty())
                return std::optional<tokenade::BatchSummary>();
            return tokenade::newestBatch(folder, tokenade::resolvedPath(directory).value_or(directory));
        },
        {}, [this, directory, found = std::move(found)](std::optional<tokenade::BatchSummary> batch) {
            // An answer for a directory the field no longer names, or from
            // before a batch that runs now, is not the newest.
            if (toLocalPath(directory_->text()) == directory && !services_.session.isChanging()) {
                services_.session.setUndoable(batch);
                showCommands();
                showNotices_();
                found(std::move(batch));
            }
        });
}

void UndoCommand::findUndoable()
{
    lookForNewest([](const std::optional<tokenade::BatchSummary>&) {});
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
    lookForNewest([this, offered = *services_.session.undoable()](const std::optional<tokenade::BatchSummary>& newest) {
        askAndUndo(offered, newest);
    });
}

// The files may have moved since the command was named: the question lists
// what the journal leaves to undo now, and a batch undone elsewhere is not
// silently replaced by the one before it.
void UndoCommand::askAndUndo(const tokenade::BatchSummary& offered, const std::optional<tokenade::BatchSummary>& newest)
{
    const std::time_t now = std::time(nullptr);
    if (!newest || newest->journalPath != offered.journalPath) {
        const QString gone = toQString(tokenade::undoCommandText(offered, now).substr(5));  // without "Undo "
        services_.alert.show(QStringLiteral("Nothing left to undo of ") + gone,
                             newest ? QStringLiteral("It was undone outside this window. The command now offers: ") +
                                          toQString(tokenade::undoCommandText(*newest, now)) + QStringLiteral(".")
                                    : QStringLiteral("It was undone outside this window, and no other batch of "
                                                     "changes made on this Tokenade directory is left to undo."),
                             QStringLiteral("OK"));
        return;
    }
    QStringList steps;
    for (const std::string& step : tokenade::undoSteps(*newest))
        steps << toQString(step);
    const QString question = toQString(tokenade::undoCommandText(*newest, now)) + QStringLiteral("?");
    if (services_.alert.ask(question, steps.join(QStringLiteral("\n")), QStringLiteral("Undo")) &&
        services_.session.canUndo())
        batches_.undo(*newest);
}
