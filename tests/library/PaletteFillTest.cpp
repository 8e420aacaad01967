// Palettes of real library sizes: shown at once, filled by the workers while
// the user goes on, kept between openings only for unchanged files, and in
// the end exactly the picture of drawing every thumbnail one by one.
#include "GeneratedLibrary.h"
#include "PaletteSupport.h"
#include "PanelFixture.h"
#include "QStringPrint.h"

#include "library/PaletteLayout.h"
#include "library/TileListing.h"
#include "oracle/LiteralPalette.h"

#include <QAccessible>
#include <QFile>
#include <QScrollBar>

#include <unistd.h>

#include <chrono>

using namespace halvorn;
using testsupport::WritePng;

namespace {

constexpr auto Floor = BrushKind::Floor, Wall = BrushKind::Wall, Object = BrushKind::Object;

class PaletteFillTest : public paneltest::PanelTest {
protected:
    QString Folder(BrushKind kind) const
    {
        return GetSetting(QLatin1String(KindInfo(kind).settingKey), {});
    }
    static const char* BoxOf(BrushKind kind) { return KindInfo(kind).boxName; }
    QScrollBar* Bar(BrushKind kind) { return panel->Pane(kind)->ScrollBar(); }

    // `count` entries named t1.png ... as links to a few generated pictures:
    // the file system makes links far faster than files.
    void Links(BrushKind kind, int count, int distinct = 5)
    {
        const QString seeds = root.filePath(QStringLiteral("seeds"));
        QDir().mkpath(seeds);
        ASSERT_TRUE(hostile::WriteGeneratedLibrary(seeds, hostile::LibraryShape::Floors, distinct,
                                                   3, QStringLiteral("s")));
        for (int i = 1; i <= count; ++i) {
            const QByteArray from =
                QFile::encodeName(QStringLiteral("%1/s_%2.png").arg(seeds).arg(i % distinct + 1));
            const QByteArray to =
                QFile::encodeName(QStringLiteral("%1/t%2.png").arg(Folder(kind)).arg(i));
            ASSERT_EQ(::link(from.constData(), to.constData()), 0);
        }
    }

    // What the pane shows at scroll value `value`, left of its scroll bar,
    // against the literal palette of the same folder.
    void ExpectPaneIsLiteral(BrushKind kind, int value)
    {
        SCOPED_TRACE(testing::Message()
                     << "kind " << static_cast<int>(kind) << ", value " << value);
        PalettePane* pane = panel->Pane(kind);
        Bar(kind)->setValue(value);
        ASSERT_EQ(Bar(kind)->value(), value);
        const QColor background = pane->palette().color(QPalette::Dark);
        const oracle::LiteralPaletteImage literal =
            oracle::LiteralPalette(kind, ListTileFiles(Folder(kind)), background);
        ASSERT_EQ(panel->PathsOf(kind), literal.paths);
        const QImage shown = pane->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage expected = literal.canvas.convertToFormat(QImage::Format_ARGB32);
        int wrong = 0;
        for (int y = 0; y < PaletteFrameHeight; ++y)
            for (int x = 0; x < pane->ScrollBar()->x(); ++x) {
                const int canvasY = value + y;
                const QRgb want =
                    canvasY < expected.height() ? expected.pixel(x, canvasY) : background.rgba();
                if (shown.pixel(x, y) != want && wrong++ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex
                                  << shown.pixel(x, y) << " instead of " << want;
            }
        EXPECT_EQ(wrong, 0);
    }

    bool RowsInViewAreDone(BrushKind kind)
    {
        const CellRange view = panel->Pane(kind)->VisibleCells();
        for (int i = view.first; i < std::min(view.end, panel->Model().Count()); ++i)
            if (!panel->Model().IsConfirmed(i))
                return false;
        return true;
    }
};

} // namespace

TEST_F(PaletteFillTest, FilledPanesShowExactlyTheOneByOneDrawing)
{
    ASSERT_TRUE(hostile::WriteGeneratedLibrary(Folder(Floor), hostile::LibraryShape::Floors, 160,
                                               11, QStringLiteral("hex")));
    ASSERT_TRUE(hostile::WriteGeneratedLibrary(Folder(Wall), hostile::LibraryShape::Floors, 250, 12,
                                               QStringLiteral("w")));
    ASSERT_TRUE(hostile::WriteGeneratedLibrary(Folder(Object), hostile::LibraryShape::Objects, 160,
                                               13, QStringLiteral("prop")));
    // A few that are not pictures, at the top (made while opening) and
    // further down (found by the workers).
    for (const char* name : {"aaa_empty.png", "hex_5x.png", "prop_80x.png", "w_99x.png", "zzz.png"})
        for (BrushKind kind : AllBrushKinds)
            ASSERT_TRUE(testsupport::WriteBytes(
                Folder(kind) + u'/' + QLatin1String(name),
                QByteArray("not a picture").left(static_cast<int>(qstrlen(name)) % 7)));
    for (BrushKind kind : AllBrushKinds) {
        Click(BoxOf(kind));
        ASSERT_TRUE(testsupport::WaitUntilFilled(panel->Model()));
        const int maximum = Bar(kind)->maximum();
        ASSERT_GT(maximum, 300);
        for (int value : {0, 37, maximum - 1, maximum})
            ExpectPaneIsLiteral(kind, value);
    }
    // A picture changed, one removed, one added, one turned bad: the next
    // opening shows them, the thumbnails kept for the others notwithstanding.
    const QStringList floors = ListTileFiles(Folder(Floor));
    ASSERT_TRUE(QFile::remove(floors[1]) && WritePng(floors[1], 72, 72, QColor(0, 0, 255)));
    ASSERT_TRUE(QFile::remove(floors[2]));
    ASSERT_TRUE(WritePng(Folder(Floor) + QStringLiteral("/aab.png"), 72, 72, QColor(0, 255, 0)));
    ASSERT_TRUE(testsupport::WriteBytes(floors[3], "\x89PNG\r\n\x1a\n broken"));
    Click("FloorBox");
    ASSERT_TRUE(testsupport::WaitUntilFilled(panel->Model()));
    ExpectPaneIsLiteral(Floor, 0);
}

TEST_F(PaletteFillTest, TheCacheKeepsWithinItsBound)
{
    Links(Floor, 400);
    const std::size_t budgets[] = {0, 3888, 64 * 1024, ThumbnailCacheBytes};
    for (std::size_t budget : budgets) {
        SCOPED_TRACE(budget);
        PaletteModel model(nullptr, budget);
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(testsupport::FillPalette(model, Floor, Folder(Floor), Qt::gray));
            // The open palette has all its thumbnails whatever the cache keeps.
            EXPECT_TRUE(model.IsConfirmed(399));
            EXPECT_LE(model.Cache().Bytes(), budget);
            model.Close();
        }
    }
}

