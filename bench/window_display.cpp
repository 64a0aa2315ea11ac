// How long the window takes to show a large category, and how long the event
// loop is ever kept waiting while an audit runs: window_display DIR LIST.
#include "app/desktop_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_display DIR LIST\n");
        return 2;
    }
    QTemporaryDir settingsFolder;
    DesktopWindow desktop(SettingsPreferences::inFile(settingsFolder.filePath("prefs.ini")));
    QVAppDelegate& controller = desktop.controller();
    controller.tokenadeDirPathTextField()->setText(QString::fromLocal8Bit(argv[1]));
    controller.romsListPathTextField()->setText(QString::fromLocal8Bit(argv[2]));

    // A timer that should fire every 10 ms: the longest gap is the longest block.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    QElapsedTimer audit;
    audit.start();
    sinceTick.start();
    ticker.start(10);
    controller.auditRoms();
    // Each round of the loop handles what came in; the last one runs the finishing step.
    qint64 finishing = 0;
    while (controller.session().isAnyRunning()) {
        QElapsedTimer round;
        round.start();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!controller.session().isAnyRunning())
            finishing = round.elapsed();
    }
    std::printf("audit: %lld ms; finishing step (result handed over, category shown): %lld ms; "
                "longest event-loop block while the job ran: %lld ms\n",
                static_cast<long long>(audit.elapsed()), static_cast<long long>(finishing),
                static_cast<long long>(longestGap));

    for (int segment : {2, 0, 1}) {
        QElapsedTimer shown;
        shown.start();
        controller.romsResultControl()->setSelectedSegment(segment);
        controller.didClickRomsResultControl();
        QCoreApplication::processEvents();
        std::printf("category %d (%d lines): %lld ms\n", segment, controller.romsResultView()->lineCount(),
                    static_cast<long long>(shown.elapsed()));
    }
    return 0;
}
