#include "tests/support/window_fixture.h"

#include "gui/busy_indicator.h"
#include "gui/notice_area.h"

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QTest>

namespace tokenade::testing {
namespace {

class AuditWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        launch();
        makeCollection("delta\nalpha\nCharlie\necho\n");
        for (auto path : {"roms/ALPHA.zip", "roms/bravo.zip", "romsConsoles/charlie.ZIP",
                          "roms16BitConsoles/foxtrot.zip", "videos/alpha.xmv", "videos2/bravo.XMV",
                          "videos/100%@ %lu.xmv", "videos3/delta.xmv"})
            collection.addFile(path);
    }
    QAction* command(const char* name) { return window().findChild<QAction*>(name); }
    QCheckBox* checkBox() { return controller().checkAvailableRomVideosOnly(); }
    SegmentedControl* videos() { return controller().videosResultControl(); }
    void clickSegment(SegmentedControl* control, int segment)
    {
        QTest::mouseClick(control->segmentButton(segment), Qt::LeftButton);
    }
    const AuditResult& result(AuditKind kind) { return controller().session().result(kind); }
};

TEST_F(AuditWindowTest, BothAuditsRunTogetherAndShowTheirResults)
{
    controller().auditRoms();
    controller().auditVideos();
    EXPECT_TRUE(controller().romsResultView()->isHidden());
    EXPECT_TRUE(controller().progressIndicator()->isAnimating());
    EXPECT_FALSE(command("actionAuditRoms")->isEnabled());  // one audit of a kind at a time
    ASSERT_TRUE(waitForAudits());

    EXPECT_EQ(romsText(), "Found 2 roms with valid filename:\n\nalpha.zip\nCharlie.zip");
    EXPECT_EQ(videosText(), "Found 2 videos with valid filename:\n\nalpha.xmv\ndelta.xmv");
    EXPECT_FALSE(controller().romsResultView()->isHidden());
    EXPECT_TRUE(controller().progressLabel()->isHidden());
    EXPECT_FALSE(controller().progressIndicator()->isAnimating());
    EXPECT_TRUE(controller().romsResultControl()->isEnabled());
    EXPECT_TRUE(command("actionAuditRoms")->isEnabled());
}

TEST_F(AuditWindowTest, UnusableListAfterASuccessfulAuditShowsThePreviousResultAgain)
{
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    const QString before = romsText();
    controller().romsListPathTextField()->setText(QString::fromStdString(collection.path("absent.txt")));
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    ASSERT_EQ(alert.shown.size(), 1u);
    EXPECT_EQ(alert.shown[0].messageText, "Error");
    EXPECT_EQ(alert.shown[0].informativeText.toStdString(),
              collection.path("absent.txt") + ": not found\n\nCan't find supported roms list or it is too big.");
    EXPECT_EQ(alert.shown[0].button, "OK");
    EXPECT_EQ(romsText(), before);
}

