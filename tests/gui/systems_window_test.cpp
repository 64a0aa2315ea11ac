#include "tests/support/window_fixture.h"

#include "gui/systems/system_bars_view.h"

#include <QImage>
#include <QTest>

namespace tokenade::testing {
namespace {

// Four systems: a rom folder, one of its subfolders and two consoles, with
// games missing and archives off the list.
class SystemsWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        launch();
        window().resize(1280, 800);
        window().show();
        makeCollection("alpha\nbravo\ncharlie\ndelta\necho\nfoxtrot\n");
        for (const char* file : {"roms/alpha.zip", "roms/shooters/bravo.zip", "roms/shooters/zulu.zip",
                                 "romsConsoles/Genesis/charlie.zip", "romsConsoles/Genesis/delta.zip",
                                 "romsConsoles/SNES/yankee.zip"})
            collection.addFile(file);
        controller().auditRoms();
        ASSERT_TRUE(waitForAudits());
        bars = window().findChild<SystemBarsView*>("romsSystemBars");
    }
    const BarPart& part(const std::string& system, SystemCount count)
    {
        for (const BarPart& one : bars->layout().parts) {
            if (bars->table().systems[one.row].name == system && one.count == count)
                return one;
        }
        ADD_FAILURE() << system << " has no part for count " << int(count);
        return bars->layout().parts.front();
    }
    void click(const BarPart& one) { QTest::mouseClick(bars, Qt::LeftButton, {}, one.rect.center().toPoint()); }
    int shownSegment() { return controller().romsResultControl()->selectedSegment(); }

    SystemBarsView* bars = nullptr;
};

TEST_F(SystemsWindowTest, FourSystemsGetABarEachAndAClickListsTheNamesOfAPart)
{
    std::vector<std::string> rows;
    for (const SystemCounts& row : bars->table().systems)
        rows.push_back(row.name + " " + std::to_string(row[SystemCount::Valid]) + "/" +
                       std::to_string(row[SystemCount::Unknown]));
    EXPECT_EQ(rows, (std::vector<std::string>{"roms 1/0", "roms/shooters 1/1", "romsConsoles/Genesis 2/0",
                                              "romsConsoles/SNES 0/1", " 4/2"}));
    EXPECT_EQ(part("", SystemCount::Missing).value, 2u);
    EXPECT_TRUE(part("romsConsoles/Genesis", SystemCount::Valid).rect.width() >
                part("roms/shooters", SystemCount::Valid).rect.width());  // 2 of 2 against 1 of 2

    click(part("romsConsoles/Genesis", SystemCount::Valid));
    EXPECT_EQ(shownSegment(), 0);
    EXPECT_EQ(romsText(), "Found 4 roms with valid filename:\nShowing 2 of 4 names of romsConsoles/Genesis.\n\n"
                          "charlie.zip\ndelta.zip");
    controller().tab(AuditKind::Roms).filterField->setText("delta");  // the text narrows the system further
    EXPECT_TRUE(romsText().endsWith("Showing 1 of 4 names of romsConsoles/Genesis that contain \u201Cdelta\u201D.\n\n"
                                    "delta.zip"))
        << romsText().toStdString();
    controller().tab(AuditKind::Roms).filterField->clear();

    click(part("", SystemCount::Missing));  // the whole collection: every missing name
    EXPECT_EQ(shownSegment(), 1);
    EXPECT_EQ(romsText(), "Found 2 missing roms:\n\necho.zip\nfoxtrot.zip");
    click(part("romsConsoles/SNES", SystemCount::Unknown));
    EXPECT_TRUE(romsText().endsWith("names of romsConsoles/SNES.\n\nyankee.zip")) << romsText().toStdString();
    controller().pickCategory(0);  // Ctrl+1, then back with Ctrl+3: all of it
    controller().pickCategory(2);
    EXPECT_TRUE(romsText().endsWith("\n\nyankee.zip\nzulu.zip"));
    click(part("romsConsoles/SNES", SystemCount::Unknown));
    controller().didClickRomsResultControl();  // the segment clicked again shows all of it too
    EXPECT_TRUE(romsText().endsWith("\n\nyankee.zip\nzulu.zip"));

    collection.addFile("roms/echo.zip");  // a new audit, new bars: the old positions are dropped
    controller().auditRoms();
    ASSERT_TRUE(waitForAudits());
    EXPECT_EQ(part("roms", SystemCount::Valid).value, 2u);
    EXPECT_TRUE(romsText().endsWith("\n\nyankee.zip\nzulu.zip"));
}

