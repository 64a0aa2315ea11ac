#include "tests/support/window_fixture.h"

#include "core/repair/changes.h"
#include "core/repair/journal_files.h"
#include "core/repair/set_aside_plan.h"
#include "gui/changes/fill_view.h"
#include "gui/changes/near_misses_view.h"
#include "gui/notice_area.h"
#include "gui/report_lines.h"
#include "tests/support/zip_builder.h"

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace tokenade::testing {
namespace {

// The window's changes to a collection, each with journals of the test's own.
class RepairsWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        state.setMode("", 0777);
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state.root()));
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(state.root()));  // the caches of contents
        launch();
    }
    ~RepairsWindowTest() override
    {
        qunsetenv("XDG_STATE_HOME");
        qunsetenv("XDG_CACHE_HOME");
    }
    void plantNearMisses()
    {
        makeCollection("Tom & Jerry (USA)\nPok\xC3\xA9mon Red (USA)\nBeta (USA)\n");
        for (auto path : {"roms/Tom and Jerry (USA).zip", "romsConsoles/Pokemon Red (USA).zip", "roms/Beta (Europe).zip"})
            collection.addFile(path);
    }
    void plantStrays()
    {
        makeCollection("Alpha & Omega (USA)\nBeta (USA)\n");
        for (auto path : {"roms/Alpha & Omega (USA).zip", "roms/Stray (Japan).zip", "roms/Other.zip"})
            collection.addFile(path);
        controller().auditRoms();
    }
    bool waitForChanges()
    {
        return QTest::qWaitFor([this] { return !controller().session().isChanging(); }, 20000) && waitForAudits();
    }
    // Audit › Undo, answered yes: true once it asked, or said why it would not, and its batch ended.
    bool undoLast()
    {
        const size_t said = alert.asked.size() + alert.shown.size();
        alert.answers.push_back(true);
        window().findChild<QAction*>("actionUndoLastRenames")->trigger();
        return QTest::qWaitFor([&] { return alert.asked.size() + alert.shown.size() > said; }, 20000) &&
               waitForChanges();
    }
    std::string files() { return collection.list("roms") + collection.list("romsConsoles"); }
    // Fill from Folder… of the ROM tab from `source`: its view once shown, else null.
    FillView* fillFrom(const TempTree& source)
    {
        chooser.answers.push_back(QString::fromStdString(source.root()));
        QTest::mouseClick(window().findChild<QToolButton*>("romsFillButton"), Qt::LeftButton);
        auto* view = window().findChild<FillView*>("romsFillView");
        return QTest::qWaitFor([view] { return view->isVisible(); }, 20000) ? view : nullptr;
    }

    TempTree state;
};

// Looked through, picked, renamed after one question, audited again, undone.
TEST_F(RepairsWindowTest, TickedPairsAreRenamedAfterOneQuestionAndTheLastBatchUndone)
{
    plantNearMisses();
    const std::string before = files();
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    auto* button = window().findChild<QToolButton*>("romsNearMissesButton");
    EXPECT_EQ(button->text(), "2 near misses…");
    QTest::mouseClick(button, Qt::LeftButton);
    auto* view = window().findChild<NearMissesView*>("romsNearMissesView");
    ASSERT_TRUE(view->isVisible());
    QTableWidget* table = view->table();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 1)->text(), "Pokemon Red (USA).zip");
    EXPECT_EQ(table->item(0, 3)->text(), "accents");
    table->item(1, 0)->setCheckState(Qt::Unchecked);  // Tom and Jerry stays as it is

    QTest::mouseClick(view->renameButton(), Qt::LeftButton);  // cancelled: nothing happens
    ASSERT_EQ(alert.asked.size(), 1u);
    EXPECT_EQ(alert.asked[0].messageText, "Rename 1 file?");
    EXPECT_TRUE(alert.asked[0].informativeText.contains("Pokemon Red (USA).zip"));
    EXPECT_EQ(files(), before);
    alert.answers.push_back(true);
    QTest::mouseClick(view->renameButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForChanges());
    EXPECT_TRUE(collection.exists("romsConsoles/Pok\xC3\xA9mon Red (USA).zip"));
    EXPECT_TRUE(collection.exists("roms/Tom and Jerry (USA).zip"));
    EXPECT_EQ(controller()._validRoms().size(), 1u);  // audited again
    NoticeArea* notice = controller().tab(AuditKind::Roms).noticeArea;
    EXPECT_TRUE(notice->text().contains("Renamed 1 file.")) << notice->text().toStdString();
    EXPECT_EQ(button->text(), "1 near miss…");
    ASSERT_EQ(table->rowCount(), 1);  // the open view shows what Rename would now act on
    EXPECT_EQ(table->item(0, 1)->text(), "Tom and Jerry (USA).zip");

    // Undo is for the collection the field names, and says which batch it undoes.
    QAction* undo = window().findChild<QAction*>("actionUndoLastRenames");
    TempTree other;
    controller().tokenadeDirPathTextField()->setText(QString::fromStdString(other.root()));
    EXPECT_FALSE(undo->isEnabled());
    controller().tokenadeDirPathTextField()->setText(QString::fromStdString(collection.root()));
    ASSERT_TRUE(QTest::qWaitFor([undo] { return undo->isEnabled(); }, 20000));
    EXPECT_TRUE(undo->text().startsWith("Undo Renames of 1 file (today ")) << undo->text().toStdString();
    EXPECT_EQ(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    ASSERT_TRUE(undoLast());
    EXPECT_TRUE(alert.asked.back().informativeText.endsWith("back to \u201CPokemon Red (USA).zip\u201D in " +
                                                           QString::fromStdString(collection.path("romsConsoles"))));
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(notice->text().contains("Renamed 1 file back (journal 20")) << notice->text().toStdString();
}

