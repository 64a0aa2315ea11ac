#include "tests/support/window_fixture.h"

#include "gui/file_chooser.h"
#include "gui/report_lines.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace tokenade::testing {
namespace {

class UsableWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        launch();
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        makeCollection("delta\nalpha\nCharlie\necho\n");
        for (auto path : {"roms/ALPHA.zip", "roms/bravo.zip", "romsConsoles/charlie.ZIP", "roms16BitConsoles/x.zip"})
            collection.addFile(path);
        controller().auditRoms();
        ASSERT_TRUE(waitForAudits());
    }
    ReportView* view() { return controller().romsResultView(); }
};

// Ctrl+F, typing, Ctrl+2 for another category (the text stays), Esc; Ctrl+3 on a disabled segment.
TEST_F(UsableWindowTest, FilterAndCategoryKeysWorkOnTheShownTab)
{
    QTest::keyClick(view(), Qt::Key_F, Qt::ControlModifier);
    QLineEdit* field = controller().tab(AuditKind::Roms).filterField;
    ASSERT_EQ(QApplication::focusWidget(), field);
    QTest::keyClicks(field, "CHAR");
    EXPECT_EQ(romsText(), "Found 2 roms with valid filename:\nShowing 1 of 2 names that contain \u201CCHAR\u201D.\n\n"
                          "Charlie.zip");
    QTest::keyClick(field, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(romsText(), "Found 2 missing roms:\nShowing 0 of 2 names that contain \u201CCHAR\u201D.\n");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(romsText(), "Found 2 missing roms:\n\ndelta.zip\necho.zip");

    controller().tabView()->setCurrentIndex(1);
    controller().auditVideos();
    ASSERT_TRUE(waitForAudits());
    QTest::keyClick(&window(), Qt::Key_3, Qt::ControlModifier);  // extra videos: not while the box is off
    EXPECT_EQ(controller().videosResultControl()->selectedSegment(), 0);
    QTest::keyClick(&window(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(controller().videosResultControl()->selectedSegment(), 1);
}

// The valid name is the list's spelling; the full path is the file's own.
TEST_F(UsableWindowTest, FoundFilesShowTheirFolderAndCanBeCopiedOrOpened)
{
    const QModelIndex charlie = view()->model()->index(3, 0);
    EXPECT_EQ(charlie.data(Qt::AccessibleTextRole).toString(), "Charlie.zip, in romsConsoles");
    view()->setFocus();
    view()->setCurrentIndex(charlie);
    view()->selectionModel()->select(view()->model()->index(2, 0), QItemSelectionModel::Select);
    QTest::keyClick(view(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              collection.path("roms/ALPHA.zip") + "\n" + collection.path("romsConsoles/charlie.ZIP"));
    QTest::keyClick(view(), Qt::Key_Return);
    const QPoint alpha = view()->visualRect(view()->model()->index(2, 0)).center();
    QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, alpha);
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, alpha);
    EXPECT_EQ(browser.opened, std::vector<QUrl>({QUrl::fromLocalFile(QString::fromStdString(collection.path("romsConsoles"))),
                                           QUrl::fromLocalFile(QString::fromStdString(collection.path("roms")))}));
    ASSERT_EQ(alert.shown.size(), 2u);  // no file manager answered: the path is shown to be copied
    EXPECT_TRUE(alert.shown[0].informativeText.endsWith(QString::fromStdString(collection.path("romsConsoles"))));

    QTest::keyClick(&window(), Qt::Key_2, Qt::ControlModifier);  // missing names lie nowhere
    EXPECT_FALSE(view()->copyFullPathAction()->isEnabled());
    EXPECT_EQ(view()->model()->index(2, 0).data(Qt::AccessibleTextRole).toString(), "delta.zip");
}

// A filter's slices bring exact matches, which go above the loose ones,
// and loose ones, which go below: the lines must keep that order.
TEST(ReportLinesTest, LooseMatchesStayBelowTheExactOnesAsSlicesComeIn)
{
    auto result = std::make_shared<AuditResult>(AuditResult::empty(AuditKind::Roms));
    result->storage.emplace_back();
    for (const char* name : {"a.zip", "b.zip", "c.zip", "d.zip", "e.zip"}) {
        const std::string_view stored = result->storage.back().store(name);
        result->categories[1].entries.push_back({stored.data(), static_cast<uint32_t>(stored.size()), kNoFolder});
    }
    ReportLines lines;
    lines.showCategory({"Found 5 missing roms:", ""}, result, CategoryId::Missing);
    const std::vector<uint32_t> exact{1, 3}, loose{0, 4};
    lines.showOnly({"Found 5 missing roms:", ""}, std::span(exact).first(1), std::span(loose).first(1));
    lines.showMore({"Found 5 missing roms:", ""}, exact, loose);
    QStringList shown;
    for (int row = 2; row < lines.lineCount(); ++row)
        shown << lines.line(row);
    EXPECT_EQ(shown, QStringList({"b.zip", "d.zip", "a.zip", "e.zip"}));
}

// Kana take three bytes each but one wide letter's room on the screen.
TEST_F(UsableWindowTest, FolderColumnClearsTheWidestNameNotTheLongestInBytes)
{
    collection.addFile("roms/WWWWWWWWWWWWWWWW.zip");
    collection.addFile("roms/\xE3\x82\xB9\xE3\x83\xBC\xE3\x83\x91\xE3\x83\xBC"
                       "\xE3\x83\x9E\xE3\x83\xAA\xE3\x82\xAA\xE3\x83\xBC.zip");
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    QTest::keyClick(&window(), Qt::Key_3, Qt::ControlModifier);
    const int wide = view()->fontMetrics().horizontalAdvance("WWWWWWWWWWWWWWWW.zip");
    EXPECT_GT(static_cast<ReportLines*>(view()->model())->nameWidth(), wide);
}

// The list dropped first is replaced by the one found below the folder dropped after it.
TEST_F(UsableWindowTest, DroppedFolderOrListIsTakenAsIfChosen)
{
    TempTree other;
    for (auto file : {"docs/- Supported Games Lookup For Naming.txt", "notes.txt", "cover.png"})
        other.addFile(file);
    for (const auto& [path, accepted] : {std::pair{other.path("notes.txt"), true}, std::pair{other.root(), true},
                                         std::pair{other.path("cover.png"), false}}) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window(), &enter);
        EXPECT_EQ(enter.isAccepted(), accepted) << path;
        if (accepted)
            QApplication::sendEvent(&window(), &drop);
    }
    ASSERT_TRUE(waitForDiscovery());
    EXPECT_EQ(controller().tokenadeDirPathTextField()->text().toStdString(), other.root());
    EXPECT_EQ(controller().romsListPathTextField()->text().toStdString(),
              other.path("docs/- Supported Games Lookup For Naming.txt"));
}

