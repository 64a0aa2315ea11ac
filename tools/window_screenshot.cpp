// Takes a picture of the window after a ROM audit, for the README:
// window_screenshot DIR LIST OUT.png (run under a display, Xvfb will do).
#include "app/desktop_window.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: window_screenshot DIR LIST OUT.png\n");
        return 2;
    }
    QTemporaryDir settingsFolder;
    DesktopWindow desktop(SettingsPreferences::inFile(settingsFolder.filePath("prefs.ini")));
    QVAppDelegate& controller = desktop.controller();

    controller.tokenadeDirPathTextField()->setText(QString::fromLocal8Bit(argv[1]));
    controller.romsListPathTextField()->setText(QString::fromLocal8Bit(argv[2]));
    controller.auditRoms();
    while (controller.session().isAnyRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);  // let the window paint itself
    loop.exec();
    return desktop.window().grab().save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
