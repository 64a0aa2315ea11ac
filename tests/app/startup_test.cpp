#include "tests/support/window_fixture.h"

#include "platform/segmented_control.h"

#include <QCoreApplication>
#include <QSettings>

namespace tokenade::testing {
namespace {

class StartupTest : public WindowTest {
protected:
    QSettings storedSettings() { return QSettings(QString::fromStdString(preferencesFile()), QSettings::IniFormat); }
};

TEST_F(StartupTest, FirstStartKeepsEmptyFieldsAndShutdownStoresBothKeys)
{
    launch();
    EXPECT_TRUE(controller().tokenadeDirPathTextField()->text().isEmpty());
    EXPECT_TRUE(controller().romsListPathTextField()->text().isEmpty());
    quit();
    QSettings stored = storedSettings();
    EXPECT_TRUE(stored.contains("TokenadeDirPath"));
    EXPECT_EQ(stored.value("TokenadeDirPath").toString(), "");
    EXPECT_EQ(stored.value("TokenadeRomsListPath").toString(), "");
}

TEST_F(StartupTest, PathsComeBackAtTheNextStartAndAnEmptyOneStaysEmpty)
{
    launch();
    controller().tokenadeDirPathTextField()->setText("/games/Tokenade, the big one");
    controller().romsListPathTextField()->setText("");
    quit();
    {
        QSettings stored = storedSettings();
        stored.setValue("TokenadeRomsListPath", "");  // present but empty
    }
    launch();
    controller().romsListPathTextField()->setText("typed before the restore");
    controller().loadUserDefaults();
    EXPECT_EQ(controller().tokenadeDirPathTextField()->text(), "/games/Tokenade, the big one");
    EXPECT_EQ(controller().romsListPathTextField()->text(), "");
}

TEST_F(StartupTest, RestoredDirectoryDoesNotStartTheDiscovery)
{
    collection.addFile("- Supported Games Lookup For Naming.txt", "alpha");
    {
        QSettings stored = storedSettings();
        stored.setValue("TokenadeDirPath", QString::fromStdString(collection.root()));
    }
    launch();
    EXPECT_EQ(controller().tokenadeDirPathTextField()->text().toStdString(), collection.root());
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller().romsListPathTextField()->text().isEmpty());
}

TEST_F(StartupTest, UnusablePreferencesFileNeverStopsTheStart)
{
    settingsTree.addFile("prefs.ini", std::string("\x00\xFF[[[garbage\nTokenadeDirPath\n=\n", 28));
    launch();
    EXPECT_TRUE(controller().tokenadeDirPathTextField()->text().isEmpty());
    quit();

    settingsTree.setMode("", 0555);  // the file cannot be rewritten now (for an ordinary user)
    launch();
    controller().tokenadeDirPathTextField()->setText("/somewhere");
    quit();  // a failed save is harmless
    settingsTree.setMode("", 0755);
}

// A folder where the file should be can be neither read nor written, even by root.
TEST_F(StartupTest, PreferencesThatCannotBeReadOrWrittenStartEmpty)
{
    settingsTree.addFile("prefs.ini/in-the-way");
    launch();
    EXPECT_TRUE(controller().tokenadeDirPathTextField()->text().isEmpty());
    controller().tokenadeDirPathTextField()->setText("/somewhere");
    quit();
    EXPECT_EQ(settingsTree.read("prefs.ini/in-the-way"), "");
    EXPECT_TRUE(alert.shown.empty());
}

TEST_F(StartupTest, ResultViewsUseTheBoldSystemFontAndListsStartEmpty)
{
    launch();
    for (ReportView* view : {controller().romsResultView(), controller().videosResultView()}) {
        EXPECT_TRUE(view->font().bold());
        EXPECT_EQ(view->font().pointSizeF(), 13.0);
    }
    EXPECT_TRUE(controller().validRoms().empty());
    EXPECT_TRUE(controller().extraVideos().empty());
}

TEST_F(StartupTest, InitialSegmentsAgreeWithTheCheckBox)
{
    launch();
    SegmentedControl* videos = controller().videosResultControl();
    EXPECT_EQ(controller().romsResultControl()->segmentCount(), 3);
    EXPECT_EQ(videos->segmentCount(), 4);
    EXPECT_EQ(videos->isEnabledForSegment(2), controller().checkAvailableRomVideosOnly()->isChecked());
    EXPECT_EQ(videos->selectedSegment(), 0);
}

TEST_F(StartupTest, HomepageCommandOpensTheAddressAndIgnoresFailure)
{
    launch();
    controller().openHomepage();
    ASSERT_EQ(browser.opened.size(), 1u);
    EXPECT_TRUE(browser.opened[0].isValid());
    EXPECT_EQ(browser.opened[0].scheme(), "https");
    EXPECT_TRUE(alert.shown.empty());
}

}  // namespace
}  // namespace tokenade::testing
