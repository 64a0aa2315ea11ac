#include "tests/support/temp_tree.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>

namespace tokenade::testing {
namespace {

// True once the process has a handler for `signal` (its SigCgt mask says so).
bool catchesSignal(qint64 pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

class AppProcessTest : public ::testing::TestWithParam<int> {};

// A desktop session that ends sends SIGTERM: the paths must be saved as on Quit.
TEST_P(AppProcessTest, TerminationSignalSavesThePaths)
{
    TempTree home;
    const std::string settingsFile = home.path("config/Tokenade/Tokenade Auditor.conf");
    home.addFile("config/Tokenade/Tokenade Auditor.conf", "[General]\nTokenadeDirPath=/games/tokenade\n");

    QProcess app;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(home.root()));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path("config")));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    app.setProcessEnvironment(environment);
    app.start(TOKENADE_AUDITOR_PATH, {});
    ASSERT_TRUE(app.waitForStarted(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return catchesSignal(app.processId(), GetParam()); }, 10000));

    ::kill(static_cast<pid_t>(app.processId()), GetParam());
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);

    QSettings saved(QString::fromStdString(settingsFile), QSettings::IniFormat);
    EXPECT_EQ(saved.value("TokenadeDirPath").toString(), "/games/tokenade");
    EXPECT_TRUE(saved.contains("TokenadeRomsListPath"));  // written, empty, by the shutdown
}

INSTANTIATE_TEST_SUITE_P(Signals, AppProcessTest, ::testing::Values(SIGTERM, SIGINT));

}  // namespace
}  // namespace tokenade::testing
