// The status line as the user reads it: whole texts, panels that stay put.
#include "AppFixture.h"

#include "library/TileLibraryPanel.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QTextDocument>

namespace apptest {

namespace {

// The lowest row with ink (dark pixels) in columns [left, right), or -1.
int LowestInk(const QImage& image, int left, int right)
{
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = std::max(0, left); x < std::min(right, image.width()); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return y;
    return -1;
}

// The text a label shows, as the user reads it.
QString Shown(const QLabel* label)
{
    if (label->textFormat() == Qt::PlainText ||
        (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text())))
        return label->text();
    QTextDocument html;
    html.setHtml(label->text());
    return html.toPlainText();
}

} // namespace

TEST_F(AppFixture, PictureNamesShowAsPlainTextInTheTooltipStatusLineAndList)
{
    // clang-format off
    const struct { const char* file; const char* shown; } rows[] = {
        {"<b>bold.png", "<b>bold"},
        {"two\nlines.png", "two\uFFFDlines"},
    };
    // clang-format on
    for (const auto& r : rows)
        testsupport::WritePng(dir.filePath(QStringLiteral("Floors/") + QString::fromUtf8(r.file)),
                              72, 72, Qt::darkGreen);
    auto* canvas = Find<PaletteCanvas>("FloorSelectCanvas");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.shown);
        const QString shown = QString::fromUtf8(r.shown);
        QTest::mouseClick(Find("FloorBox"), Qt::LeftButton, {}, QPoint(10, 10));
        Settle();
        const int index = static_cast<int>(
            window->findChild<TileLibraryPanel*>()
                ->PathsOf(BrushKind::Floor)
                .indexOf(dir.filePath(QStringLiteral("Floors/") + QString::fromUtf8(r.file))));
        ASSERT_GE(index, 0);
        const QPoint cell = canvas->Grid().Cell(index).center();
        QTest::mouseMove(canvas, cell);
        QHelpEvent help(QEvent::ToolTip, cell, canvas->mapToGlobal(cell));
        QApplication::sendEvent(canvas, &help);
        const auto* tip = qobject_cast<QLabel*>([] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
                    return w;
            return static_cast<QWidget*>(nullptr);
        }());
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(Shown(tip), shown);
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(canvas);
        EXPECT_EQ(list->child(index)->text(QAccessible::Name), shown);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, cell);
        EXPECT_EQ(Shown(Find<QLabel>("Panel3")), QStringLiteral("Mode = Tile (") + shown + u')');
    }
}

TEST_F(AppFixture, StatusLineShowsDescendersAndKeepsItsPanelsInPlace)
{
    testsupport::WritePng(dir.filePath(QStringLiteral("Objects/jg_300x50.png")), 30, 10,
                          Qt::yellow);
    Pick(BrushKind::Object, 1); // after "box"
    const QString text = QStringLiteral("Mode = Object (jg_300x50)");
    ASSERT_EQ(Panel("Panel3"), text);

    QWidget* bar = Find("StatusBar1");
    // At the bottom, at least as high as designed.
    EXPECT_EQ(bar->geometry().bottom(), window->ClientArea()->height() - 1);
    EXPECT_GE(bar->height(), 17);

    // The same text drawn with nothing to clip it tells how deep "j", "g"
    // and "_" reach below the baseline of its first letter, a capital; the
    // bar must show them as deep.
    auto* panel = Find<QLabel>("Panel3");
    const QFontMetrics metrics(panel->font());
    const int first = metrics.horizontalAdvance(text.left(1)),
              all = metrics.horizontalAdvance(text);
    QImage free(all + 8, metrics.height() * 2, QImage::Format_RGB32);
    free.fill(Qt::white);
    {
        QPainter p(&free);
        p.setFont(panel->font());
        p.drawText(QPointF(4, metrics.height()), text);
    }
    const auto depth = [&](const QImage& image, int x) {
        return LowestInk(image, x, x + all) - LowestInk(image, x, x + first);
    };
    ASSERT_GT(depth(free, 4), 0);
    EXPECT_EQ(depth(bar->grab().toImage(), panel->mapTo(bar, panel->contentsRect().topLeft()).x()),
              depth(free, 4));

    // The panels keep their places when the zoom text changes: 75 %, 50 %,
    // 25 % and back in again.
    const auto* zoomPanel = Find<QLabel>("Panel1");
    const int zoomWidth = zoomPanel->width(), modeLeft = panel->x();
    for (const char* step : {"mnuZoomOut", "mnuZoomOut", "mnuZoomOut", "mnuZoomIn"}) {
        Action(step)->trigger();
        QApplication::processEvents(); // the bar lays its panels out again
        SCOPED_TRACE(Panel("Panel1").toStdString());
        EXPECT_EQ(zoomPanel->width(), zoomWidth);
        EXPECT_EQ(panel->x(), modeLeft);
        EXPECT_LE(zoomPanel->sizeHint().width(), zoomPanel->width()); // the whole text shows
    }
}

} // namespace apptest
