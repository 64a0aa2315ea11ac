#pragma once

#include "core/repair/journal_files.h"
#include "gui/changes/change_services.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class BatchRunner;
class QAction;
class QLineEdit;

// Audit › Undo, for the collection the directory field names only: it looks
// on a job for the newest batch made there with changes left to undo (at
// start-up, after every batch or undo, and once the field has stayed still
// a moment, and when the window is brought back to the front), names it in
// the command ("Undo Fill of 6 games (today 14:02)"), and when triggered
// reads the journals again, since the command line may have undone the
// batch meanwhile: it asks once with the list of what is left to undo and
// hands it to the batch runner, or says that the batch offered is gone.
// The batch is the session's; this keeps nothing of it.
class UndoCommand : public QObject {
    Q_OBJECT

public:
    // `undo` (the command), `directoryField`, `services` and `batches` must outlive this.
    // `showNotices` shows the notices anew, which speak of Undo.
    UndoCommand(QAction* undo, QLineEdit* directoryField, const ChangeServices& services, BatchRunner& batches,
                std::function<void()> showNotices);

    void findUndoable();
    void showCommands();

private:
    // The newest batch of the field's directory, read on a job, handed to
    // `found` on the main thread unless the field has changed or a batch
    // runs meanwhile.
    void lookForNewest(std::function<void(std::optional<tokenade::BatchSummary>)> found);
    void undo();
    void askAndUndo(const tokenade::BatchSummary& offered, const std::optional<tokenade::BatchSummary>& newest);

    QAction* undo_;
    QLineEdit* directory_;
    ChangeServices services_;
    BatchRunner& batches_;
    std::function<void()> showNotices_;
    QTimer fieldStill_;  // a lookup per key typed would read the journals for nothing
};
