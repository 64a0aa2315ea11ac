#include "window_wiring.h"

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

void attachWindow(MainWindow& window, QVAppDelegate& controller)
{
    const WindowElements& ui = window.elements();
    controller.setTokenadeDirPathTextField(ui.tokenadeDirPathTextField);
    controller.setRomsListPathTextField(ui.romsListPathTextField);
    controller.setRomsResultView(ui.romsResultView);
    controller.setRomsResultControl(ui.romsResultControl);
    controller.setVideosResultView(ui.videosResultView);
    controller.setVideosResultControl(ui.videosResultControl);
    controller.setCheckAvailableRomVideosOnly(ui.checkAvailableRomVideosOnly);
    controller.setProgressLabel(ui.progressLabel);
    controller.setProgressIndicator(ui.progressIndicator);
    controller.setTabView(ui.tabView);
    controller.setCommands({{ui.auditRoms, AuditKind::Roms}, {ui.auditVideos, AuditKind::Videos}},
                           {{ui.saveRomsResult, AuditKind::Roms}, {ui.saveVideosResult, AuditKind::Videos}});
    controller.setNoticeAreas(ui.romsNotice, ui.videosNotice);
    const std::vector<QVAppDelegate::NearMissElements> nearMisses = {
        {AuditKind::Roms, ui.romsNearMissesButton, ui.romsNearMisses},
        {AuditKind::Videos, ui.videosNearMissesButton, ui.videosNearMisses}};
    controller.setNearMissElements(nearMisses);
    controller.setUndoCommand(ui.undoLastRenames);
    controller.setFilterFields(ui.romsFilterField, ui.videosFilterField);

    QVAppDelegate* c = &controller;
    QObject::connect(ui.selectTokenadeDirectory, &QAction::triggered, c, &QVAppDelegate::selectTokenadeDirectory);
    QObject::connect(ui.selectRomsListFile, &QAction::triggered, c, &QVAppDelegate::selectRomsListFile);
    QObject::connect(ui.auditRoms, &QAction::triggered, c, &QVAppDelegate::auditRoms);
    QObject::connect(ui.auditVideos, &QAction::triggered, c, &QVAppDelegate::auditVideos);
    QObject::connect(ui.romsResultControl, &SegmentedControl::segmentClicked, c,
                     &QVAppDelegate::didClickRomsResultControl);
    QObject::connect(ui.videosResultControl, &SegmentedControl::segmentClicked, c,
                     &QVAppDelegate::didClickVideosResultControl);
    QObject::connect(ui.checkAvailableRomVideosOnly, &QCheckBox::clicked, c,
                     &QVAppDelegate::didClickCheckAvailableRomVideosOnly);
    QObject::connect(ui.saveRomsResult, &QAction::triggered, c, &QVAppDelegate::saveRomsResult);
    QObject::connect(ui.saveVideosResult, &QAction::triggered, c, &QVAppDelegate::saveVideosResult);
    QObject::connect(ui.openHomepage, &QAction::triggered, c, &QVAppDelegate::openHomepage);
    QObject::connect(ui.showAbout, &QAction::triggered, c, &QVAppDelegate::showAbout);
    QObject::connect(ui.quit, &QAction::triggered, qApp, &QApplication::quit, Qt::QueuedConnection);

    for (const auto& [kind, button, view] : nearMisses) {
        QObject::connect(button, &QToolButton::clicked, c, [c, kind = kind] { c->showNearMisses(kind); });
        QObject::connect(view, &NearMissesView::rowTicked, c,
                         [c, kind = kind](int pair, bool ticked) { c->nearMissTicked(kind, pair, ticked); });
        QObject::connect(view, &NearMissesView::renameClicked, c, [c, kind = kind] { c->renameNearMisses(kind); });
    }
    QObject::connect(ui.undoLastRenames, &QAction::triggered, c, &QVAppDelegate::undoLastRenames);

    for (QLineEdit* field : {ui.tokenadeDirPathTextField, ui.romsListPathTextField})
        QObject::connect(field, &QLineEdit::textChanged, c, &QVAppDelegate::pathFieldsChanged);
    QObject::connect(ui.tokenadeDirPathTextField, &QLineEdit::editingFinished, c,
                     &QVAppDelegate::directoryFieldConfirmed);
    QObject::connect(ui.romsNotice, &QLabel::linkActivated, c, [c] { c->noticeLinkActivated(AuditKind::Roms); });
    QObject::connect(ui.videosNotice, &QLabel::linkActivated, c, [c] { c->noticeLinkActivated(AuditKind::Videos); });

    QObject::connect(&window, &MainWindow::directoryDropped, c, &QVAppDelegate::useTokenadeDirectory);
    QObject::connect(&window, &MainWindow::listDropped, c, &QVAppDelegate::useRomsListFile);
    QObject::connect(ui.focusFilter, &QAction::triggered, c, &QVAppDelegate::focusFilter);
    for (int segment = 0; segment < static_cast<int>(ui.pickCategory.size()); ++segment)
        QObject::connect(ui.pickCategory[segment], &QAction::triggered, c, [c, segment] { c->pickCategory(segment); });
    for (const auto& [field, view, kind] : {std::tuple{ui.romsFilterField, ui.romsResultView, AuditKind::Roms},
                                            std::tuple{ui.videosFilterField, ui.videosResultView, AuditKind::Videos}}) {
        const AuditKind k = kind;
        QObject::connect(field, &QLineEdit::textChanged, c, [c, k] { c->filterChanged(k); });
        QObject::connect(view->copyFullPathAction(), &QAction::triggered, c, [c, k] { c->copyFullPaths(k); });
        QObject::connect(view->openFolderAction(), &QAction::triggered, c, [c, k] { c->openContainingFolder(k); });
        QObject::connect(view, &QAbstractItemView::doubleClicked, c, [c, k] { c->openContainingFolder(k); });
    }
}
