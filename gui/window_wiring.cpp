#include "window_wiring.h"

#include "gui/fill_view.h"
#include "gui/main_window.h"
#include "gui/near_misses_view.h"
#include "gui/qv_app_delegate.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using tokenade::AuditKind;

namespace {

// The commands of one tab, each carried out for the tab's kind.
void connectTab(const TabElements& tab, AuditKind kind, QVAppDelegate* c)
{
    QObject::connect(tab.filterField, &QLineEdit::textChanged, c, [c, kind] { c->filterChanged(kind); });
    QObject::connect(tab.resultView->copyFullPathAction(), &QAction::triggered, c,
                     [c, kind] { c->copyFullPaths(kind); });
    QObject::connect(tab.resultView->openFolderAction(), &QAction::triggered, c,
                     [c, kind] { c->openContainingFolder(kind); });
    QObject::connect(tab.resultView, &QAbstractItemView::doubleClicked, c,
                     [c, kind] { c->openContainingFolder(kind); });
    QObject::connect(tab.noticeArea, &QLabel::linkActivated, c, [c, kind] { c->noticeLinkActivated(kind); });
    QObject::connect(tab.nearMissesButton, &QToolButton::clicked, c, [c, kind] { c->showNearMisses(kind); });
    QObject::connect(tab.nearMissesView, &NearMissesView::rowTicked, c,
                     [c, kind](int pair, bool ticked) { c->nearMissTicked(kind, pair, ticked); });
    QObject::connect(tab.nearMissesView, &NearMissesView::renameClicked, c, [c, kind] { c->renameNearMisses(kind); });
    QObject::connect(tab.fillButton, &QToolButton::clicked, c, [c, kind] { c->fillFromFolder(kind); });
    QObject::connect(tab.fillView, &FillView::rowTicked, c,
                     [c, kind](int item, bool ticked) { c->fillTicked(kind, item, ticked); });
    QObject::connect(tab.fillView, &FillView::copyClicked, c, [c, kind] { c->copyFill(kind); });
    QObject::connect(tab.fillView, &FillView::targetChosen, c, [c, kind](int folder) { c->fillInto(kind, folder); });
    QObject::connect(tab.fillView, &FillView::cancelClicked, c, &QVAppDelegate::stopChanges);
    QObject::connect(tab.resultView->setAsideAction(), &QAction::triggered, c,
                     [c, kind] { c->setAsideSelected(kind); });
    QObject::connect(tab.resultView, &ReportView::namesSelected, c, [c, kind] { c->resultSelectionChanged(kind); });
}

}  // namespace

void attachWindow(MainWindow& window, QVAppDelegate& controller)
{
    const WindowElements& ui = window.elements();
    controller.attach(ui);

    QVAppDelegate* c = &controller;
    const TabElements& roms = ui.tabs[AuditKind::Roms];
    const TabElements& videos = ui.tabs[AuditKind::Videos];
    QObject::connect(ui.selectTokenadeDirectory, &QAction::triggered, c, &QVAppDelegate::selectTokenadeDirectory);
    QObject::connect(ui.selectRomsListFile, &QAction::triggered, c, &QVAppDelegate::selectRomsListFile);
    QObject::connect(roms.audit, &QAction::triggered, c, &QVAppDelegate::auditRoms);
    QObject::connect(videos.audit, &QAction::triggered, c, &QVAppDelegate::auditVideos);
    QObject::connect(roms.resultControl, &SegmentedControl::segmentClicked, c,
                     &QVAppDelegate::didClickRomsResultControl);
    QObject::connect(videos.resultControl, &SegmentedControl::segmentClicked, c,
                     &QVAppDelegate::didClickVideosResultControl);
    QObject::connect(ui.checkAvailableRomVideosOnly, &QCheckBox::clicked, c,
                     &QVAppDelegate::didClickCheckAvailableRomVideosOnly);
    QObject::connect(roms.save, &QAction::triggered, c, &QVAppDelegate::saveRomsResult);
    QObject::connect(videos.save, &QAction::triggered, c, &QVAppDelegate::saveVideosResult);
    QObject::connect(ui.openHomepage, &QAction::triggered, c, &QVAppDelegate::openHomepage);
    QObject::connect(ui.showAbout, &QAction::triggered, c, &QVAppDelegate::showAbout);
    QObject::connect(ui.quit, &QAction::triggered, qApp, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(ui.undoLastChanges, &QAction::triggered, c, &QVAppDelegate::undoLastChanges);
    QObject::connect(ui.focusFilter, &QAction::triggered, c, &QVAppDelegate::focusFilter);
    for (int segment = 0; segment < static_cast<int>(ui.pickCategory.size()); ++segment)
        QObject::connect(ui.pickCategory[static_cast<size_t>(segment)], &QAction::triggered, c,
                         [c, segment] { c->pickCategory(segment); });
    for (AuditKind kind : tokenade::kAuditKinds)
        connectTab(ui.tabs[kind], kind, c);

    for (QLineEdit* field : {ui.tokenadeDirPathTextField, ui.romsListPathTextField})
        QObject::connect(field, &QLineEdit::textChanged, c, &QVAppDelegate::pathFieldsChanged);
    QObject::connect(ui.tokenadeDirPathTextField, &QLineEdit::editingFinished, c,
                     &QVAppDelegate::directoryFieldConfirmed);
    QObject::connect(&window, &MainWindow::directoryDropped, c, &QVAppDelegate::useTokenadeDirectory);
    QObject::connect(&window, &MainWindow::listDropped, c, &QVAppDelegate::useRomsListFile);
}
