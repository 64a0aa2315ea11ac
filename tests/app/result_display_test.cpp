#include "tests/support/window_fixture.h"

#include "platform/segmented_control.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace tokenade::testing {
namespace {

class ResultDisplayTest : public WindowTest {
protected:
    void SetUp() override
    {
        launch();
        makeCollection("alpha\ncharlie\n");
        for (auto path : {"roms/alpha.zip", "videos/alpha.xmv", "videos/charlie.xmv", "videos/100%@ %lu.xmv"})
            collection.addFile(path);
        checkBox()->click();  // on: charlie's video is extra
        controller().auditVideos();
        ASSERT_TRUE(waitForAudits());
    }

    QCheckBox* checkBox() { return controller().checkAvailableRomVideosOnly(); }
    SegmentedControl* videos() { return controller().videosResultControl(); }
    void clickSegment(int segment) { QTest::mouseClick(videos()->segmentButton(segment), Qt::LeftButton); }
};

TEST_F(ResultDisplayTest, EachSegmentShowsItsCategory)
{
    clickSegment(1);
    EXPECT_EQ(videosText(), "Found 0 missing videos:\n\n");
    clickSegment(2);
    EXPECT_EQ(videosText(), "Found 1 videos for missing roms:\n\ncharlie.xmv");
    clickSegment(3);
    EXPECT_EQ(videosText(), "Found 1 videos with unknown filename:\n\n100%@ %lu.xmv");
}

TEST_F(ResultDisplayTest, SelectedLinesAreCopiedAsText)
{
    clickSegment(3);
    ReportView* view = controller().videosResultView();
    view->selectionModel()->select(view->model()->index(2, 0), QItemSelectionModel::Select);
    view->selectionModel()->select(view->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::keySequence(view, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "Found 1 videos with unknown filename:\n100%@ %lu.xmv");
}

TEST_F(ResultDisplayTest, NoSegmentSelectedChangesNothing)
{
    const QString before = videosText();
    videos()->setSelectedSegment(-1);
    controller().didClickVideosResultControl();
    EXPECT_EQ(videosText(), before);
}

TEST_F(ResultDisplayTest, CheckBoxOffWithExtraSelectedFallsBackToValid)
{
    clickSegment(2);
    checkBox()->click();
    EXPECT_FALSE(videos()->isEnabledForSegment(2));
    EXPECT_EQ(videos()->selectedSegment(), 0);
    EXPECT_EQ(videosText(), "Found 1 videos with valid filename:\n\nalpha.xmv");
    EXPECT_EQ(controller().extraVideos(), (NameList{"charlie.xmv"}));  // lists are not touched
}

TEST_F(ResultDisplayTest, CheckBoxWithAnotherSegmentSelectedOnlyTogglesTheExtraSegment)
{
    clickSegment(3);
    const QString shown = videosText();
    checkBox()->click();
    EXPECT_FALSE(videos()->isEnabledForSegment(2));
    EXPECT_EQ(videos()->selectedSegment(), 3);
    EXPECT_EQ(videosText(), shown);
    checkBox()->click();
    EXPECT_TRUE(videos()->isEnabledForSegment(2));
    EXPECT_EQ(videos()->selectedSegment(), 3);
    EXPECT_EQ(videosText(), shown);
}

TEST_F(ResultDisplayTest, AuditWithTheBoxOffEmptiesTheExtraVideos)
{
    checkBox()->click();
    controller().auditVideos();
    ASSERT_TRUE(waitForAudits());
    checkBox()->click();
    clickSegment(2);
    EXPECT_EQ(videosText(), "Found 0 videos for missing roms:\n\n");
}

TEST_F(ResultDisplayTest, UnknownRomsShowTheWarningLine)
{
    collection.addFile("roms/neogeo.zip");
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    QTest::mouseClick(controller().romsResultControl()->segmentButton(2), Qt::LeftButton);
    EXPECT_EQ(romsText(),
              "Found 1 unknown archives:\n(warning, these could be necessary ones too, like neogeo.zip)\n\nneogeo.zip");
}

}  // namespace
}  // namespace tokenade::testing