// Every warning of a messy list folds to a line of its own and leaves the
// results at least 15 lines at 1280x800, with a mistyped directory too; a
// click opens one, its names' spaces kept and marked.
TEST_F(AuditWindowTest, WarningsFoldToALineEachAndLeaveTheResultsTheirRoom)
{
    std::string list = "Dr. Mario (Japan, USA)\nStar Fox (USA) \n  \nalpha\nALPHA\n";
    for (int game = 0; game < 40; ++game)
        list += "Game " + std::to_string(game) + "\n";
    collection.addFile("lists/- Supported Games Lookup For Naming.txt", list);
    window().resize(1280, 800);
    NoticeArea* notice = window().findChild<NoticeArea*>("romsNoticeArea");
    ReportView* view = controller().romsResultView();
    for (const QString& directory : {QString::fromStdString(collection.root()), QStringLiteral("/mistyped/col")}) {
        controller().tokenadeDirPathTextField()->setText(directory);
        controller().auditRoms();
        ASSERT_TRUE(waitForAudits());
        QTest::keyClick(&window(), Qt::Key_2, Qt::ControlModifier);
        QCoreApplication::processEvents();
        EXPECT_GE(notice->noticeCount(), 3);
        EXPECT_GE(view->viewport()->height() / view->rowHeight() - 2, 15) << directory.toStdString();
    }
    QStringList cut;  // a cut name says which title it stands for
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, 0);
        if (index.data().toString() == "Dr.zip")
            cut << index.data(Qt::AccessibleTextRole).toString();
    }
    EXPECT_EQ(cut, QStringList{"Dr.zip, for the list line Dr. Mario (Japan, USA)"});
    EXPECT_TRUE(notice->text().contains("does not exist")) << notice->text().toStdString();
    EXPECT_TRUE(notice->text().contains("\"Dr. Mario (Japan, USA)\" -> \"Dr.zip\""));
    EXPECT_TRUE(notice->text().contains("\"Star Fox (USA)\u2423\" -> \"Star Fox (USA)\u2423.zip\""));
    QWidget* beforeFilter = controller().tab(AuditKind::Roms).filterField;
    do
        beforeFilter = beforeFilter->previousInFocusChain();
    while (!(beforeFilter->focusPolicy() & Qt::TabFocus));
    EXPECT_TRUE(notice->isAncestorOf(beforeFilter));  // Tab reaches the notices where they are
    const int folded = notice->height();
    notice->setOpen(1, true);
    QCoreApplication::processEvents();
    EXPECT_GT(notice->height(), folded);
    EXPECT_LE(notice->height(), controller().tab(AuditKind::Roms).page->height() / 3);

    controller().romsListPathTextField()->setText("/elsewhere/list.txt");
    EXPECT_TRUE(notice->text().contains("earlier paths"));
    EXPECT_TRUE(notice->isOpen(1));  // shown again, it stays open
}

TEST_F(AuditWindowTest, SegmentsShowTheirCategoriesAndTheCheckBoxGuardsTheExtraVideos)
{
    EXPECT_TRUE(videosText().startsWith("Nothing audited yet"));
    EXPECT_FALSE(videosText().contains("Choose")) << videosText().toStdString();  // both paths are there
    EXPECT_FALSE(videos()->isEnabled());
    controller().saveVideosResult();  // nothing to save yet: no folder is asked for
    EXPECT_TRUE(chooser.asked.empty());
    checkBox()->click();
    controller().auditVideos();
    ASSERT_TRUE(waitForAudits());
    clickSegment(videos(), 1);
    EXPECT_EQ(videosText(), "Found 1 missing video:\n\ncharlie.xmv");
    clickSegment(videos(), 2);
    EXPECT_EQ(videosText(), "Found 1 video for missing roms:\n\ndelta.xmv");
    clickSegment(videos(), 3);
    const QString unknown = videosText();
    EXPECT_EQ(unknown, "Found 1 video with unknown filename:\n\n100%@ %lu.xmv");

    checkBox()->click();  // off with another segment selected: only the extra segment changes
    EXPECT_FALSE(videos()->isEnabledForSegment(2));
    EXPECT_EQ(videosText(), unknown);
    EXPECT_EQ(videos()->segmentButton(3)->text(), "Unknown 1*");  // counted with the box on
    EXPECT_TRUE(controller().tab(AuditKind::Videos).noticeArea->text().contains("ticked: audit the videos again"));
    checkBox()->click();
    clickSegment(videos(), 2);
    checkBox()->click();  // off with the extra videos shown: back to the valid ones
    EXPECT_EQ(videos()->selectedSegment(), 0);
    const QString valid = "Found 2 videos with valid filename:\n\nALPHA.xmv\nbravo.xmv";
    EXPECT_EQ(videosText(), valid);
    EXPECT_EQ(result(AuditKind::Videos).list(CategoryId::Extra).size(), 1u);  // the box changes no list

    videos()->setSelectedSegment(-1);  // no segment: nothing changes
    controller().didClickVideosResultControl();
    EXPECT_EQ(videosText(), valid);
}

TEST_F(AuditWindowTest, SelectedNamesAreCopiedAsText)
{
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    clickSegment(controller().romsResultControl(), 2);
    ReportView* view = controller().romsResultView();
    view->selectionModel()->select(view->model()->index(4, 0), QItemSelectionModel::Select);
    view->selectionModel()->select(view->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::keySequence(view, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "foxtrot.zip");  // header lines are not names
}

}  // namespace
}  // namespace tokenade::testing
