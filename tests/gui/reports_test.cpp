#include "tests/support/window_fixture.h"

#include "gui/notice_area.h"

#include <QPushButton>

namespace tokenade::testing {
namespace {

class ReportsTest : public WindowTest {
protected:
    void SetUp() override
    {
        launch();
        makeCollection("alpha\nbeta\n\xC3\xA9t\xC3\xA9\n");
        collection.addFile("roms/alpha.zip");
        collection.addFile("roms/zulu.zip");
    }
    void saveRomsInto(const std::string& folder)
    {
        chooser.answers.push_back(QString::fromStdString(folder));
        controller().saveRomsResult();
    }
};

TEST_F(ReportsTest, SavedFilesHoldTheAuditAsUtf8WithCrLfAndTheWindowSaysWhere)
{
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    controller().saveRomsResult();  // cancelled: nothing written
    EXPECT_EQ(out.list(), "");
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0].title, "Save results");
    EXPECT_EQ(chooser.asked[0].prompt, "Select");

    saveRomsInto(out.root());
    EXPECT_EQ(out.read("missing_roms.txt"), "Found 2 missing roms:\r\n\r\nbeta.zip\r\n\xC3\xA9t\xC3\xA9.zip");
    EXPECT_EQ(out.list(), "missing_roms.txt\nunknown_roms.txt\nvalid_roms.txt\n");
    EXPECT_TRUE(alert.shown.empty());
    NoticeArea* notice = window().findChild<NoticeArea*>("romsNoticeArea");
    EXPECT_TRUE(notice->text().contains(QString::fromStdString("Saved 3 reports to " + out.root())));
    notice->findChild<QPushButton*>("openFolder")->click();
    ASSERT_EQ(browser.opened.size(), 1u);
    EXPECT_EQ(browser.opened[0], QUrl::fromLocalFile(QString::fromStdString(out.root())));
    saveRomsInto(out.root());  // the chooser starts where the reports went, and can make a folder there
    EXPECT_EQ(chooser.asked.back().startFolder.toStdString(), out.root());
    EXPECT_TRUE(chooser.asked.back().canMakeFolders);
}

TEST_F(ReportsTest, FailedWritesAreNamedInOneWarningAndTheOthersAreWritten)
{
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    out.addFile("missing_roms.txt/keep", "");
    out.addFile("unknown_roms.txt/keep", "");
    saveRomsInto(out.root());
    ASSERT_EQ(alert.shown.size(), 1u);
    EXPECT_TRUE(alert.shown[0].informativeText.contains("missing_roms.txt"));
    EXPECT_TRUE(alert.shown[0].informativeText.contains("unknown_roms.txt"));
    EXPECT_FALSE(alert.shown[0].informativeText.contains("valid_roms.txt"));
}

TEST_F(ReportsTest, SaveDuringAnAuditReadsTheLastCompleteResult)
{
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    collection.addFile("roms/beta.zip");
    controller().auditRoms();
    saveRomsInto(out.root());  // the new audit has not handed its result over
    EXPECT_EQ(out.read("valid_roms.txt"), "Found 1 roms with valid filename:\r\n\r\nalpha.zip");
    ASSERT_TRUE(waitForAudits());
    EXPECT_EQ(controller()._validRoms().size(), 2u);
}

}  // namespace
}  // namespace tokenade::testing
