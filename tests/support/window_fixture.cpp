#include "window_fixture.h"

#include "gui/window_wiring.h"

#include <QTest>

namespace tokenade::testing {
namespace {

constexpr int kWaitMilliseconds = 20000;

}  // namespace

WindowTest::~WindowTest()
{
    controller_.reset();
    window_.reset();
    jobs_.reset();
}

void WindowTest::launch()
{
    preferences_ = SettingsPreferences::inFile(QString::fromStdString(preferencesFile()));
    wake_ = std::make_unique<EventLoopWake>([this] { jobs_->deliver(); });
    jobs_ = std::make_unique<JobRunner>([this] { wake_->wake(); });
    window_ = std::make_unique<MainWindow>();
    controller_ = std::make_unique<QVAppDelegate>(PlatformSeams{chooser, alert, browser, *preferences_, *jobs_});
    attachWindow(*window_, *controller_);
    controller_->applicationDidFinishLaunching();
    window_->show();
}

void WindowTest::quit()
{
    controller_->applicationWillTerminate();
    controller_.reset();
    window_.reset();
    jobs_.reset();
    preferences_.reset();
}

bool WindowTest::waitForAudits()
{
    // The rename offers a result calls for come in a job that follows the audit's.
    return QTest::qWaitFor([this] { return !controller_->session().isAnyRunning() && jobs_->idle(); },
                           kWaitMilliseconds);
}

bool WindowTest::waitForDiscovery()
{
    return QTest::qWaitFor([this] { return !controller_->session().isDiscovering(); }, kWaitMilliseconds);
}

void WindowTest::makeCollection(std::string_view list)
{
    collection.addFile("lists/- Supported Games Lookup For Naming.txt", list);
    controller_->tokenadeDirPathTextField()->setText(QString::fromStdString(collection.root()));
    controller_->romsListPathTextField()->setText(QString::fromStdString(listPath()));
}

}  // namespace tokenade::testing
