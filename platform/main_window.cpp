#include "main_window.h"

#include "ui_main_window.h"

#include <QToolButton>

namespace {

// The buttons in the window act through the menu's commands, so that a
// disabled command is disabled in both places.
void showCommand(QToolButton* button, QAction* action)
{
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , ui_(std::make_unique<Ui::MainWindow>())
{
    ui_->setupUi(this);
    showCommand(ui_->selectTokenadeDirectoryButton, ui_->actionSelectTokenadeDirectory);
    showCommand(ui_->selectRomsListFileButton, ui_->actionSelectRomsListFile);
    showCommand(ui_->auditRomsButton, ui_->actionAuditRoms);
    showCommand(ui_->auditVideosButton, ui_->actionAuditVideos);
    showCommand(ui_->saveRomsResultButton, ui_->actionSaveRomsResult);
    showCommand(ui_->saveVideosResultButton, ui_->actionSaveVideosResult);
    // A tool button shows its command's icon text: the short form of the menu text.
    ui_->actionSelectTokenadeDirectory->setIconText(tr("Choose…"));
    ui_->actionSelectRomsListFile->setIconText(tr("Choose…"));
    ui_->actionSaveRomsResult->setIconText(tr("Save Reports…"));
    ui_->actionSaveVideosResult->setIconText(tr("Save Reports…"));

    ui_->romsResultControl->setSelectedSegment(0);
    ui_->videosResultControl->setSelectedSegment(0);

    elements_ = WindowElements{
        ui_->tokenadeDirPathTextField, ui_->romsListPathTextField, ui_->romsResultView, ui_->romsResultControl,
        ui_->videosResultView, ui_->videosResultControl, ui_->checkAvailableRomVideosOnly, ui_->progressLabel,
        ui_->progressIndicator, ui_->tabView, ui_->romsNoticeLabel, ui_->videosNoticeLabel,
        ui_->actionSelectTokenadeDirectory, ui_->actionSelectRomsListFile, ui_->actionAuditRoms,
        ui_->actionAuditVideos, ui_->actionSaveRomsResult, ui_->actionSaveVideosResult, ui_->actionOpenHomepage,
        ui_->actionQuit,
    };
}

MainWindow::~MainWindow() = default;
