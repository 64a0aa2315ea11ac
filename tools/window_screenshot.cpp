// Takes a picture of the window after a ROM audit, for the README and for
// checking how it looks: window_screenshot DIR LIST OUT.png [--filter TEXT]
// [--segment N] [--select ROW] [--dark] [--context-menu] [--near-misses]
// [--no-audit] [--list-error] [--turned-box] [--fill SOURCE [--fill-into
// FOLDER] [--copy]] [--undo | --undo-question | --shell-undo] [--tooltip]
// [--row-tooltip NAME] [--size WxH] [--focus N] [--open-notice N] [--dat FILE]
// [--bad-dat FILE] [--click-missing] (run under a display, Xvfb will do).
// The picture shows the counts on the segments and the folders beside the
// found files; --filter types into the filter, --dark uses a dark palette,
// --context-menu opens the result view's menu on the selected row and takes
// the whole screen, menu and all; --near-misses opens the view of the near
// misses; --no-audit shows the window before any audit; --list-error audits
// with a list that is not there and takes the screen with its alert;
// --turned-box audits the videos too, then ticks the check box; --fill
// chooses SOURCE for Fill from Folder… and takes the screen with the fill
// view, --fill-into picks a folder of its tree, --copy copies; --undo then
// undoes the copies (without --copy: renames the ticked near misses first)
// and shows the notice, --undo-question takes the screen with Undo's
// question instead, --shell-undo undoes the renames as the command line
// does and takes the screen with what Undo says then; --bad-dat FILE types
// that DAT into its field after the audit and takes the screen with its
// alert; --tooltip takes the screen with the tooltip of Fill from
// Folder…; --row-tooltip selects the result row showing NAME and takes the
// screen with its tooltip (an archive's set rom by rom); --size gives the window that size, --focus presses Tab N times
// from the directory field, --open-notice opens the ROM tab's notice N,
// --dat chooses a DAT and waits for the ROM result's archives to be
// identified against it before anything else; --click-missing clicks a
// system's missing part in the bars beside the results.
// Every other question is answered yes, and journals go to a folder of the
// run's own.
#include "gui/desktop_window.h"
#include "gui/notice_area.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"
#include "gui/systems/system_bars_view.h"
#include "tools/screenshot_changes.h"
#include "tools/screenshot_steps.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QPalette darkPalette()
{
    QPalette dark(QColor(53, 53, 53), QColor(35, 35, 35));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: window_screenshot DIR LIST OUT.png [options: see its source]\n");
        return 2;
    }
    QString filter;
    int segment = 0;
    int select = -1;
    bool contextMenu = false;
    bool clickMissing = false;
    bool audit = true;
    bool listError = false;
    bool turnedBox = false;
    ChangeShot changeShot;
    QSize size;
    int tabs = -1;
    int openNotice = -1;
    ScriptedChooser chooser;
    QString dat;
    QString rowTooltip;
    QString badDat;
    for (int i = 4; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--filter") && i + 1 < argc)
            filter = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--segment") && i + 1 < argc)
            segment = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--select") && i + 1 < argc)
            select = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--dark")) {
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
            QApplication::setPalette(darkPalette());
        } else if (!std::strcmp(argv[i], "--context-menu"))
            contextMenu = true;
        else if (!std::strcmp(argv[i], "--near-misses"))
            changeShot.nearMisses = true;
        else if (!std::strcmp(argv[i], "--no-audit"))
            audit = false;
        else if (!std::strcmp(argv[i], "--list-error"))
            listError = true;
        else if (!std::strcmp(argv[i], "--turned-box"))
            turnedBox = true;
        else if (!std::strcmp(argv[i], "--fill") && i + 1 < argc) {
            chooser.answer = QString::fromLocal8Bit(argv[++i]);
            changeShot.fill = true;
        } else if (!std::strcmp(argv[i], "--fill-into") && i + 1 < argc)
            changeShot.fillInto = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--copy"))
            changeShot.copy = true;
        else if (!std::strcmp(argv[i], "--undo"))
            changeShot.undo = true;
        else if (!std::strcmp(argv[i], "--undo-question"))
            changeShot.undoQuestion = true;
        else if (!std::strcmp(argv[i], "--shell-undo"))
            changeShot.shellUndo = true;
        else if (!std::strcmp(argv[i], "--bad-dat") && i + 1 < argc)
            badDat = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--tooltip"))
            changeShot.tooltip = true;
        else if (!std::strcmp(argv[i], "--row-tooltip") && i + 1 < argc)
            rowTooltip = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--open-notice") && i + 1 < argc)
            openNotice = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--focus") && i + 1 < argc)
            tabs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--dat") && i + 1 < argc)
            dat = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--click-missing"))
            clickMissing = true;
        else if (!std::strcmp(argv[i], "--size") && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &size.rwidth(), &size.rheight());
    }
    QTemporaryDir settingsFolder;
    qputenv("XDG_STATE_HOME", settingsFolder.path().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", settingsFolder.path().toLocal8Bit());
    ConfirmingAlert alert;
    DesktopWindow desktop(SettingsPreferences::inFile(settingsFolder.filePath("prefs.ini")), &chooser, &alert);
    QVAppDelegate& controller = desktop.controller();

    if (size.isValid())
        desktop.window().resize(size);
    controller.tokenadeDirPathTextField()->setText(QString::fromLocal8Bit(argv[1]));
    controller.romsListPathTextField()->setText(QString::fromLocal8Bit(argv[2]));
    const QString out = QString::fromLocal8Bit(argv[3]);
    if (!dat.isEmpty()) {
        controller.datPathTextField()->setText(dat);
        settle(600);  // the field has stayed still: the audit's identification is the last one
    }
    bool saved = false;
    if (!audit) {
        settle(300);
        return desktop.window().grab().save(out) ? 0 : 1;
    }
    if (listError) {
        controller.romsListPathTextField()->setText(QString::fromLocal8Bit(argv[2]) + QStringLiteral(".missing"));
        grabScreenSoon(out, saved);  // the alert is modal: the picture is taken while it is open
    }
    controller.auditRoms();
    if (turnedBox)
        controller.auditVideos();
    while (controller.session().isAnyRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (listError)
        return saved ? 0 : 1;
    if (!dat.isEmpty())
        waitUntil([&controller] { return controller.session().identification() != nullptr; });
    if (turnedBox) {  // the video results, made before the check box was ticked
        controller.tabView()->setCurrentIndex(1);
        controller.checkAvailableRomVideosOnly()->click();
        settle(300);
        return desktop.window().grab().save(out) ? 0 : 1;
    }
    controller.pickCategory(segment);
    controller.tab(tokenade::AuditKind::Roms).noticeArea->setOpen(openNotice, true);
    controller.tab(tokenade::AuditKind::Roms).filterField->setText(filter);
    ReportView* view = controller.romsResultView();
    if (select >= 0)
        view->setCurrentIndex(view->model()->index(select, 0));
    settle(300);
    if (!badDat.isEmpty()) {  // typed in after the audit: its alert, open over the window
        alert.shownInto = out;
        controller.datPathTextField()->setText(badDat);
        waitUntil([&alert] { return alert.shown; });
        return 0;
    }
    if (changeShot.nearMisses || changeShot.fill || changeShot.undo || changeShot.undoQuestion ||
        changeShot.shellUndo || changeShot.tooltip)
        return shootChanges(desktop, alert, changeShot, out) ? 0 : 1;
    if (!rowTooltip.isEmpty()) {
        const QModelIndex row =
            view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, rowTooltip, 1, Qt::MatchExactly).value(0);
        view->setCurrentIndex(row);
        const QRect place = view->visualRect(row);
        QToolTip::showText(view->viewport()->mapToGlobal(QPoint(place.left() + place.width() / 3, place.bottom())),
                           row.data(Qt::ToolTipRole).toString(), view->viewport());
        settle(300);
        return QGuiApplication::primaryScreen()->grabWindow(0).save(out) ? 0 : 1;
    }
    if (tabs >= 0) {  // the focus after so many Tab presses from the directory field
        desktop.window().activateWindow();
        settle(300);
        controller.tokenadeDirPathTextField()->setFocus(Qt::TabFocusReason);
        for (int tab = 0; tab < tabs; ++tab) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(QApplication::focusWidget(), &press);
        }
        settle(300);
        QWidget* focus = QApplication::focusWidget();
        std::printf("%s %s active %d\n", focus->metaObject()->className(), qPrintable(focus->objectName()),
                    desktop.window().isActiveWindow());
        return desktop.window().grab().save(out) ? 0 : 1;
    }
    if (clickMissing) {  // a system's missing part, the whole collection's when no system has one
        auto* bars = desktop.window().findChild<SystemBarsView*>(QStringLiteral("romsSystemBars"));
        const BarPart* chosen = nullptr;
        for (const BarPart& part : bars->layout().parts) {
            if (part.count == tokenade::SystemCount::Missing &&
                (!chosen || bars->table().systems[chosen->row].kind == tokenade::SystemKind::All))
                chosen = &part;
        }
        if (chosen) {
            const QPointF at = chosen->rect.center();
            QMouseEvent press(QEvent::MouseButtonPress, at, bars->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(bars, &press);
        }
        settle(300);
        return desktop.window().grab().save(out) ? 0 : 1;
    }
    if (!contextMenu)
        return desktop.window().grab().save(out) ? 0 : 1;

    grabScreenSoon(out, saved);
    const QRect row = view->visualRect(view->currentIndex());
    QContextMenuEvent event(QContextMenuEvent::Mouse, row.center(), view->viewport()->mapToGlobal(row.center()));
    QApplication::sendEvent(view->viewport(), &event);
    return saved ? 0 : 1;
}