// Objects and floors have rows of 38 pixels, walls of 20; the bar's steps
// are in tests/library/PaletteTest.cpp.
TEST_F(PaletteFillTest, TenThousandComeRowsInViewFirstAreAllReachableAndTheWheelMovesThreeRows)
{
    Links(Object, 30);
    Links(Wall, 5000);
    Links(Floor, 10000);
    // The pane is there with its cells; the rows in view come first, the
    // rest after; far down while filling, those rows before the end of the list.
    Click("FloorBox");
    EXPECT_EQ(panel->PathsOf(BrushKind::Floor).size(), 10000);
    for (int value : {0, 50000}) {
        Bar(Floor)->setValue(value);
        ASSERT_TRUE(testsupport::WaitUntil([&] { return RowsInViewAreDone(Floor); }));
        EXPECT_FALSE(panel->Model().IsConfirmed(9999));
    }
    const int objectsEnd = 6 * 38 + 2 - 192, wallsEnd = 556 * 20 + 2 - 192, floorsEnd = 76002 - 192;
    // clang-format off
    const struct { const char* what; BrushKind kind; int from; QPoint angle, pixels; int to; } rows[] = {
        {"30, down from the top", Object, 0, {0, -120}, {}, objectsEnd}, {"5,000, down from the top", Wall, 0, {0, -120}, {}, 60},
        {"5,000, up at the top", Wall, 0, {0, 120}, {}, 0}, {"5,000, up from the end", Wall, wallsEnd, {0, 120}, {}, wallsEnd - 60},
        {"10,000, down from the top", Floor, 0, {0, -120}, {}, 114}, {"10,000, down at the end", Floor, floorsEnd, {0, -120}, {}, floorsEnd},
        {"10,000, down near the end", Floor, floorsEnd - 1, {0, -120}, {}, floorsEnd}, {"a third of a notch is a row", Floor, 1000, {0, -40}, {}, 1038},
        {"a touchpad's pixels", Floor, 1000, {0, -15}, {0, -7}, 1007}, {"a touchpad at the top", Floor, 3, {0, 15}, {0, 7}, 0},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        if (!panel->IsOpen(r.kind))
            Click(BoxOf(r.kind));
        Bar(r.kind)->setValue(r.from);
        testsupport::SendWheel(Canvas(r.kind), QPointF(5, 5), r.angle, {}, r.pixels);
        EXPECT_EQ(Bar(r.kind)->value(), r.to);
        EXPECT_EQ(Canvas(r.kind)->y(), -r.to);
    }
    QScrollBar* bar = Bar(Floor);
    // The last floor, row 1999 column 4: its name, its thumbnail where the cell is, its pick.
    ASSERT_TRUE(testsupport::WaitUntilFilled(panel->Model()));
    EXPECT_EQ(bar->maximum(), floorsEnd);
    bar->setValue(bar->maximum());
    const QPoint last(4 * 38 + 18, 1999 * 38 + 18);
    QTest::mouseMove(Canvas(Floor), last);
    EXPECT_EQ(Canvas(Floor)->toolTip(), QStringLiteral("t10000"));
    const QString lastPath = Folder(Floor) + QStringLiteral("/t10000.png");
    const QImage pane = panel->Pane(Floor)->grab().toImage();
    const QImage thumbnail = MakeThumbnail(Floor, lastPath, pane.pixelColor(0, 0));
    for (QPoint at : {QPoint(1, 1), QPoint(18, 18), QPoint(35, 35)})
        EXPECT_EQ(pane.pixelColor(4 * 38 + 1 + at.x(), 1999 * 38 + 1 + at.y() - bar->maximum()),
                  thumbnail.pixelColor(at));
    QTest::mousePress(Canvas(Floor), Qt::LeftButton, {}, last);
    EXPECT_EQ(brush.Paths[BrushKind::Floor], lastPath);
    EXPECT_FALSE(panel->IsOpen(Floor));
}

