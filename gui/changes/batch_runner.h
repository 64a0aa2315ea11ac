#pragma once

#include "core/repair/change.h"
#include "core/session/audit_session.h"
#include "gui/changes/change_services.h"

#include <QObject>
#include <QString>

#include <functional>
#include <stop_token>
#include <vector>

namespace tokenade {
struct BatchSummary;
struct ChangeBatch;
}

// Runs the window's batches of changes to a collection through the change
// engine, one at a time, each on a job: renames, fills and set-asides, with
// their progress and a stop between files, and the undoing of a batch
// (UndoCommand chooses which). When one ends it tells the session, which
// keeps the notice of what it did, names what failed in an alert, and hands
// the kinds the session names over to be audited again.
class BatchRunner : public QObject {
    Q_OBJECT

public:
    // What the runner asks of whoever shows the window.
    struct Hooks {
        // A batch started or ended: the session allows other commands now.
        std::function<void()> showCommands;
        // A batch ended: the results of these kinds may no longer be the
        // files, and the session holds its notice.
        std::function<void(const std::vector<tokenade::AuditKind>&)> auditAgain;
    };
    // How far a batch has come, in the user's words.
    using Progress = std::function<void(const QString& text)>;

    // `services` must outlive the runner.
    BatchRunner(const ChangeServices& services, Hooks hooks);

    // Makes `changes`, offered for the last result of `kind`, in the
    // collection that result is of, once the caller has asked the user. The
    // caller checks that the session allows a batch now.
    void run(tokenade::AuditKind kind, tokenade::BatchKind what, std::vector<tokenade::Change> changes,
             Progress progress = {});
    // Undoes `batch` (its journal), once the caller has asked the user and
    // checked that the session allows it now.
    void undo(const tokenade::BatchSummary& batch);
    // Asks the batch running to stop after the file it is at.
    void stop() { stop_.request_stop(); }

Q_SIGNALS:
    // A batch made for `kind` ended, before its kind is audited again.
    void batchEnded(tokenade::AuditKind kind);
    // A batch or an undo ended: the batches left to undo may be others.
    void changesEnded();

private:
    void didRun(tokenade::AuditKind kind, tokenade::BatchKind what, const tokenade::ChangeBatch& batch);
    void didUndo(const tokenade::ChangeBatch& batch, const tokenade::BatchSummary& undone);
    void showFailures(tokenade::BatchKind what, const tokenade::ChangeBatch& batch, bool cancelled);

    ChangeServices services_;
    Hooks hooks_;
    std::stop_source stop_;  // of the batch running, for its Cancel
};