// The command line may undo the batch that the window offers: the window
// reads the journals again rather than ask to undo what is gone.
TEST_F(RepairsWindowTest, UndoAfterAShellUndoSaysTheBatchIsGone)
{
    plantNearMisses();
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    alert.answers.push_back(true);
    QTest::mouseClick(window().findChild<QToolButton*>("romsNearMissesButton"), Qt::LeftButton);
    QTest::mouseClick(window().findChild<NearMissesView*>("romsNearMissesView")->renameButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForChanges());
    ASSERT_TRUE(QTest::qWaitFor([this] { return controller().session().canUndo(); }, 20000));
    ASSERT_FALSE(undoChanges(controller().session().undoable()->journalPath,  // as the command line does
                             ChangeOptions{renameJournalFolder(), {}, nullptr, {}, {}}).outcomes.empty());
    const size_t asked = alert.asked.size();
    ASSERT_TRUE(undoLast());
    EXPECT_EQ(alert.asked.size(), asked);
    EXPECT_TRUE(alert.shown.back().messageText.startsWith("Nothing left to undo of Renames of 2 files"))
        << alert.shown.back().messageText.toStdString();
    EXPECT_FALSE(window().findChild<QAction*>("actionUndoLastRenames")->isEnabled());
}

// A cut name is offered but left unticked; a game's video follows its archive, audited or not.
TEST_F(RepairsWindowTest, CutNamesAreOfferedUntickedAndVideosFollowTheirGames)
{
    plantNearMisses();
    makeCollection("Pok\xC3\xA9mon Red (USA)\nDr. Mario (Japan, USA)\n");
    for (auto path :
         {"roms/Dr. Mario (Japan, USA).zip", "videos/Pokemon Red (USA).xmv", "videos/Dr. Mario (Japan, USA).xmv"})
        collection.addFile(path);
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    QTest::mouseClick(window().findChild<QToolButton*>("romsNearMissesButton"), Qt::LeftButton);
    auto* view = window().findChild<NearMissesView*>("romsNearMissesView");
    QTableWidget* table = view->table();
    ASSERT_EQ(table->rowCount(), 4);  // the near miss, the cut name, then their videos
    EXPECT_EQ(table->item(1, 0)->checkState(), Qt::Unchecked);  // Dr.zip
    EXPECT_EQ(table->item(2, 0)->checkState(), Qt::Checked);
    alert.answers.push_back(true);
    QTest::mouseClick(view->renameButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForChanges());
    EXPECT_TRUE(collection.exists("romsConsoles/Pok\xC3\xA9mon Red (USA).zip"));
    EXPECT_TRUE(collection.exists("videos/Pok\xC3\xA9mon Red (USA).xmv"));
}

