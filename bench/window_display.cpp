// How long the window takes to show a large category, how long the event
// loop is ever kept waiting while an audit runs, and while a filter is typed
// on the largest category: window_display DIR LIST.
#include "gui/desktop_window.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
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

    int largest = 0;
    int largestLines = 0;
    for (int segment : {2, 0, 1}) {
        QElapsedTimer shown;
        shown.start();
        controller.romsResultControl()->setSelectedSegment(segment);
        controller.didClickRomsResultControl();
        QCoreApplication::processEvents();
        const int lines = controller.romsResultView()->lineCount();
        std::printf("category %d (%d lines): %lld ms\n", segment, lines, static_cast<long long>(shown.elapsed()));
        if (lines > largestLines) {
            largest = segment;
            largestLines = lines;
        }
    }

    // Types into the filter of the largest category as a user would, a key
    // at a time, each followed by the time a user takes to type the next one
    // (the filter goes on in between); then takes the text back. The longest
    // block of the event loop counts each keystroke's own handling as well.
    controller.romsResultControl()->setSelectedSegment(largest);
    controller.didClickRomsResultControl();
    QLineEdit* field = controller.tab(tokenade::AuditKind::Roms).filterField;
    qint64 longestKey = 0;
    qint64 longestFilterGap = 0;
    // Waits as a typist would, at least 150 ms, and until the filter has
    // been through every name: its summary line no longer says "so far".
    QStringList passes;
    const auto afterKey = [&](qint64 handled) {
        longestKey = std::max(longestKey, handled);
        longestGap = 0;
        sinceTick.restart();
        QElapsedTimer pause;
        pause.start();
        qint64 done = -1;
        while (pause.elapsed() < 150 || done < 0) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            bool filtering = false;
            for (int row = 0; row < 4; ++row)
                filtering = filtering || controller.romsResultView()->model()->index(row, 0).data().toString().contains(
                                             QLatin1String("so far"));
            if (done < 0 && !filtering)
                done = pause.elapsed() + handled;
        }
        passes << QString::number(done);
        longestFilterGap = std::max(longestFilterGap, longestGap);
    };
    const char* typed = "mar";
    for (const char* c = typed; *c; ++c) {
        QElapsedTimer handling;
        handling.start();
        QTest::keyClick(field, *c);
        afterKey(handling.elapsed());
    }
    QElapsedTimer handling;
    handling.start();
    QTest::keyClick(field, Qt::Key_Backspace);
    afterKey(handling.elapsed());
    std::printf("filter \"%s\" then a backspace on %d lines: whole passes %s ms; longest keystroke %lld ms; "
                "longest event-loop block while filtering: %lld ms\n",
                typed, largestLines, qPrintable(passes.join(QLatin1String(", "))), static_cast<long long>(longestKey),
                static_cast<long long>(std::max(longestKey, longestFilterGap)));

    // Quitting while an audit walks the collection: the paths are saved and
    // the job, asked to stop, ends at its next folder.
    controller.auditRoms();
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    QElapsedTimer quitting;
    quitting.start();
    controller.applicationWillTerminate();
    std::printf("quit while an audit ran: %lld ms until every job had ended (%s)\n",
                static_cast<long long>(quitting.elapsed()),
                desktop.jobs().running() == 0 ? "none left" : "some left running");
    return 0;
}
