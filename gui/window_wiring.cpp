#include "window_wiring.h"

#include "gui/main_window.h"
#include "gui/notice_area.h"
#include "gui/qv_app_delegate.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

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
    QObject::connect(tab.noticeArea, &NoticeArea::folderAsked, c, [c, kind] { c->noticeLinkActivated(kind); });
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
    QObject::connect(ui.selectDatFile, &QAction::triggered, c, &QVAppDelegate::selectDatFile);
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
    QObject::connect(ui.focusFilter, &QAction::triggered, c, &QVAppDelegate::focusFilter);
    for (int segment = 0; segment < static_cast<int>(ui.pickCategory.size()); ++segment)
        QObject::connect(ui.pickCategory[static_cast<size_t>(segment)], &QAction::triggered, c,
                         [c, segment] { c->pickCategory(segment); });
    for (AuditKind kind : tokenade::kAuditKinds)
        connectTab(ui.tabs[kind], kind, c);

    for (QLineEdit* field : {ui.tokenadeDirPathTextField, ui.romsListPathTextField, ui.datPathTextField})
        QObject::connect(field, &QLineEdit::textChanged, c, &QVAppDelegate::pathFieldsChanged);
    QObject::connect(ui.tokenadeDirPathTextField, &QLineEdit::editingFinished, c,
                     &QVAppDelegate::directoryFieldConfirmed);
    QObject::connect(&window, &MainWindow::directoryDropped, c, &QVAppDelegate::useTokenadeDirectory);
    QObject::connect(&window, &MainWindow::listDropped, c, &QVAppDelegate::useRomsListFile);
    QObject::connect(&window, &MainWindow::datDropped, c, &QVAppDelegate::useDatFile);
}
