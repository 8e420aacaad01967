// What must hold after every operation the monkey makes, checked against
// the real main window and the literal renderer's picture of its map.
#pragma once

#include "MapSnapshot.h"

#include "app/MapCanvas.h"
#include "app/frmMain.h"
#include "imaging/Imaging.h"
#include "library/Brush.h"
#include "library/PaletteLayout.h"
#include "library/PalettePane.h"
#include "library/TileLibraryPanel.h"
#include "library/TileName.h"
#include "map/LayerSwitches.h"
#include "map/Zoom.h"
#include "oracle/LiteralRenderer.h"
#include "render/Renderer.h"
#include "settings/ShadowSettings.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QToolBar>

#include <array>
#include <optional>
#include <tuple>
#include <utility>

namespace monkey {

using namespace halvorn;

// What the monkey knows about the operation it just made.
struct OperationFacts {
    bool canvasInput = false;   // mouse input on the map canvas
    bool buttonPressed = false; // ... with a button
    bool bothButtons = false;   // ... and the other one pressed too: one may undo the other
    bool saved = false;         // the Save command ran
    bool newMapConfirmed = false;
    bool savedBefore = true;
    hostile::MapSnapshot mapBefore;
};

// `text` with its %1, %2, ... filled in order.
template <class... A>
QString Say(const char* text, const A&... args)
{
    QString s = QString::fromUtf8(text);
    ((s = s.arg(args)), ...);
    return s;
}

class InvariantChecker {
public:
    explicit InvariantChecker(const frmMain& window)
        : window_(window), whiteExpected_(Redraws() == 0), redrawsAtWhite_(Redraws())
    {
    }

    // The broken invariants, one text each; empty when all hold.
    QStringList Check(const OperationFacts& facts, bool popupSeen)
    {
        QStringList out;
        if (facts.newMapConfirmed) {
            whiteExpected_ = true;
            redrawsAtWhite_ = Redraws();
        }
        CheckMap(out);
        CheckView(out);
        CheckBrush(out);
        CheckSaved(facts, out);
        if (window_.SelectedObject() != (popupSeen ? -1 : 0))
            out << Say("SelectedObject is %1 outside a pop-up", window_.SelectedObject());
        if (QWidget* modal = QApplication::activeModalWidget())
            out << Say("a modal window was left open: %1 \"%2\"",
                       QLatin1String(modal->metaObject()->className()), modal->windowTitle());
        if (QApplication::activePopupWidget())
            out << QStringLiteral("a pop-up menu was left open");
        CheckPicture(out);
        return out;
    }

private:
    int Redraws() const { return window_.RedrawCount(true) + window_.RedrawCount(false); }
    template <class T>
    T* Child(const char* name) const
    {
        return window_.findChild<T*>(QLatin1String(name));
    }
    QString Panel(const char* name) const
    {
        const auto* label = Child<QLabel>(name);
        return label ? label->text() : Say("<no %1>", QLatin1String(name));
    }
    static bool Loaded(ImageHandle h) { return h == 0 || !ImageOf(h).isNull(); }

    void CheckMap(QStringList& out) const
    {
        const MapDocument& map = window_.Map();
        if (map.FloorColumns() != 16 || map.FloorRows() != 16)
            out << Say("FloorMap is %1 x %2, not 16 x 16", map.FloorColumns(), map.FloorRows());
        if (map.WallColumns() != 62 || map.WallRows() != 62)
            out << Say("WallMap is %1 x %2, not 62 x 62", map.WallColumns(), map.WallRows());
        const auto& objects = map.Objects();
        if (objects.empty())
            out << QStringLiteral("Objects has no free slot");
        else if (const PlacedObject& l = objects.back();
                 l.Image != 0 || l.X != 0 || l.Y != 0 || l.Width != 0 || l.Height != 0)
            out << QStringLiteral("the last element of Objects is not a free slot");
        // Column by column, as the snapshot holds them.
        const hostile::MapSnapshot cells = hostile::MapSnapshot::Of(map);
        for (const auto& [kind, held, rows] : {std::tuple{"floor", &cells.floors, map.FloorRows()},
                                               std::tuple{"wall", &cells.walls, map.WallRows()}})
            for (size_t i = 0; i < held->size(); ++i)
                if (!Loaded((*held)[i]))
                    out << Say("%1 (%2, %3) holds unknown picture %4", QLatin1String(kind),
                               i / size_t(rows), i % size_t(rows), (*held)[i]);
        for (size_t i = 0; i < objects.size(); ++i) {
            const PlacedObject& o = objects[i];
            if (!Loaded(o.Image))
                out << Say("object %1 holds unknown picture %2", i, o.Image);
            if (o.orientation < 0 || o.orientation > 7)
                out << Say("object %1 has orientation %2", i, o.orientation);
            if (o.Image == 0)
                continue;
            const QImage turned = OrientedImage(o.Image, o.orientation);
            if (turned.width() != o.Width || turned.height() != o.Height)
                out << Say("object %1 is %2 x %3 but its turned picture is %4 x %5", i, o.Width,
                           o.Height, turned.width(), turned.height());
        }
    }