// Chosen, offered, copied after one question, counted valid, then undone.
TEST_F(RepairsWindowTest, FillFromAFolderCopiesTheTickedFilesAndUndoTakesThemAway)
{
    plantStrays();  // its audit may still run: the one started after it is what is shown
    collection.addFile("romsConsoles/Genesis/Sonic (Japan).zip");  // a folder per system
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    const std::string before = collection.list("roms") + collection.list("romsConsoles");
    TempTree downloads;
    downloads.addFile("new/BETA (USA).zip", "beta");
    FillView* view = fillFrom(downloads);
    ASSERT_TRUE(view);
    ASSERT_EQ(view->table()->rowCount(), 1);
    EXPECT_EQ(view->table()->item(0, 0)->text(), "Beta (USA).zip");
    QTreeWidget* targets = view->targetChoice();
    ASSERT_TRUE(targets->currentItem());
    EXPECT_EQ(targets->currentItem()->text(0), "roms");
    const QList<QTreeWidgetItem*> genesis = targets->findItems("Genesis", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(genesis.size(), 1);
    targets->setCurrentItem(genesis[0]);
    ASSERT_TRUE(QTest::qWaitFor([view] {  // the rows are made anew for the folder chosen
        const QTableWidgetItem* folder = view->table()->item(0, 2);
        return folder && folder->text().endsWith("/Genesis");
    }, 20000));
    alert.answers.push_back(true);
    QTest::mouseClick(view->copyButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForChanges());
    EXPECT_EQ(collection.read("romsConsoles/Genesis/Beta (USA).zip"), "beta");
    EXPECT_EQ(controller()._validRoms().size(), 2u);
    EXPECT_TRUE(controller().tab(AuditKind::Roms).noticeArea->text().contains("Copied 1 file."));

    quit();
    launch();  // undone before any audit, it still says what it did
    ASSERT_TRUE(QTest::qWaitFor([this] { return controller().session().canUndo(); }, 20000));
    ASSERT_TRUE(undoLast());
    EXPECT_EQ(collection.list("roms") + collection.list("romsConsoles"), before);
    EXPECT_TRUE(controller().tab(AuditKind::Roms).noticeArea->text().contains("Removed 1 copy"))
        << controller().tab(AuditKind::Roms).noticeArea->text().toStdString();

    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    FillView* again = fillFrom(downloads);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->targetChoice()->currentItem()->text(0), "Genesis");  // the collection's folder is kept
}

// Once a DAT is chosen, archives under names of their own are renamed and
// filled by what they hold.
TEST_F(RepairsWindowTest, ADatOffersRenamesAndFillsByContent)
{
    makeCollection("Alpha (USA)\nBeta (USA)\n");
    collection.addFile("roms/alp.zip", zipBytes({{"a.rom", 4, 1}}));
    collection.addFile("games.dat", "game ( name \"Alpha (USA)\" rom ( name a.rom size 4 crc 00000001 ) )\n"
                                    "game ( name \"Beta (USA)\" rom ( name b.rom size 4 crc 00000002 ) )\n");
    chooser.answers.push_back(QString::fromStdString(collection.path("games.dat")));
    window().findChild<QAction*>("actionSelectDatFile")->trigger();
    EXPECT_EQ(chooser.asked.back().allowedFileTypes, (QStringList{"dat", "xml", "zip"}));
    EXPECT_TRUE(chooser.asked.back().canChooseDirectories);  // a folder of DATs too
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    auto* button = window().findChild<QToolButton*>("romsNearMissesButton");
    ASSERT_TRUE(QTest::qWaitFor([button] { return button->text() == "1 near miss…"; }, 20000));
    controller().pickCategory(2);  // the unknown archives say what they hold beside their folder
    const QAbstractItemModel* lines = controller().romsResultView()->model();
    const QModelIndexList alp = lines->match(lines->index(0, 0), Qt::DisplayRole, "alp.zip", 1, Qt::MatchExactly);
    ASSERT_EQ(alp.size(), 1);
    EXPECT_EQ(alp[0].data(ReportLines::FolderRole).toString(), "roms \u2014 holds Alpha (USA)");
    QTest::mouseClick(button, Qt::LeftButton);
    QTableWidget* table = window().findChild<NearMissesView*>("romsNearMissesView")->table();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 1)->text(), "alp.zip");
    EXPECT_EQ(table->item(0, 3)->text(), "content: holds Alpha (USA)");
    alert.answers.push_back(true);
    QTest::mouseClick(window().findChild<NearMissesView*>("romsNearMissesView")->renameButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForChanges());
    EXPECT_TRUE(collection.exists("roms/Alpha (USA).zip"));

    TempTree downloads;
    downloads.addFile("b.zip", zipBytes({{"b.rom", 4, 2}}));
    downloads.addFile("Beta (USA).zip", zipBytes({{"a.rom", 4, 1}}));  // a decoy: Alpha under Beta's name
    ASSERT_TRUE(QTest::qWaitFor([this] { return controller().session().identification() != nullptr; }, 20000));
    FillView* fill = fillFrom(downloads);
    ASSERT_TRUE(fill);
    ASSERT_EQ(fill->table()->rowCount(), 2);
    const QTableWidgetItem* decoy = fill->table()->item(0, 0);
    EXPECT_FALSE(decoy->flags() & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(fill->table()->item(0, 3)->toolTip().endsWith("by content it holds Alpha (USA), not Beta (USA)"));
    EXPECT_EQ(fill->table()->item(1, 1)->text(), "b.zip");
    EXPECT_EQ(fill->table()->item(1, 3)->text(), "content: holds Beta (USA)");
    fill->resize(700, 400);  // kept for the next time it opens
    fill->hide();
    ASSERT_TRUE(fillFrom(downloads));
    EXPECT_EQ(fill->size(), QSize(700, 400));
    EXPECT_EQ(chooser.asked.back().startFolder.toStdString(), downloads.root());  // the choosers start where they left
    window().findChild<QAction*>("actionSelectDatFile")->trigger();
    EXPECT_EQ(chooser.asked.back().startFolder.toStdString(), collection.root());

    // The fixdat of what is missing, never written over the DAT.
    for (const std::string& path : {collection.path("games.dat"), out.path("fix.dat")}) {
        chooser.answers.push_back(QString::fromStdString(path));
        window().findChild<QAction*>("actionExportFixdat")->trigger();
    }
    ASSERT_EQ(alert.shown.size(), 2u);
    EXPECT_TRUE(alert.shown[0].informativeText.endsWith("the DAT")) << alert.shown[0].informativeText.toStdString();
    EXPECT_TRUE(out.read("fix.dat").find("Beta (USA)") != std::string::npos);
    EXPECT_EQ(alert.shown[1].informativeText, QString::fromStdString("1 missing game written to " + out.path("fix.dat") + "."));
}

