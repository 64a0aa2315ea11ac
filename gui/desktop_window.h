#pragma once

#include "core/session/job_runner.h"
#include "gui/alert.h"
#include "gui/browser.h"
#include "gui/event_loop_wake.h"
#include "gui/file_chooser.h"
#include "gui/main_window.h"
#include "gui/preferences.h"
#include "gui/qv_app_delegate.h"

#include <memory>

// The window and its controller put together as the program starts them, with
// the desktop's own choosers, alert and browser and the runner of the
// background jobs: the window description is attached, start-up has run and
// the window is shown. A `chooser` or `alert` given stands in for the
// desktop's (a tool that answers them itself) and must outlive the window.
class DesktopWindow {
public:
    explicit DesktopWindow(std::unique_ptr<Preferences> preferences, FileChooser* chooser = nullptr,
                           Alert* alert = nullptr);

    MainWindow& window() { return window_; }
    QVAppDelegate& controller() { return controller_; }
    JobRunner& jobs() { return jobs_; }

private:
    std::unique_ptr<Preferences> preferences_;
    EventLoopWake wake_{[this] { jobs_.deliver(); }};
    JobRunner jobs_{[this] { wake_.wake(); }};  // stops its jobs before the wake-up goes
    MainWindow window_;
    QtFileChooser chooser_{&window_};
    QtAlert alert_{&window_};
    QtBrowser browser_;
    QVAppDelegate controller_;  // last: it goes first, before what it uses
};
