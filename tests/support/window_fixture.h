#pragma once

#include "core/session/job_runner.h"
#include "gui/busy_indicator.h"
#include "gui/event_loop_wake.h"
#include "gui/main_window.h"
#include "gui/preferences.h"
#include "gui/qv_app_delegate.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_tree.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace tokenade::testing {

// The real window and controller, started as the program starts them, with
// fake choosers, alert and browser and a preferences file of the test's own.
class WindowTest : public ::testing::Test {
protected:
    ~WindowTest() override;

    // Creates the window and controller and runs start-up.
    void launch();
    // Runs shutdown and drops window and controller, as quitting does.
    void quit();

    QVAppDelegate& controller() { return *controller_; }
    MainWindow& window() { return *window_; }
    std::string preferencesFile() const { return settingsTree.path("prefs.ini"); }

    // Each runs the event loop until the jobs have handed back, with a bound; false on time-out.
    bool waitForAudits();
    bool waitForDiscovery();

    QString romsText() { return controller().romsResultView()->toPlainText(); }
    QString videosText() { return controller().videosResultView()->toPlainText(); }

    // A collection with a list below it, named in both path fields.
    void makeCollection(std::string_view list);
    std::string listPath() const { return collection.path("lists/- Supported Games Lookup For Naming.txt"); }

    TempTree collection;
    TempTree settingsTree;
    TempTree out;  // a folder to save reports into
    FakeChooser chooser;
    FakeAlert alert;
    FakeBrowser browser;

private:
    std::unique_ptr<SettingsPreferences> preferences_;
    std::unique_ptr<EventLoopWake> wake_;
    std::unique_ptr<JobRunner> jobs_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QVAppDelegate> controller_;
};

}  // namespace tokenade::testing
