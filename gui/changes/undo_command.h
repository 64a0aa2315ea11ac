#pragma once

#include "gui/changes/change_services.h"

#include <QObject>
#include <QTimer>

class BatchRunner;
class QAction;
class QLineEdit;

// Audit › Undo, for the collection the directory field names only: it looks
// on a job for the newest batch made there with changes left to undo (at
// start-up, after every batch or undo, and once the field has stayed still
// a moment), names it in the command ("Undo Fill of 6 games (today
// 14:02)"), asks once with the list of what it will undo, and hands it to
// the batch runner. The batch is the session's; this keeps nothing of it.
class UndoCommand : public QObject {
    Q_OBJECT

public:
    // `undo` (the command), `directoryField`, `services` and `batches` must outlive this.
    UndoCommand(QAction* undo, QLineEdit* directoryField, const ChangeServices& services, BatchRunner& batches);

    void findUndoable();
    void showCommands();

private:
    void undo();

    QAction* undo_;
    QLineEdit* directory_;
    ChangeServices services_;
    BatchRunner& batches_;
    QTimer fieldStill_;  // a lookup per key typed would read the journals for nothing
};
