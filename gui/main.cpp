#include "gui/desktop_window.h"
#include "gui/quit_on_signals.h"

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

    // Quitting saves the paths and stops the jobs, which end at their next
    // folder, and the program ends by returning. A job stuck on a folder that
    // does not answer is not waited for: the process ends at once, before
    // the teardown of what that job may still be using.
    DesktopWindow desktop(std::make_unique<SettingsPreferences>());
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &desktop.controller(),
                     &QVAppDelegate::applicationWillTerminate);
    const int status = QApplication::exec();
    if (desktop.jobs().running() != 0)
        std::_Exit(status);
    return status;
}