// With a DAT of sets, a set not correct says so beside its folder, and its
// row's tooltip tells it rom by rom.
TEST_F(RepairsWindowTest, ASetsStateShowsBesideItsArchiveAndItsRomsInTheTooltip)
{
    makeCollection("alpha\nbios\n");
    collection.addFile("roms/alpha.zip", zipBytes({{"a.rom", 4, 1}, {"a2.rom", 4, 9}}));
    collection.addFile("roms/bios.zip", zipBytes({{"b.rom", 4, 0xb1}}));
    collection.addFile("sets.xml", R"(<datafile><game name="bios" isbios="yes"><rom name="b.rom" size="4" crc="000000b1"/></game>
        <game name="alpha" romof="bios"><rom name="a.rom" size="4" crc="00000001"/><rom name="a2.rom" size="4" crc="00000002"/>
        <rom name="b.rom" merge="b.rom" size="4" crc="000000b1"/></game></datafile>)");
    controller().useDatFile(QString::fromStdString(collection.path("sets.xml")));
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    ASSERT_TRUE(QTest::qWaitFor([this] { return controller().session().identification() != nullptr; }, 20000));
    controller().pickCategory(0);
    const QAbstractItemModel* lines = controller().romsResultView()->model();
    const auto row = [lines](const char* name) {
        return lines->match(lines->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly).value(0);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return row("alpha.zip").data(Qt::ToolTipRole).isValid(); }, 20000));
    EXPECT_EQ(row("alpha.zip").data(ReportLines::FolderRole).toString(), "roms \u2014 set alpha: incorrect");
    EXPECT_EQ(row("alpha.zip").data(Qt::ToolTipRole).toString(),
              "set alpha, split: incorrect: 1 wrong\na2.rom: wrong: found 4 bytes, CRC 00000009; the DAT has 4 bytes, CRC 00000002");
    EXPECT_EQ(row("bios.zip").data(ReportLines::FolderRole).toString(), "roms");
    EXPECT_EQ(row("bios.zip").data(Qt::ToolTipRole).toString(), "set bios, split: correct");
}

