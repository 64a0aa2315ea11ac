#include "main_window.h"

#include "gui/near_misses_view.h"
#include "ui_main_window.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QToolButton>

namespace {

// The buttons in the window act through the menu's commands, so that a
// disabled command is disabled in both places.
void showCommand(QToolButton* button, QAction* action)
{
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

// A filter field empties itself on Esc.
void clearOnEscape(QLineEdit* field)
{
    auto* clear = new QAction(field);
    clear->setShortcut(Qt::Key_Escape);
    clear->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(clear, &QAction::triggered, field, &QLineEdit::clear);
    field->addAction(clear);
}

enum class Dropped { Nothing, Directory, List };

// What a drag carries: one local folder, or one ".txt" file.
Dropped whatIsDropped(const QMimeData* data, QString* path)
{
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls[0].isLocalFile())
        return Dropped::Nothing;
    const QFileInfo file(urls[0].toLocalFile());
    *path = file.filePath();
    if (file.isDir())
        return Dropped::Directory;
    if (file.isFile() && file.suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        return Dropped::List;
    return Dropped::Nothing;
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
    clearOnEscape(ui_->romsFilterField);
    clearOnEscape(ui_->videosFilterField);
    setAcceptDrops(true);

    // Keys without a menu entry of their own.
    addAction(ui_->actionFocusFilter);
    std::array<QAction*, 4> pickCategory{};
    for (int segment = 0; segment < 4; ++segment) {
        pickCategory[segment] = new QAction(tr("Show Category %1").arg(segment + 1), this);
        pickCategory[segment]->setObjectName(QStringLiteral("actionPickCategory%1").arg(segment + 1));
        pickCategory[segment]->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + segment)));
        addAction(pickCategory[segment]);
    }

    elements_ = WindowElements{
        ui_->tokenadeDirPathTextField, ui_->romsListPathTextField, ui_->romsResultView, ui_->romsResultControl,
        ui_->videosResultView, ui_->videosResultControl, ui_->checkAvailableRomVideosOnly, ui_->progressLabel,
        ui_->progressIndicator, ui_->tabView, ui_->romsNoticeLabel, ui_->videosNoticeLabel, ui_->romsFilterField,
        ui_->videosFilterField, ui_->romsNearMissesButton, ui_->videosNearMissesButton,
        nearMissesView(QStringLiteral("roms")), nearMissesView(QStringLiteral("videos")), ui_->actionSelectTokenadeDirectory,
        ui_->actionSelectRomsListFile, ui_->actionAuditRoms, ui_->actionAuditVideos, ui_->actionSaveRomsResult,
        ui_->actionSaveVideosResult, ui_->actionOpenHomepage, ui_->actionAbout, ui_->actionQuit,
        ui_->actionFocusFilter, ui_->actionUndoLastRenames, pickCategory,
    };
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    QString path;
    if (whatIsDropped(event->mimeData(), &path) != Dropped::Nothing)
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QString path;
    switch (whatIsDropped(event->mimeData(), &path)) {
    case Dropped::Directory:
        emit directoryDropped(path);
        break;
    case Dropped::List:
        emit listDropped(path);
        break;
    case Dropped::Nothing:
        return;
    }
    event->acceptProposedAction();
}

MainWindow::~MainWindow() = default;

NearMissesView* MainWindow::nearMissesView(const QString& kind)
{
    auto* view = new NearMissesView(this);
    view->setObjectName(kind + QStringLiteral("NearMissesView"));
    return view;
}