    void CheckView(QStringList& out) const
    {
        const float zoom = window_.Zoom();
        const double z = static_cast<double>(zoom);
        if (zoom != 0.25f && zoom != 0.5f && zoom != 0.75f && zoom != 1.0f)
            out << Say("Zoom is %1", z);
        const auto* canvas = Child<MapCanvas>("Canvas");
        if (const QSize size = CanvasSize(window_.Map(), zoom); canvas->size() != size)
            out << Say("the canvas is %1 x %2 at zoom %3, not %4 x %5", canvas->width(),
                       canvas->height(), z, size.width(), size.height());
        const QList<QAction*> buttons = Child<QToolBar>("Toolbar1")->actions();
        const bool in = ZoomInEnabled(zoom), outOk = ZoomOutEnabled(zoom);
        if (Child<QAction>("mnuZoomIn")->isEnabled() != in || buttons.value(6)->isEnabled() != in)
            out << Say("zoom in enabled does not match zoom %1", z);
        if (Child<QAction>("mnuZoomOut")->isEnabled() != outOk ||
            buttons.value(7)->isEnabled() != outOk)
            out << Say("zoom out enabled does not match zoom %1", z);
        if (Panel("Panel1") != ZoomLevelText(zoom))
            out << Say("panel 1 reads \"%1\" at zoom %2", Panel("Panel1"), z);

        const LayerSwitches& layers = window_.Layers();
        // clang-format off
        const struct { const char* item; bool on; } items[] = {
            {"mnuGridLayer", layers.ShowGridLayer}, {"mnuFloorLayer", layers.ShowFloorLayer}, {"mnuObjectLayer", layers.ShowObjectLayer},
            {"mnuWallLayer", layers.ShowWallLayer}, {"mnuBackgroundLayer", layers.ShowBackgroundLayer},
        };
        // clang-format on
        for (const auto& i : items)
            if (Child<QAction>(i.item)->isChecked() != i.on)
                out << Say("%1 check mark differs from its switch", QLatin1String(i.item));

        const auto* library = window_.findChild<TileLibraryPanel*>();
        const PaletteModel& model = library->Model();
        int open = 0;
        for (const BrushKind kind : AllBrushKinds) {
            if (!library->IsOpen(kind))
                continue;
            ++open;
            // The open pane shows its model's entries, filled or not, in as many rows.
            const int k = static_cast<int>(kind);
            if (!model.IsOpen() || model.Kind() != kind) {
                out << Say("pane %1 is open without its entries", k);
                continue;
            }
            if (library->PathsOf(kind).size() != model.Count())
                out << Say("pane %1 lists %2 paths for %3 entries", k,
                           library->PathsOf(kind).size(), model.Count());
            // Until the listing arrives the canvas keeps its last height, so the
            // scroll value of the last opening holds.
            const PalettePane* pane = library->Pane(kind);
            const int height = pane->Canvas()->height();
            if (!model.IsListing() && height != PaletteGrid::Of(kind).CanvasHeight(model.Count()))
                out << Say("pane %1 canvas is %2 high for %3 entries", k, height, model.Count());
            if (pane->Canvas()->y() != -pane->ScrollBar()->value())
                out << Say("pane %1 canvas top is not minus the scroll value", k);
        }
        if (open > 1)
            out << Say("%1 palette panes are open", open);
    }

    void CheckBrush(QStringList& out) const
    {
        const Brush& b = window_.CurrentBrush();
        // clang-format off
        const struct { const char* kind; ImageHandle image; const QString& path; } kinds[] = {
            {"floor", b.FloorImage, b.Paths[BrushKind::Floor]}, {"wall", b.WallImage, b.Paths[BrushKind::Wall]}, {"object", b.ObjectImage, b.Paths[BrushKind::Object]},
        };
        // clang-format on
        for (const auto& k : kinds) {
            if (!Loaded(k.image))
                out << Say("the %1 brush holds unknown picture %2", QLatin1String(k.kind), k.image);
            if ((k.image == 0) != k.path.isEmpty())
                out << Say("the %1 brush has path \"%2\" and picture %3", QLatin1String(k.kind),
                           k.path, k.image);
        }
        if (b.ObjectImage != 0) {
            const QImage turned = OrientedImage(b.ObjectImage, b.ObjectOrientation);
            if (turned.width() != b.ObjectWidth || turned.height() != b.ObjectHeight)
                out << Say("the object brush is %1 x %2, its turned picture %3 x %4", b.ObjectWidth,
                           b.ObjectHeight, turned.width(), turned.height());
        }
        QString expected;
        if (b.Mode) {
            const QString& path = kinds[static_cast<int>(*b.Mode)].path;
            expected = QStringLiteral("Mode = ") + ModeWord(*b.Mode) +
                       (path.isEmpty() ? QString() : Say(" (%1)", TileDisplayName(path)));
        }
        if (Panel("Panel3") != expected)
            out << Say("panel 3 reads \"%1\", the brush says \"%2\"", Panel("Panel3"), expected);
    }