// What the content says against a name is a notice of the ROM tab, and a DAT
// that cannot be used says where as it is chosen, before any audit too.
TEST_F(RepairsWindowTest, NoticesCarryWhatTheContentSays)
{
    makeCollection("Alpha (USA)\nBeta (USA)\n");
    collection.addFile("roms/Beta (USA).zip", zipBytes({{"a.rom", 4, 1}}));
    collection.addFile("roms/Alpha (USA).zip", "not a zip at all");
    collection.addFile("games.dat", "game ( name \"Alpha (USA)\" rom ( name a.rom size 4 crc 00000001 ) )\n"
                                    "game ( name \"Beta (USA)\" rom ( name b.rom size 4 crc 00000002 ) )\n");
    collection.addFile("cut.dat", "game ( name \"Alpha (USA)\" rom ( name a.rom size 4 crc 00000001 )");
    controller().useDatFile(QString::fromStdString(collection.path("cut.dat")));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !alert.shown.empty(); }, 20000));  // nothing audited yet
    EXPECT_EQ(alert.shown.back().messageText, "The DAT cannot be used");
    EXPECT_TRUE(alert.shown.back().informativeText.startsWith(QString::fromStdString(collection.path("cut.dat:1:"))))
        << alert.shown.back().informativeText.toStdString();

    controller().useDatFile(QString::fromStdString(collection.path("games.dat")));
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    NoticeArea* notice = controller().tab(AuditKind::Roms).noticeArea;
    ASSERT_TRUE(QTest::qWaitFor([notice] { return notice->text().contains("another game"); }, 20000));
    EXPECT_TRUE(notice->text().contains("\"Beta (USA).zip\" holds Alpha (USA)")) << notice->text().toStdString();
    EXPECT_TRUE(notice->text().contains("\"Alpha (USA).zip\" is not a zip")) << notice->text().toStdString();

    const size_t alerts = alert.shown.size();
    controller().useDatFile(QString::fromStdString(collection.path("cut.dat")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return alert.shown.size() > alerts; }, 20000));
    EXPECT_TRUE(notice->text().contains("Identification by content is off")) << notice->text().toStdString();
}

// A mistyped directory once took a fill into a folder it made there.
TEST_F(RepairsWindowTest, NothingIsChangedInADirectoryThatIsNoCollection)
{
    plantStrays();
    ASSERT_TRUE(waitForAudits());
    QToolButton* fill = window().findChild<QToolButton*>("romsFillButton");
    EXPECT_TRUE(fill->isEnabled());
    collection.addFile("elsewhere/readme.txt");
    for (const auto& [directory, why] : {std::pair{collection.path("col"), "does not exist"},
                                         std::pair{collection.path("elsewhere"), "holds none of the folders"}}) {
        controller().tokenadeDirPathTextField()->setText(QString::fromStdString(directory));
        EXPECT_FALSE(fill->isEnabled()) << "the result shown is of another directory";
        EXPECT_FALSE(fill->toolTip().isEmpty());
        controller().auditRoms();
        ASSERT_TRUE(waitForAudits());
        EXPECT_FALSE(fill->isEnabled()) << directory;
        EXPECT_TRUE(fill->toolTip().contains(why)) << fill->toolTip().toStdString();
    }
    EXPECT_FALSE(collection.exists("col"));
}

// Only what is selected goes, and only from a found category.
TEST_F(RepairsWindowTest, SetAsideMovesTheSelectedUnknownFileOnly)
{
    plantStrays();
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

// With a DAT of arcade sets, a set says which archive it lacks, and a BIOS
// off the list whom it is needed by, and stays when it is set aside.
TEST_F(RepairsWindowTest, ANeededBiosIsNotedAndStaysWhenSetAside)
{
    makeCollection("alpha\nbeta\n");
    collection.addFile("roms/alpha.zip", zipBytes({{"a.rom", 4, 1}}));
    collection.addFile("roms/beta.zip", zipBytes({{"b.rom", 4, 2}}));
    collection.addFile("roms/bios.zip", zipBytes({{"c.rom", 4, 3}}));
    collection.addFile("sets.xml", R"(<datafile><game name="bios" isbios="yes"><rom name="c.rom" size="4" crc="00000003"/></game>
        <game name="bios2" isbios="yes"><rom name="d.rom" size="4" crc="00000004"/></game>
        <game name="alpha" romof="bios"><rom name="a.rom" size="4" crc="00000001"/><rom name="c.rom" merge="c.rom" size="4" crc="00000003"/></game>
        <game name="beta" romof="bios2"><rom name="b.rom" size="4" crc="00000002"/><rom name="d.rom" merge="d.rom" size="4" crc="00000004"/></game></datafile>)");
    controller().useDatFile(QString::fromStdString(collection.path("sets.xml")));
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    ReportView* view = controller().romsResultView();
    const auto folderOf = [view](const char* name) {
        const QModelIndex row = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly).value(0);
        return row.data(ReportLines::FolderRole).toString();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return folderOf("beta.zip") != "roms"; }, 20000));
    EXPECT_EQ(folderOf("beta.zip"), "roms \u2014 needs bios2.zip (BIOS), missing");
    controller().pickCategory(2);
    EXPECT_EQ(folderOf("bios.zip"), "roms \u2014 holds bios, needed by 1 listed set");
    view->selectAll();
    view->setAsideAction()->trigger();
    EXPECT_EQ(alert.shown.at(0).informativeText, "roms/bios.zip stays: needed by 1 listed set");
}

}  // namespace
}  // namespace tokenade::testing
