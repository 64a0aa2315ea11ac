#include "tests/support/window_fixture.h"

#include "audit/audit_run.h"
#include "platform/segmented_control.h"

#include <QAction>
#include <QTest>

namespace tokenade::testing {
namespace {

// A user who clicks everything while audits run: the lists end exactly as one
// quiet audit leaves them, and nothing but the main thread touches them.
class HammerTest : public WindowTest {
protected:
    void SetUp() override
    {
        launch();
        makeCollection("alpha\nbravo\nCharlie\ndelta\n");
        for (int i = 0; i < 300; ++i)
            collection.addFile("roms/set" + std::to_string(i % 7) + "/game" + std::to_string(i) + ".zip");
        for (auto path : {"roms/alpha.zip", "romsConsoles/BRAVO.ZIP", "videos/alpha.xmv", "videos3/charlie.xmv",
                          "videos/zulu.xmv"})
            collection.addFile(path);
    }

    AuditInputs quietInputs(bool availableOnly)
    {
        return {collection.root(), collection.path("lists/- Supported Games Lookup For Naming.txt"), availableOnly};
    }
};

TEST_F(HammerTest, EverythingAtOnceEndsAsOneQuietAudit)
{
    for (int round = 0; round < 3; ++round) {
        controller().auditRoms();
        controller().auditVideos();
        window().findChild<QAction*>("actionAuditRoms")->trigger();  // disabled while it runs
        controller().auditRoms();                                    // a second job of the same kind
        controller().auditVideos();
        for (int segment : {1, 2, 0, 3}) {
            controller().videosResultControl()->setSelectedSegment(segment);
            controller().didClickVideosResultControl();
            controller().romsResultControl()->setSelectedSegment(segment % 3);
            controller().didClickRomsResultControl();
        }
        controller().checkAvailableRomVideosOnly()->click();
        controller().checkAvailableRomVideosOnly()->click();
        chooser.answers.push_back(QString::fromStdString(out.root()));
        controller().saveRomsResult();
        chooser.answers.push_back(QString::fromStdString(collection.root()));
        controller().selectTokenadeDirectory();
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(waitForAudits());
    ASSERT_TRUE(QTest::qWaitFor([] { return runningDetachedThreads() == 0; }, 20000));
    QCoreApplication::processEvents();

    const auto roms = runRomAudit(quietInputs(false), {});
    const auto videos = runVideoAudit(quietInputs(false), {});
    ASSERT_TRUE(roms && videos);
    EXPECT_EQ(controller().validRoms(), roms->valid);
    EXPECT_EQ(controller().missingRoms(), roms->missing);
    EXPECT_EQ(controller().unknownRoms(), roms->unknown);
    EXPECT_EQ(controller().validVideos(), videos->valid);
    EXPECT_EQ(controller().missingVideos(), videos->missing);
    EXPECT_EQ(controller().extraVideos(), videos->extra);
    EXPECT_EQ(controller().unknownVideos(), videos->unknown);
    EXPECT_EQ(controller().romsListPathTextField()->text().toStdString(),
              collection.path("lists/- Supported Games Lookup For Naming.txt"));
    EXPECT_TRUE(controller().progressLabel()->isHidden());
    EXPECT_TRUE(window().findChild<QAction*>("actionAuditVideos")->isEnabled());
    EXPECT_TRUE(alert.shown.empty());
}

}  // namespace
}  // namespace tokenade::testing
