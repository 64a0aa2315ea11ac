#include "main_window.h"

#include "gui/changes/fill_view.h"
#include "gui/changes/near_misses_view.h"
#include "gui/systems/system_bars_view.h"
#include "ui_main_window.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScrollArea>
#include <QSplitter>
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

enum class Dropped { Nothing, Directory, List, Dat };

// What a drag carries: one local folder, one ".txt" file, or one ".dat" or ".xml" file.
Dropped whatIsDropped(const QMimeData* data, QString* path)
{
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls[0].isLocalFile())
        return Dropped::Nothing;
    const QFileInfo file(urls[0].toLocalFile());
    *path = file.filePath();
    if (file.isDir())
        return Dropped::Directory;
    if (!file.isFile())
        return Dropped::Nothing;
    const QString suffix = file.suffix().toLower();
    if (suffix == QLatin1String("txt"))
        return Dropped::List;
    if (suffix == QLatin1String("dat") || suffix == QLatin1String("xml"))
        return Dropped::Dat;
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
    showCommand(ui_->selectDatFileButton, ui_->actionSelectDatFile);
    showCommand(ui_->auditRomsButton, ui_->actionAuditRoms);
    showCommand(ui_->auditVideosButton, ui_->actionAuditVideos);
    showCommand(ui_->saveRomsResultButton, ui_->actionSaveRomsResult);
    showCommand(ui_->saveVideosResultButton, ui_->actionSaveVideosResult);
    // A tool button shows its command's icon text: the short form of the menu text.
    ui_->actionSelectTokenadeDirectory->setIconText(tr("Choose…"));
    ui_->actionSelectRomsListFile->setIconText(tr("Choose…"));
    ui_->actionSelectDatFile->setIconText(tr("Choose…"));
    ui_->actionSaveRomsResult->setIconText(tr("Save Reports…"));
    ui_->actionSaveVideosResult->setIconText(tr("Save Reports…"));

    ui_->romsResultControl->setSelectedSegment(0);
    ui_->videosResultControl->setSelectedSegment(0);
    clearOnEscape(ui_->romsFilterField);
    clearOnEscape(ui_->videosFilterField);
    setAcceptDrops(true);

    addAction(ui_->actionFocusFilter);  // a key without a menu entry of its own

    using tokenade::AuditKind;
    elements_ = WindowElements{
        .window = this,
        .tokenadeDirPathTextField = ui_->tokenadeDirPathTextField,
        .romsListPathTextField = ui_->romsListPathTextField,
        .datPathTextField = ui_->datPathTextField,
        .checkAvailableRomVideosOnly = ui_->checkAvailableRomVideosOnly,
        .progressLabel = ui_->progressLabel,
        .progressIndicator = ui_->progressIndicator,
        .tabView = ui_->tabView,
        .tabs = {},
        .selectTokenadeDirectory = ui_->actionSelectTokenadeDirectory,
        .selectRomsListFile = ui_->actionSelectRomsListFile,
        .selectDatFile = ui_->actionSelectDatFile,
        .openHomepage = ui_->actionOpenHomepage,
        .showAbout = ui_->actionAbout,
        .quit = ui_->actionQuit,
        .focusFilter = ui_->actionFocusFilter,
        .pickCategory = addPickCategoryKeys(),
        .systemBars = systemBars(),
        .changes = {.tabs = {},
                    .undoLastChanges = ui_->actionUndoLastRenames,
                    .exportFixdat = ui_->actionExportFixdat,
                    .identifyProgress = ui_->identifyProgressBar,
                    .stopIdentify = ui_->stopIdentifyButton},
    };
    elements_.tabs[AuditKind::Roms] = TabElements{
        .page = ui_->romsTab,
        .audit = ui_->actionAuditRoms,
        .save = ui_->actionSaveRomsResult,
        .resultControl = ui_->romsResultControl,
        .resultView = ui_->romsResultView,
        .filterField = ui_->romsFilterField,
        .noticeArea = ui_->romsNoticeArea,
    };
    elements_.changes.tabs[AuditKind::Roms] = TabChangeElements{
        .nearMissesButton = ui_->romsNearMissesButton,
        .nearMissesView = nearMissesView(QStringLiteral("roms")),
        .fillButton = ui_->romsFillButton,
        .fillView = fillView(QStringLiteral("roms")),
    };
    elements_.tabs[AuditKind::Videos] = TabElements{
        .page = ui_->videosTab,
        .audit = ui_->actionAuditVideos,
        .save = ui_->actionSaveVideosResult,
        .resultControl = ui_->videosResultControl,
        .resultView = ui_->videosResultView,
        .filterField = ui_->videosFilterField,
        .noticeArea = ui_->videosNoticeArea,
    };
    elements_.changes.tabs[AuditKind::Videos] = TabChangeElements{
        .nearMissesButton = ui_->videosNearMissesButton,
        .nearMissesView = nearMissesView(QStringLiteral("videos")),
        .fillButton = ui_->videosFillButton,
        .fillView = fillView(QStringLiteral("videos")),
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
    case Dropped::Dat:
        emit datDropped(path);
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

FillView* MainWindow::fillView(const QString& kind)
{
    auto* view = new FillView(this);
    view->setObjectName(kind + QStringLiteral("FillView"));
    return view;
}

// The bars of the systems beside the ROM results, the two parted by a
// splitter; the bars scroll when there are more systems than fit.
SystemBarsView* MainWindow::systemBars()
{
    auto* bars = new SystemBarsView;
    bars->setObjectName(QStringLiteral("romsSystemBars"));
    auto* area = new QScrollArea;
    area->setObjectName(QStringLiteral("romsSystemsArea"));
    area->setWidget(bars);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFocusPolicy(Qt::NoFocus);  // Tab goes to the bars themselves
    // The rows' height is for scrolling, not for the tab to make room for.
    area->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("romsSplitter"));
    delete ui_->romsLayout->replaceWidget(ui_->romsResultFrame, splitter);
    splitter->addWidget(ui_->romsResultFrame);
    splitter->addWidget(area);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    splitter->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);  // as the result view it holds
    QWidget::setTabOrder(ui_->romsResultView, bars);
    return bars;
}

// Ctrl+1 to Ctrl+4: the segments of whichever tab is shown.
std::array<QAction*, 4> MainWindow::addPickCategoryKeys()
{
    std::array<QAction*, 4> keys{};
    for (int segment = 0; segment < static_cast<int>(keys.size()); ++segment) {
        auto* key = new QAction(tr("Show Category %1").arg(segment + 1), this);
        key->setObjectName(QStringLiteral("actionPickCategory%1").arg(segment + 1));
        key->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + segment)));
        addAction(key);
        keys[static_cast<size_t>(segment)] = key;
    }
    return keys;
}
