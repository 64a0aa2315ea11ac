#include "window_wiring.h"

#include "app/qv_app_delegate.h"
#include "platform/main_window.h"
#include "ui_main_window.h"

#include <QApplication>

void attachWindow(MainWindow& window, QVAppDelegate& controller)
{
    Ui::MainWindow& ui = window.ui();
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
    controller.setAuditCommands(ui.actionAuditRoms, ui.actionAuditVideos);

    QVAppDelegate* c = &controller;
    QObject::connect(ui.actionSelectTokenadeDirectory, &QAction::triggered, c, &QVAppDelegate::selectTokenadeDirectory);
    QObject::connect(ui.actionSelectRomsListFile, &QAction::triggered, c, &QVAppDelegate::selectRomsListFile);
    QObject::connect(ui.actionAuditRoms, &QAction::triggered, c, &QVAppDelegate::auditRoms);
    QObject::connect(ui.actionAuditVideos, &QAction::triggered, c, &QVAppDelegate::auditVideos);
    QObject::connect(ui.romsResultControl, &SegmentedControl::segmentClicked, c,
                     &QVAppDelegate::didClickRomsResultControl);
    QObject::connect(ui.videosResultControl, &SegmentedControl::segmentClicked, c,
                     &QVAppDelegate::didClickVideosResultControl);
    QObject::connect(ui.checkAvailableRomVideosOnly, &QCheckBox::clicked, c,
                     &QVAppDelegate::didClickCheckAvailableRomVideosOnly);
    QObject::connect(ui.actionSaveRomsResult, &QAction::triggered, c, &QVAppDelegate::saveRomsResult);
    QObject::connect(ui.actionSaveVideosResult, &QAction::triggered, c, &QVAppDelegate::saveVideosResult);
    QObject::connect(ui.actionOpenHomepage, &QAction::triggered, c, &QVAppDelegate::openHomepage);
    QObject::connect(ui.actionQuit, &QAction::triggered, qApp, &QApplication::quit, Qt::QueuedConnection);
}
