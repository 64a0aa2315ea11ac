#include "app/desktop_window.h"
#include "app/main_thread_mailbox.h"
#include "app/quit_on_signals.h"

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

    DesktopWindow desktop(std::make_unique<SettingsPreferences>());
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &desktop.controller(),
                     &QVAppDelegate::applicationWillTerminate);
    const int status = QApplication::exec();

    // An audit or a discovery may still be walking a large tree; nobody waits
    // for it, and the paths are saved already: leave without running the
    // destructors that such a thread might still be using.
    if (runningDetachedThreads() > 0)
        std::_Exit(status);
    return status;
}
