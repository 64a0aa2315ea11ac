#include "app/main_thread_mailbox.h"
#include "app/qv_app_delegate.h"
#include "app/quit_on_signals.h"
#include "app/window_wiring.h"
#include "platform/alert.h"
#include "platform/browser.h"
#include "platform/file_chooser.h"
#include "platform/main_window.h"
#include "platform/preferences.h"

#include <QApplication>
#include <QIcon>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tokenade"));
    QApplication::setApplicationName(QStringLiteral("Tokenade Auditor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tokenade Auditor"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tokenade.Auditor"));
    QIcon icon;
    for (const char* size : {"48", "128", "256"})
        icon.addFile(QStringLiteral(":/icons/app-%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
    quitOnTerminationSignals();

    MainWindow window;
    QtFileChooser chooser(&window);
    QtAlert alert(&window);
    QtBrowser browser;
    SettingsPreferences preferences;
    QVAppDelegate controller(PlatformSeams{chooser, alert, browser, preferences});
    attachWindow(window, controller);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &controller,
                     &QVAppDelegate::applicationWillTerminate);

    controller.applicationDidFinishLaunching();
    window.show();
    const int status = QApplication::exec();

    // An audit or a discovery may still be walking a large tree; nobody waits
    // for it, and the paths are saved already: leave without running the
    // destructors that such a thread might still be using.
    if (runningDetachedThreads() > 0)
        std::_Exit(status);
    return status;
}