TEST_F(PaletteFillTest, APickOfAPictureNotYetReadThatProvesBadTakesItOut)
{
    Links(Floor, 3000);
    const QString bad = Folder(Floor) + QStringLiteral("/t2500.png");
    ASSERT_TRUE(QFile::remove(bad));
    ASSERT_TRUE(testsupport::WriteBytes(bad, "\x89PNG\r\n\x1a\n truncated"));
    Click("FloorBox");
    // Scrolled there and pressed before the event loop could bring the
    // workers' thumbnail of it (entry 2499: row 499, column 4).
    Bar(Floor)->setValue(499 * 38);
    ASSERT_FALSE(panel->Model().IsConfirmed(2499));
    const auto boxes = testsupport::AnswerBoxes(
        [&] {
            QTest::mousePress(Canvas(Floor), Qt::LeftButton, {},
                              QPoint(4 * 38 + 10, 499 * 38 + 10));
        },
        QMessageBox::Ok);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(panel->IsOpen(Floor));
    EXPECT_TRUE(brush.Paths[BrushKind::Floor].isEmpty());
    EXPECT_EQ(panel->PathsOf(BrushKind::Floor).size(), 2999);
    EXPECT_EQ(panel->PathsOf(BrushKind::Floor)[2499], Folder(Floor) + QStringLiteral("/t2501.png"));
    EXPECT_EQ(Canvas(Floor)->height(), 600 * 38 + 2);
    ASSERT_TRUE(testsupport::WaitUntilFilled(panel->Model()));
    EXPECT_EQ(panel->Model().Count(), 2999);
}