// Once the archives are identified against a DAT, the bars are by DAT, made
// on a job, and a DAT's missing part lists the missing games it knows.
TEST_F(SystemsWindowTest, WithADatTheBarsAreByDatAndAPartListsItsGames)
{
    collection.addFile("games.dat", "game ( name echo rom ( name e.rom size 4 crc 00000005 ) )\n"
                                    "game ( name foxtrot rom ( name f.rom size 4 crc 00000006 ) )\n");
    controller().datPathTextField()->setText(QString::fromStdString(collection.path("games.dat")));
    ASSERT_TRUE(QTest::qWaitFor([this] { return controller().session().identification() != nullptr; }, 20000));
    ASSERT_TRUE(waitForAudits());
    ASSERT_TRUE(bars->table().byDat);
    EXPECT_EQ(bars->table().systems.size(), 3u);  // the DAT, no DAT, the whole collection
    click(part(bars->table().systems[0].name, SystemCount::Missing));
    EXPECT_TRUE(romsText().endsWith("names of the DAT \u201Cgames\u201D.\n\necho.zip\nfoxtrot.zip"))
        << romsText().toStdString();
}

TEST_F(SystemsWindowTest, ExportsWriteWhatIsShownAndNeverIntoTheCollection)
{
    chooser.answers.push_back(QString::fromStdString(out.path("bars")));
    bars->exportPngAction()->trigger();
    EXPECT_EQ(chooser.asked.back().allowedFileTypes, QStringList{"png"});
    const QImage written(QString::fromStdString(out.path("bars.png")));  // the extension is added
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32),
              bars->grab().toImage().convertToFormat(QImage::Format_RGB32));

    chooser.answers.push_back(QString::fromStdString(out.path("bars.svg")));
    bars->exportSvgAction()->trigger();
    const std::string svg = out.read("bars.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("romsConsoles/Genesis"), std::string::npos);
    EXPECT_EQ(chooser.asked.back().startFolder.toStdString(), out.root());
    EXPECT_TRUE(alert.shown.empty());

    chooser.answers.push_back(QString::fromStdString(collection.path("roms/bars.png")));
    bars->exportPngAction()->trigger();
    ASSERT_EQ(alert.shown.size(), 1u);
    EXPECT_TRUE(alert.shown[0].informativeText.contains("inside the collection"));
    EXPECT_FALSE(collection.exists("roms/bars.png"));
}

// Tab reaches the bars from the results, the arrows move along the parts
// and Enter shows the names of the current one.
TEST_F(SystemsWindowTest, KeysReachTheBarsAndShowAPart)
{
    controller().romsResultView()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), bars);
    EXPECT_EQ(bars->currentPart(), 0u);  // the whole collection's valid part
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(bars, key);
    ASSERT_TRUE(bars->currentPart());
    const BarPart& current = bars->layout().parts[*bars->currentPart()];
    EXPECT_EQ(bars->table().systems[current.row].name, "romsConsoles/Genesis");
    EXPECT_TRUE(bars->accessibleDescription().contains("2 valid of 2 names"))
        << bars->accessibleDescription().toStdString();
    QTest::keyClick(bars, Qt::Key_Return);
    EXPECT_TRUE(romsText().contains("names of romsConsoles/Genesis."));
}

// The bars' parts stand out from a light and a dark background, and their
// numbers from the parts; titles take the palette's text.
TEST_F(SystemsWindowTest, BarsReadOnALightAndADarkPalette)
{
    const auto contrast = contrastRatio;
    for (const SystemColumn& column : kSystemColumns) {
        const QColor colour = partColour(column.count);
        EXPECT_GE(contrast(colour, Qt::white), 1.8) << column.key;
        EXPECT_GE(contrast(colour, QColor(35, 35, 35)), 1.8) << column.key;
        EXPECT_GE(contrast(colour, numberColourOn(colour)), 3.0) << column.key;
    }
    QPalette dark(QColor(53, 53, 53), QColor(35, 35, 35));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    bars->setPalette(dark);
    const QImage shot = bars->grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(35, 35, 35));
    const QRect title = bars->layout().titles.front().rect.toAlignedRect();
    int light = 0;
    for (int x = title.left(); x < title.left() + 40; ++x)
        light += shot.pixelColor(x, title.center().y()).lightness() > 150;
    EXPECT_GT(light, 0);
}

}  // namespace
}  // namespace tokenade::testing
