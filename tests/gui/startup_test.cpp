#include "tests/support/window_fixture.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTest>

namespace tokenade::testing {
namespace {

const std::string kListName = "- Supported Games Lookup For Naming.txt";

class StartupTest : public WindowTest {
protected:
    QSettings stored() { return QSettings(QString::fromStdString(preferencesFile()), QSettings::IniFormat); }
    QString directoryField() { return controller().tokenadeDirPathTextField()->text(); }
    QString listField() { return controller().romsListPathTextField()->text(); }
};

TEST_F(StartupTest, PathsAreStoredAtShutdownAndComeBackAnEmptyOneEmpty)
{
    launch();
    EXPECT_TRUE(directoryField().isEmpty());
    controller().tokenadeDirPathTextField()->setText("/games/Tokenade, the big one");
    window().setGeometry(40, 50, 700, 500);
    quit();
    EXPECT_EQ(stored().value("TokenadeRomsListPath").toString(), "");  // written, empty
    stored().setValue("TokenadeRomsListPath", "");

    collection.addFile(kListName, "alpha");
    stored().setValue("TokenadeDirPath", QString::fromStdString(collection.root()));
    launch();
    EXPECT_EQ(directoryField().toStdString(), collection.root());
    EXPECT_EQ(listField(), "");
    EXPECT_EQ(window().geometry(), QRect(40, 50, 700, 500));
    QCoreApplication::processEvents();
    EXPECT_FALSE(controller().session().isDiscovering());  // a restored directory is not looked through
    for (ReportView* view : {controller().romsResultView(), controller().videosResultView()}) {
        EXPECT_TRUE(view->font().bold());
        EXPECT_EQ(view->font().pointSizeF(), 13.0);
    }
    // The extra videos can be picked exactly while the check box is on.
    EXPECT_EQ(controller().videosResultControl()->isEnabledForSegment(2),
              controller().checkAvailableRomVideosOnly()->isChecked());
}

// Garbage, a file that cannot be rewritten, a folder where the file should be:
// the program starts empty and quits quietly.
TEST_F(StartupTest, UnusablePreferencesNeverStopTheStart)
{
    settingsTree.addFile("prefs.ini", std::string("\x00\xFF[[[garbage\nTokenadeDirPath\n=\n", 28));
    launch();
    EXPECT_TRUE(directoryField().isEmpty());
    quit();
    std::remove(preferencesFile().c_str());
    settingsTree.addFile("prefs.ini/in-the-way");
    launch();
    controller().tokenadeDirPathTextField()->setText("/somewhere");
    quit();
    EXPECT_EQ(settingsTree.read("prefs.ini/in-the-way"), "");
    EXPECT_TRUE(alert.shown.empty());
}

class PathsTest : public WindowTest {
protected:
    void SetUp() override { launch(); }
    void chooseDirectory(const std::string& path)
    {
        chooser.answers.push_back(QString::fromStdString(path));
        controller().selectTokenadeDirectory();
    }
    std::string listField() { return controller().romsListPathTextField()->text().toStdString(); }
};

TEST_F(PathsTest, ChosenDirectoryFindsTheListBelowItOrKeepsTheOldOne)
{
    controller().romsListPathTextField()->setText("/old/list.txt");
    chooseDirectory(collection.root());
    ASSERT_TRUE(waitForDiscovery());
    EXPECT_EQ(listField(), "/old/list.txt");

    collection.addFile("Docs/" + kListName, "alpha");
    chooseDirectory(collection.root());
    EXPECT_EQ(controller().tokenadeDirPathTextField()->text().toStdString(), collection.root());
    ASSERT_TRUE(waitForDiscovery());
    EXPECT_EQ(listField(), collection.path("Docs/" + kListName));
}

TEST_F(PathsTest, TypedDirectoryIsLookedThroughOnceConfirmed)
{
    collection.addFile("Docs/" + kListName, "alpha");
    QLineEdit* field = controller().tokenadeDirPathTextField();
    field->setFocus();
    QTest::keyClicks(field, QString::fromStdString(collection.root()));
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(waitForDiscovery());
    EXPECT_EQ(listField(), collection.path("Docs/" + kListName));
    controller().romsListPathTextField()->setText("/by/hand.txt");
    QTest::keyClick(field, Qt::Key_Return);  // the same directory again: the hand choice stays
    EXPECT_FALSE(controller().session().isDiscovering());
}

TEST_F(PathsTest, HandChoiceBeforeTheDiscoveryEndsIsReplacedAfterItStays)
{
    collection.addFile(kListName, "alpha");
    chooseDirectory(collection.root());
    chooser.answers.push_back("/by/hand.txt");
    controller().selectRomsListFile();  // the discovery has not handed its find over yet
    ASSERT_TRUE(waitForDiscovery());
    EXPECT_EQ(listField(), collection.path(kListName));
    chooser.answers.push_back("/by/hand.txt");
    controller().selectRomsListFile();
    EXPECT_EQ(listField(), "/by/hand.txt");
    EXPECT_EQ(chooser.asked.back().allowedFileTypes, QStringList{"txt"});
    controller().selectRomsListFile();  // cancelled: the field keeps its path
    EXPECT_EQ(listField(), "/by/hand.txt");
}

}  // namespace
}  // namespace tokenade::testing
