#include "screenshot_changes.h"

#include "core/repair/changes.h"
#include "core/repair/journal_files.h"
#include "core/session/audit_session.h"
#include "gui/changes/fill_view.h"
#include "gui/changes/near_misses_view.h"
#include "gui/desktop_window.h"
#include "tools/screenshot_steps.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

namespace {

QTreeWidgetItem* itemOf(QTreeWidget* tree, const QString& folder)
{
    for (QTreeWidgetItemIterator item(tree); *item; ++item) {
        if ((*item)->data(0, Qt::UserRole).toString() == folder)
            return *item;
    }
    return nullptr;
}

}  // namespace

bool shootChanges(DesktopWindow& desktop, ConfirmingAlert& alert, const ChangeShot& shot, const QString& out)
{
    QVAppDelegate& controller = desktop.controller();
    const TabChangeElements& changes = desktop.window().elements().changes.tabs[tokenade::AuditKind::Roms];
    const auto nothingRuns = [&] {
        return !controller.session().isAnyRunning() && !controller.session().isChanging() && desktop.jobs().idle();
    };
    const auto grabScreen = [&] {
        settle(300);
        return QGuiApplication::primaryScreen()->grabWindow(0).save(out);
    };
    waitUntil(nothingRuns);  // the rename offers are planned after the audit
    if (shot.tooltip) {
        QToolButton* fill = changes.fillButton;
        QToolTip::showText(fill->mapToGlobal(QPoint(fill->width() / 2, fill->height())), fill->toolTip(), fill);
        return grabScreen();
    }
    if (shot.nearMisses || shot.fill) {
        (shot.nearMisses ? changes.nearMissesButton : changes.fillButton)->click();
        waitUntil([&] { return changes.nearMissesView->isVisible() || changes.fillView->isVisible(); });
    }
    if (QTreeWidgetItem* folder = shot.fillInto.isEmpty() ? nullptr : itemOf(changes.fillView->targetChoice(), shot.fillInto)) {
        changes.fillView->targetChoice()->setCurrentItem(folder);
        waitUntil(nothingRuns);
    }
    if (!shot.copy && !shot.undo && !shot.undoQuestion && !shot.shellUndo)
        return grabScreen();
    (shot.copy ? changes.fillView->copyButton() : changes.nearMissesView->renameButton())->click();
    waitUntil(nothingRuns);  // the batch, the audit after it, and the look for what Undo would undo
    changes.fillView->hide();
    QAction* undo = desktop.window().elements().changes.undoLastChanges;
    if (shot.shellUndo) {
        waitUntil([&] { return controller.session().undoable().has_value(); });
        tokenade::undoChanges(controller.session().undoable()->journalPath,
                              tokenade::ChangeOptions{tokenade::renameJournalFolder(), {}, nullptr, {}, {}});
    }
    if (shot.undoQuestion || shot.shellUndo) {
        alert.shownInto = out;
        undo->trigger();
        waitUntil([&alert] { return alert.shown; });  // Undo reads the journals again before it asks
        return alert.shown;
    }
    undo->trigger();
    waitUntil(nothingRuns);
    settle(300);
    return desktop.window().grab().save(out);
}
