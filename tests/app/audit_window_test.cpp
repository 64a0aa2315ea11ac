#include "tests/support/window_fixture.h"

#include "platform/busy_indicator.h"
#include "platform/segmented_control.h"

#include <QAction>
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
                          "roms16BitConsoles/foxtrot.zip", "videos/alpha.xmv", "videos2/bravo.XMV"})
            collection.addFile(path);
    }
};

TEST_F(AuditWindowTest, RomAndVideoAuditsTogether)
{
    controller().auditRoms();
    controller().auditVideos();
    EXPECT_TRUE(controller().romsResultView()->isHidden());
    EXPECT_TRUE(controller().videosResultView()->isHidden());
    EXPECT_TRUE(controller().progressIndicator()->isAnimating());
    EXPECT_FALSE(window().findChild<QAction*>("actionAuditRoms")->isEnabled());
    ASSERT_TRUE(waitForAudits());

    EXPECT_EQ(romsText(), "Found 2 roms with valid filename:\n\nalpha.zip\nCharlie.zip");
    EXPECT_EQ(videosText(), "Found 1 videos with valid filename:\n\nalpha.xmv");
    EXPECT_EQ(controller().missingRoms(), (NameList{"delta.zip", "echo.zip"}));
    EXPECT_EQ(controller().unknownVideos(), (NameList{"bravo.XMV"}));
    EXPECT_FALSE(controller().romsResultView()->isHidden());
    EXPECT_FALSE(controller().videosResultView()->isHidden());
    EXPECT_TRUE(controller().progressLabel()->isHidden());
    EXPECT_FALSE(controller().progressIndicator()->isAnimating());
    EXPECT_TRUE(controller().romsResultControl()->isEnabled());
    EXPECT_TRUE(window().findChild<QAction*>("actionAuditRoms")->isEnabled());
    EXPECT_EQ(controller().romsResultView()->parentWidget()->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(alert.shown.empty());
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
    EXPECT_EQ(alert.shown[0].informativeText, "Can't find supported roms list or it is too big.");
    EXPECT_EQ(alert.shown[0].button, "OK");
    EXPECT_EQ(romsText(), before);
    EXPECT_EQ(controller().validRoms(), (NameList{"alpha.zip", "Charlie.zip"}));
}

TEST_F(AuditWindowTest, VideoAuditWithTheCheckBoxOnNeedsNoList)
{
    controller().romsListPathTextField()->setText("");
    controller().checkAvailableRomVideosOnly()->click();
    controller().auditVideos();
    ASSERT_TRUE(waitForAudits());
    EXPECT_TRUE(alert.shown.empty());
    EXPECT_EQ(controller().validVideos(), (NameList{"ALPHA.xmv", "bravo.xmv"}));
    EXPECT_EQ(controller().missingVideos(), (NameList{"charlie.xmv", "foxtrot.xmv"}));

    controller().checkAvailableRomVideosOnly()->click();  // off: the list is needed again
    controller().auditVideos();
    ASSERT_TRUE(waitForAudits());
    EXPECT_EQ(alert.shown.size(), 1u);
    EXPECT_EQ(controller().validVideos(), (NameList{"ALPHA.xmv", "bravo.xmv"}));
}

// The job reads the check box once, when it starts: clicking it meanwhile
// changes nothing about the running audit.
TEST_F(AuditWindowTest, CheckBoxIsReadOnceAtTheStart)
{
    controller().auditVideos();
    controller().checkAvailableRomVideosOnly()->click();
    ASSERT_TRUE(waitForAudits());
    EXPECT_EQ(controller().validVideos(), (NameList{"alpha.xmv"}));
    EXPECT_EQ(controller().missingVideos(), (NameList{"Charlie.xmv", "delta.xmv", "echo.xmv"}));
}

TEST_F(AuditWindowTest, LargeCategoryAppearsInItsView)
{
    std::string list;
    for (int i = 0; i < 20000; ++i)
        list += "game" + std::to_string(i) + "\n";
    collection.addFile("lists/- Supported Games Lookup For Naming.txt", list);
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    controller().romsResultControl()->setSelectedSegment(1);
    controller().didClickRomsResultControl();
    EXPECT_TRUE(romsText().startsWith("Found 20000 missing roms:\n\n"));
    EXPECT_EQ(controller().romsResultView()->lineCount(), 20002);
}

}  // namespace
}  // namespace tokenade::testing