    void CheckSaved(const OperationFacts& facts, QStringList& out) const
    {
        const bool saved = window_.Map().MapSaved();
        if (facts.saved) {
            if (!saved)
                out << QStringLiteral("MapSaved is False after Save");
            return;
        }
        if (!facts.canvasInput) {
            if (saved != facts.savedBefore)
                out << Say("MapSaved changed from %1 without a canvas edit", facts.savedBefore);
            return;
        }
        const hostile::MapSnapshot now = hostile::MapSnapshot::Of(window_.Map());
        const bool edited = now.floors != facts.mapBefore.floors ||
                            now.walls != facts.mapBefore.walls ||
                            now.objects.size() > facts.mapBefore.objects.size();
        if (edited && saved)
            out << QStringLiteral("MapSaved is True after a canvas edit");
        if (!facts.savedBefore && saved)
            out << QStringLiteral("MapSaved became True without Save");
        // A floor press writes its cell even with the value it holds; a wall
        // painted by one button and erased by the other within one drag leaves
        // the map as it was, edited twice.
        const bool floorTool =
            window_.CurrentBrush().Mode == BrushKind::Floor && facts.buttonPressed;
        if (!edited && facts.savedBefore && !saved && !floorTool && !facts.bothButtons)
            out << QStringLiteral("MapSaved became False without an edit");
    }

    // The canvas is white until the first redraw of a new map, and from then
    // on the literal renderer's picture of the map, to 1 of 255 per channel.
    void CheckPicture(QStringList& out)
    {
        const QImage& picture = Child<MapCanvas>("Canvas")->Picture();
        const int redraws = Redraws();
        const QSize size = CanvasSize(window_.Map(), window_.Zoom());
        whiteExpected_ = whiteExpected_ && redraws == redrawsAtWhite_;
        if (whiteExpected_) {
            QImage white(size, QImage::Format_ARGB32);
            white.fill(Qt::white);
            if (picture.convertToFormat(QImage::Format_ARGB32) != white)
                out << Say("the picture before the first redraw of a new map is %1 x %2 and not "
                           "all white; the canvas is %3 x %4",
                           picture.width(), picture.height(), size.width(), size.height());
            return;
        }
        const LayerSwitches& l = window_.Layers();
        const float zoom = window_.Zoom();
        const ShadowParams shadows = CurrentShadowParams();
        const bool drawshadows = window_.LastRedrawShadows();
        const std::array<bool, 5> switches{l.ShowGridLayer, l.ShowFloorLayer, l.ShowObjectLayer,
                                           l.ShowWallLayer, l.ShowBackgroundLayer};
        RenderInputs inputs(hostile::MapSnapshot::Of(window_.Map()), switches, zoom,
                            shadows.ObjectShadowAlpha, shadows.ObjectShadowOffset,
                            shadows.WallShadowAlpha, drawshadows, picture.cacheKey(), redraws);
        if (lastVerified_ == inputs)
            return;
        QImage expected(size, QImage::Format_RGB32);
        oracle::LiteralRedraw(expected, window_.Map(), l, zoom, shadows, drawshadows);
        if (const int difference = oracle::MaxChannelDifference(picture, expected);
            difference > 1) {
            out << Say("the canvas differs from the oracle by %1 of 255 at zoom %2, drawshadows %3",
                       difference, static_cast<double>(zoom), drawshadows);
            // With HALVORN_MONKEY_DUMP naming a folder, both pictures are saved there.
            if (const QString folder = qEnvironmentVariable("HALVORN_MONKEY_DUMP");
                !folder.isEmpty()) {
                static int serial = 0;
                ++serial;
                picture.save(Say("%1/%2-canvas.png", folder, serial));
                expected.save(Say("%1/%2-oracle.png", folder, serial));
            }
        }
        // A picture is judged once: an unchanged wrong one is not reported again.
        lastVerified_ = std::move(inputs);
    }

    // The picture inputs last checked against the oracle: the map, the five
    // layer switches, zoom, three shadow values, drawshadows, the picture's
    // key and the redraw count. An unchanged set needs no second drawing.
    using RenderInputs = std::tuple<hostile::MapSnapshot, std::array<bool, 5>, float, float, int,
                                    int, bool, qint64, int>;

    const frmMain& window_;
    bool whiteExpected_ = true; // until the first redraw, and after File > New
    int redrawsAtWhite_ = 0;
    std::optional<RenderInputs> lastVerified_;
};

} // namespace monkey
