#pragma once

#include "app/main_thread_mailbox.h"
#include "app/qv_app_delegate.h"
#include "platform/main_window.h"
#include "platform/preferences.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_tree.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <memory>

namespace tokenade::testing {

// The real window and controller, started as the program starts them, with
// fake choosers, alert and browser and a preferences file of the test's own.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    // Creates the window and controller and runs start-up.
    void launch();
    // Runs shutdown and drops window and controller, as quitting does.
    void quit();

    QVAppDelegate& controller() { return *controller_; }
    MainWindow& window() { return *window_; }
    std::string preferencesFile() const { return settingsTree.path("prefs.ini"); }

    // Each waits, with a bound, running the event loop; false on time-out.
    bool waitForAudits();     // until no audit runs
    bool waitForDiscovery();  // until the next discovery has ended

    QString romsText();
    QString videosText();

    // A collection with a list, for audits that should succeed.
    void makeCollection(std::string_view list);

    TempTree collection;
    TempTree settingsTree;
    TempTree out;  // a folder to save reports into
    FakeChooser chooser;
    FakeAlert alert;
    FakeBrowser browser;

private:
    std::unique_ptr<SettingsPreferences> preferences_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QVAppDelegate> controller_;
};

}  // namespace tokenade::testing
