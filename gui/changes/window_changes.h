#pragma once

#include "core/session/per_kind.h"
#include "gui/changes/batch_runner.h"
#include "gui/changes/change_services.h"
#include "gui/changes/content_identifier.h"
#include "gui/changes/fixdat_export.h"
#include "gui/changes/undo_command.h"

#include <memory>

struct WindowElements;

// The window's changes to a collection, beside the controller's program: for
// each tab its near misses, its fill from a folder and its set-aside, the
// one runner of their batches, Undo, and the identification by content
// that the ROM tab's renames and fill take once a DAT is chosen, with the
// fixdat it gives. Nothing is offered for a result
// whose directory is no Tokenade directory (the session says why). A change goes from a
// click here to the change engine on a job and back to the session's notice;
// then the controller audits again (BatchRunner::Hooks). The controller
// tells it when a result is adopted and when to show the commands anew.
class WindowChanges {
public:
    // The elements of `window` that offer changes (its `changes`, each tab's
    // result view, the status line and the directory field) and `services`
    // must outlive this.
    WindowChanges(const WindowElements& window, const ChangeServices& services, BatchRunner::Hooks hooks);
    ~WindowChanges();

    // A new result of `kind` was adopted: whether its collection may be
    // changed is asked once, and its offers are planned anew.
    void resultAdopted(tokenade::AuditKind kind);
    // Every command of the changes enabled as the session allows now, and
    // as the result views show and select.
    void showCommands();
    // At start-up: the newest batch of the chosen collection, for Undo.
    void findUndoable() { undo_.findUndoable(); }
    // Tells when the identification by content is made or dropped.
    ContentIdentifier& identifier() { return identifier_; }

private:
    struct TabOffers;

    BatchRunner batches_;
    UndoCommand undo_;
    ContentIdentifier identifier_;
    FixdatExport fixdat_;
    tokenade::AuditSession& session_;
    tokenade::PerKind<std::unique_ptr<TabOffers>> tabs_;
};
