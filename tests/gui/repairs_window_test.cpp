#include "tests/support/window_fixture.h"

#include "core/repair/set_aside_plan.h"
#include "gui/fill_view.h"

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace tokenade::testing {
namespace {

class RepairsWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        state.setMode("", 0777);
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state.root()));
        launch();
        makeCollection("Alpha & Omega (USA)\nBeta (USA)\n");
        for (auto path : {"roms/Alpha & Omega (USA).zip", "roms/Stray (Japan).zip", "roms/Other.zip"})
            collection.addFile(path);
        controller().auditRoms();
    }
    ~RepairsWindowTest() override { qunsetenv("XDG_STATE_HOME"); }
    bool waitForChanges() { return QTest::qWaitFor([this] { return controller().session().canChange(); }, 20000); }

    TempTree state;
};

// Chosen, offered, copied after one question, counted valid, then undone.
TEST_F(RepairsWindowTest, FillFromAFolderCopiesTheTickedFilesAndUndoTakesThemAway)
{
    ASSERT_TRUE(waitForAudits());
    const std::string before = collection.list("roms");
    TempTree downloads;
    downloads.addFile("new/BETA (USA).zip", "beta");
    chooser.answers.push_back(QString::fromStdString(downloads.root()));
    QTest::mouseClick(window().findChild<QToolButton*>("romsFillButton"), Qt::LeftButton);
    auto* view = window().findChild<FillView*>("romsFillView");
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }, 20000));
    ASSERT_EQ(view->table()->rowCount(), 1);
    EXPECT_EQ(view->table()->item(0, 0)->text(), "Beta (USA).zip");
    alert.answers.push_back(true);
    QTest::mouseClick(view->copyButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForChanges());
    EXPECT_EQ(collection.read("roms/Beta (USA).zip"), "beta");
    EXPECT_EQ(controller()._validRoms().size(), 2u);
    EXPECT_TRUE(controller().tab(AuditKind::Roms).noticeArea->text().contains("Copied 1 file."));

    ASSERT_TRUE(QTest::qWaitFor([this] { return controller().session().canUndo(); }, 20000));
    window().findChild<QAction*>("actionUndoLastRenames")->trigger();
    ASSERT_TRUE(waitForChanges());
    EXPECT_EQ(collection.list("roms"), before);
}

// Only what is selected goes, and only from a found category.
TEST_F(RepairsWindowTest, SetAsideMovesTheSelectedUnknownFileOnly)
{
    ASSERT_TRUE(waitForAudits());
    ReportView* view = controller().romsResultView();
    QAction* setAside = view->setAsideAction();
    view->selectAll();
    EXPECT_FALSE(setAside->isEnabled());  // the valid names
    controller().romsResultControl()->setSelectedSegment(2);
    controller().didClickRomsResultControl();
    ASSERT_EQ(view->model()->index(4, 0).data().toString(), "Stray (Japan).zip");
    view->selectionModel()->select(view->model()->index(4, 0), QItemSelectionModel::Select);
    ASSERT_TRUE(setAside->isEnabled());
    alert.answers.push_back(true);
    setAside->trigger();
    EXPECT_TRUE(alert.asked.at(0).messageText.startsWith("Set aside 1 file into "));
    ASSERT_TRUE(waitForChanges());
    const std::string target = defaultSetAsideFolder(collection.root());
    EXPECT_TRUE(collection.exists(target.substr(collection.root().size() + 1) + "/roms/Stray (Japan).zip"));
    EXPECT_TRUE(collection.exists("roms/Other.zip"));
    EXPECT_EQ(controller()._unknownRoms().size(), 1u);  // audited again
}

}  // namespace
}  // namespace tokenade::testing
