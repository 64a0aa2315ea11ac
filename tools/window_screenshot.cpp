// Takes a picture of the window after a ROM audit, for the README:
// window_screenshot DIR LIST OUT.png (run under a display, Xvfb will do).
#include "app/qv_app_delegate.h"
#include "app/window_wiring.h"
#include "platform/alert.h"
#include "platform/browser.h"
#include "platform/file_chooser.h"
#include "platform/main_window.h"
#include "platform/preferences.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QSettings>
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
    MainWindow window;
    QtFileChooser chooser(&window);
    QtAlert alert(&window);
    QtBrowser browser;
    SettingsPreferences preferences(
        std::make_unique<QSettings>(settingsFolder.filePath("prefs.ini"), QSettings::IniFormat));
    QVAppDelegate controller(PlatformSeams{chooser, alert, browser, preferences});
    attachWindow(window, controller);
    controller.applicationDidFinishLaunching();
    window.show();

    controller.tokenadeDirPathTextField()->setText(QString::fromLocal8Bit(argv[1]));
    controller.romsListPathTextField()->setText(QString::fromLocal8Bit(argv[2]));
    QEventLoop loop;
    QObject::connect(&controller, &QVAppDelegate::romsAuditFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    controller.auditRoms();
    loop.exec();
    QTimer::singleShot(300, &loop, &QEventLoop::quit);  // let the window paint itself
    loop.exec();
    return window.grab().save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
