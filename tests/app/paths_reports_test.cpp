#include "tests/support/window_fixture.h"

#include "platform/segmented_control.h"

namespace tokenade::testing {
namespace {

const std::string kListName = "- Supported Games Lookup For Naming.txt";

class PathsTest : public WindowTest {
protected:
    void SetUp() override { launch(); }
    QString listPath() { return controller().romsListPathTextField()->text(); }
    QString chooseDirectory(const std::string& path)
    {
        chooser.answers.push_back(QString::fromStdString(path));
        controller().selectTokenadeDirectory();
        return controller().tokenadeDirPathTextField()->text();
    }
};

TEST_F(PathsTest, CancelledChoosersChangeNothing)
{
    controller().tokenadeDirPathTextField()->setText("/before");
    controller().romsListPathTextField()->setText("/before.txt");
    controller().selectTokenadeDirectory();
    controller().selectRomsListFile();
    EXPECT_EQ(controller().tokenadeDirPathTextField()->text(), "/before");
    EXPECT_EQ(listPath(), "/before.txt");
    ASSERT_EQ(chooser.asked.size(), 2u);
    EXPECT_EQ(chooser.asked[0].title, "Tokenade directory");
    EXPECT_TRUE(chooser.asked[0].canChooseDirectories && !chooser.asked[0].canChooseFiles);
    EXPECT_EQ(chooser.asked[1].title, "Supported roms list");
    EXPECT_EQ(chooser.asked[1].allowedFileTypes, QStringList{"txt"});
    EXPECT_EQ(chooser.asked[1].prompt, "Select");
}

TEST_F(PathsTest, ChosenDirectoryFindsTheListBelowIt)
{
    collection.addFile("Docs/" + kListName, "alpha");
    EXPECT_EQ(chooseDirectory(collection.root()).toStdString(), collection.root());
    ASSERT_TRUE(waitForDiscovery());
    EXPECT_EQ(listPath().toStdString(), collection.path("Docs/" + kListName));
}

TEST_F(PathsTest, DirectoryWithoutTheListKeepsTheListPath)
{
    controller().romsListPathTextField()->setText("/old/list.txt");
    chooseDirectory(collection.root());
    ASSERT_TRUE(waitForDiscovery());
    EXPECT_EQ(listPath(), "/old/list.txt");
}

TEST_F(PathsTest, HandChoiceBeforeTheDiscoveryEndsIsReplacedAfterItStays)
{
    collection.addFile(kListName, "alpha");
    chooseDirectory(collection.root());
    chooser.answers.push_back("/by/hand.txt");
    controller().selectRomsListFile();  // the discovery has not handed its find over yet
    ASSERT_TRUE(waitForDiscovery());
    EXPECT_EQ(listPath().toStdString(), collection.path(kListName));

    chooser.answers.push_back("/by/hand.txt");
    controller().selectRomsListFile();
    EXPECT_EQ(listPath(), "/by/hand.txt");
}

class ReportsTest : public WindowTest {
protected:
    void SetUp() override
    {
        launch();
        makeCollection("alpha\nbeta\n\xC3\xA9t\xC3\xA9\n");
        collection.addFile("roms/alpha.zip");
        collection.addFile("roms/zulu.zip");
        collection.addFile("videos/alpha.xmv");
    }
    void saveRomsInto(const std::string& folder)
    {
        chooser.answers.push_back(QString::fromStdString(folder));
        controller().saveRomsResult();
    }
};

TEST_F(ReportsTest, CancelWritesNothing)
{
    controller().saveRomsResult();
    controller().saveVideosResult();
    EXPECT_EQ(listFolder(out.root()), "");
    ASSERT_EQ(chooser.asked.size(), 2u);
    EXPECT_EQ(chooser.asked[0].title, "Save results");
}

TEST_F(ReportsTest, BeforeAnyAuditEveryFileHoldsItsHeaderAndZero)
{
    saveRomsInto(out.root());
    chooser.answers.push_back(QString::fromStdString(out.root()));
    controller().saveVideosResult();
    EXPECT_EQ(listFolder(out.root()),
              "extra_videos.txt\nmissing_roms.txt\nmissing_videos.txt\nunknown_roms.txt\nunknown_videos.txt\n"
              "valid_roms.txt\nvalid_videos.txt\n");
    EXPECT_EQ(out.read("valid_roms.txt"), "Found 0 roms with valid filename:\r\n\r\n");
    EXPECT_EQ(out.read("extra_videos.txt"), "Found 0 videos for missing roms:\r\n\r\n");
}

TEST_F(ReportsTest, SavedFilesHoldTheAuditAsUtf8WithCrLf)
{
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    saveRomsInto(out.root());
    EXPECT_EQ(out.read("valid_roms.txt"), "Found 1 roms with valid filename:\r\n\r\nalpha.zip");
    EXPECT_EQ(out.read("missing_roms.txt"), "Found 2 missing roms:\r\n\r\nbeta.zip\r\n\xC3\xA9t\xC3\xA9.zip");
    EXPECT_EQ(out.read("unknown_roms.txt"),
              "Found 1 roms with unknown filename:\r\n(warning, these could be necessary archives too, like "
              "neogeo.zip)\r\n\r\nzulu.zip");
    EXPECT_TRUE(alert.shown.empty());
}

TEST_F(ReportsTest, FailedWritesAreNamedInOneWarningAndTheOthersAreWritten)
{
    out.addFile("missing_roms.txt/keep", "");
    out.addFile("unknown_roms.txt/keep", "");
    saveRomsInto(out.root());
    ASSERT_EQ(alert.shown.size(), 1u);
    EXPECT_TRUE(alert.shown[0].informativeText.contains("missing_roms.txt"));
    EXPECT_TRUE(alert.shown[0].informativeText.contains("unknown_roms.txt"));
    EXPECT_FALSE(alert.shown[0].informativeText.contains("valid_roms.txt"));
    EXPECT_EQ(listFolder(out.root()), "missing_roms.txt\nunknown_roms.txt\nvalid_roms.txt\n");
}

TEST_F(ReportsTest, SaveDuringAnAuditReadsTheLastCompleteResult)
{
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    collection.addFile("roms/beta.zip");
    controller().auditRoms();
    saveRomsInto(out.root());  // the new audit has not handed its lists over
    EXPECT_EQ(out.read("valid_roms.txt"), "Found 1 roms with valid filename:\r\n\r\nalpha.zip");
    ASSERT_TRUE(waitForAudits());
    EXPECT_EQ(controller().validRoms(), (NameList{"alpha.zip", "beta.zip"}));
}

}  // namespace
}  // namespace tokenade::testing