TEST_F(PaletteFillTest, TypingFindsAPictureByTheStartOfItsName)
{
    for (const char* name : {"9lives.png", "Ash.png", "brick.png", "Brick2.png", "floor.png",
                             "floor.v2.png", "moss 1.png", "x9.png"})
        Png("floors", QLatin1String(name), Qt::gray);
    Links(Floor, 3000); // t1 ... t3000, between "moss 1" and "x9"
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Click("FloorBox");
    auto* canvas = panel->Pane(Floor)->Canvas();
    auto* bar = panel->Pane(Floor)->ScrollBar();
    ASSERT_TRUE(canvas->hasFocus());
    ASSERT_TRUE(panel->Model().IsFilling());
    qint64 now = 0;
    canvas->SetFindClock([&now] { return now; });
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(canvas);
    const QRgb mark = canvas->palette().color(QPalette::Highlight).rgb();
    const auto framed = [&] {
        return canvas->grab(canvas->Grid().Cell(canvas->Current())).toImage().pixel(0, 0) == mark;
    };

    // Opened by the mouse: a text that finds nothing marks nothing either.
    QTest::keyClicks(canvas, QStringLiteral("q"));
    EXPECT_EQ(canvas->Current(), 0);
    EXPECT_FALSE(framed());

    // The pause in milliseconds since the key before; `key` is pressed when nothing is typed.
    // clang-format off
    const struct { const char* what; qint64 pause; const char* typed; Qt::Key key; Qt::KeyboardModifiers modifiers; const char* found; } rows[] = {
        {"while the pane fills", 1001, "t2999", {}, {}, "t2999"},
        {"after a pause, capitals match small letters", 1001, "BRICK2", {}, {}, "Brick2"},
        {"a pause starts anew", 1001, "f", {}, {}, "floor"},
        {"a dot is typed too", 0, "loor.", {}, {}, "floor.v2"},
        {"the extension is not shown, so not found", 0, "p", {}, {}, "floor.v2"},
        {"Backspace", 0, nullptr, Qt::Key_Backspace, {}, "floor.v2"},
        {"Backspace again", 1000, nullptr, Qt::Key_Backspace, {}, "floor"},
        {"a second exactly still extends", 1000, ".", {}, {}, "floor.v2"},
        {"Backspace after a pause", 1001, nullptr, Qt::Key_Backspace, {}, "floor.v2"},
        {"digits", 1001, "9", {}, {}, "9lives"},
        {"Shift makes a capital", 1001, nullptr, Qt::Key_X, Qt::ShiftModifier, "x9"},
        {"Ctrl makes a shortcut", 0, nullptr, Qt::Key_M, Qt::ControlModifier, "x9"},
        {"a name with a blank", 1001, "mos", {}, {}, "moss 1"},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        now += r.pause;
        if (r.typed)
            QTest::keyClicks(canvas, QLatin1String(r.typed));
        else
            QTest::keyClick(canvas, r.key, r.modifiers);
        EXPECT_EQ(canvas->ItemName(canvas->Current()), QLatin1String(r.found));
        const QRect cell = canvas->Grid().Cell(canvas->Current());
        EXPECT_GE(cell.top(), bar->value());
        EXPECT_LT(cell.bottom(), bar->value() + PaletteFrameHeight);
        EXPECT_TRUE(framed());
        ASSERT_NE(list->focusChild(), nullptr);
        EXPECT_EQ(list->focusChild()->text(QAccessible::Name), QLatin1String(r.found));
    }
    // Space keeps picking, in the middle of a text too.
    QTest::keyClick(canvas, Qt::Key_Space);
    EXPECT_FALSE(panel->IsOpen(Floor));
    EXPECT_EQ(brush.StatusText(), QStringLiteral("Mode = Tile (moss 1)"));
}

TEST_F(PaletteFillTest, SlowOrDeadStorageNeverHoldsTheWindow)
{
    // Calls on the floor folder wait 3 ms each, or until the end of the test
    // (a share whose server has gone); the other folders answer.
    Links(Floor, 300);
    Links(Wall, 1);
    testsupport::SlowFolder floors(Folder(Floor), std::chrono::milliseconds(3));
    for (const bool hangs : {false, true}) {
        SCOPED_TRACE(hangs ? "dead" : "slow");
        floors.Hold(hangs);
        panel->HidePalettes();
        // The pane is there at the click, empty, while the folder is read.
        QTest::mouseClick(Find<QWidget>("FloorBox"), Qt::LeftButton);
        EXPECT_TRUE(panel->IsOpen(Floor));
        EXPECT_TRUE(panel->Model().IsListing());
        // Keys are answered meanwhile.
        QTest::keyClick(Canvas(Floor), Qt::Key_Home);
        EXPECT_TRUE(panel->Pane(Floor)->Canvas()->Framed());
        QTest::keyClick(Canvas(Floor), Qt::Key_Escape);
        EXPECT_FALSE(panel->IsOpen(Floor));
        // Another box, and a second click that closes: at once.
        QTest::mouseClick(Find<QWidget>("FloorBox"), Qt::LeftButton);
        QTest::mouseClick(Find<QWidget>("WallBox"), Qt::LeftButton);
        EXPECT_FALSE(panel->IsOpen(Floor));
        ASSERT_TRUE(testsupport::WaitUntilFilled(panel->Model()));
        EXPECT_EQ(panel->PathsOf(BrushKind::Floor).size(), 1);
        QTest::mouseClick(Find<QWidget>("FloorBox"), Qt::LeftButton);
        QTest::mouseClick(Find<QWidget>("FloorBox"), Qt::LeftButton);
        EXPECT_FALSE(panel->IsOpen(Floor));
        if (!hangs) {
            // Slow storage: the pane fills, exactly as on a fast disk.
            Click("FloorBox");
            ASSERT_TRUE(testsupport::WaitUntilFilled(panel->Model()));
            ExpectPaneIsLiteral(Floor, 0);
        }
    }
    // The panel goes with threads still held in the dead folder's calls.
    panel.reset();
    EXPECT_TRUE(floors.Release());
}