TEST_F(UsableWindowTest, TabOrderRunsTopToBottomAndEveryControlHasAName)
{
    const QStringList expected = QString("tokenadeDirPathTextField selectTokenadeDirectoryButton romsListPathTextField "
                                         "selectRomsListFileButton tabView auditRomsButton romsResultControl "
                                         "romsFilterField romsResultView saveRomsResultButton "
                                         "auditVideosButton videosResultControl checkAvailableRomVideosOnly "
                                         "videosFilterField videosResultView saveVideosResultButton")
                                     .split(' ');
    QStringList order;
    QWidget* widget = controller().tokenadeDirPathTextField();
    do {
        const QString name = widget->objectName().startsWith("segment") ? widget->parent()->objectName()
                                                                          : widget->objectName();
        if ((widget->focusPolicy() & Qt::TabFocus) && expected.contains(name) && !order.contains(name))
            order << name;
        const QString accessible = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        EXPECT_FALSE(widget->focusPolicy() != Qt::NoFocus && accessible.isEmpty()) << name.toStdString();
        widget = widget->nextInFocusChain();
    } while (widget != controller().tokenadeDirPathTextField());
    EXPECT_EQ(order, expected);
}

// The desktop's chooser, offered files and folders, takes the folder it shows.
TEST(FileChooserTest, FilesOrFoldersTakesTheFolderShown)
{
    TempTree tree;
    tree.addFile("dats/a.dat");
    ChooserOptions options;
    options.canChooseDirectories = options.canChooseFiles = true;
    options.folderPrompt = "Use This Folder";
    options.startFolder = QString::fromStdString(tree.path("dats"));
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        const auto buttons = dialog->findChildren<QPushButton*>();
        const auto folder = std::find_if(buttons.begin(), buttons.end(), [](auto* one) { return one->text() == "Use This Folder"; });
        if (folder != buttons.end())
            (*folder)->click();
        else
            dialog->close();
    });
    EXPECT_EQ(QtFileChooser(nullptr).choose(options), QString::fromStdString(tree.path("dats")));
}

}  // namespace
}  // namespace tokenade::testing
