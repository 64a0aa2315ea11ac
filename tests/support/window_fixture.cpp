#include "window_fixture.h"

#include "app/window_wiring.h"

#include <QSignalSpy>
#include <QTest>

namespace tokenade::testing {
namespace {

constexpr int kWaitMilliseconds = 20000;

bool waitFor(QVAppDelegate& controller, void (QVAppDelegate::*signal)())
{
    QSignalSpy spy(&controller, signal);
    return spy.wait(kWaitMilliseconds);
}

}  // namespace

WindowTest::WindowTest() = default;

WindowTest::~WindowTest()
{
    controller_.reset();
    window_.reset();
}

void WindowTest::launch()
{
    preferences_ = SettingsPreferences::inFile(QString::fromStdString(preferencesFile()));
    window_ = std::make_unique<MainWindow>();
    controller_ = std::make_unique<QVAppDelegate>(PlatformSeams{chooser, alert, browser, *preferences_});
    attachWindow(*window_, *controller_);
    controller_->applicationDidFinishLaunching();
    window_->show();
}

void WindowTest::quit()
{
    controller_->applicationWillTerminate();
    controller_.reset();
    window_.reset();
    preferences_.reset();
}

bool WindowTest::waitForAudits()
{
    return QTest::qWaitFor([this] { return !controller_->isAuditing(); }, kWaitMilliseconds);
}

bool WindowTest::waitForDiscovery()
{
    return waitFor(*controller_, &QVAppDelegate::romListDiscoveryFinished);
}

QString WindowTest::romsText()
{
    return controller_->romsResultView()->toPlainText();
}

QString WindowTest::videosText()
{
    return controller_->videosResultView()->toPlainText();
}

void WindowTest::makeCollection(std::string_view list)
{
    collection.addFile("lists/- Supported Games Lookup For Naming.txt", list);
    controller_->tokenadeDirPathTextField()->setText(QString::fromStdString(collection.root()));
    controller_->romsListPathTextField()->setText(
        QString::fromStdString(collection.path("lists/- Supported Games Lookup For Naming.txt")));
}

}  // namespace tokenade::testing
