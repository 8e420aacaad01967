#include "Invariants.h"

#include "app/MapCanvas.h"
#include "app/frmMain.h"
#include "imaging/Imaging.h"
#include "library/Brush.h"
#include "library/PaletteLayout.h"
#include "library/TileLibraryPanel.h"
#include "library/TileName.h"
#include "map/Zoom.h"
#include "oracle/LiteralRenderer.h"
#include "render/Shortcuts.h"
#include "settings/ShadowSettings.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QToolBar>

#include <cstdio>

#include <algorithm>
#include <cstdlib>

namespace monkey {

using namespace halvorn;

namespace {

bool Loaded(ImageHandle h)
{
    return h == 0 || !ImageOf(h).isNull();
}

template <class T>
T* Child(const frmMain& w, const char* name)
{
    return w.findChild<T*>(QLatin1String(name));
}

QString PanelText(const frmMain& w, const char* name)
{
    const auto* label = Child<QLabel>(w, name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

// Where two pictures of one size first differ by `amount`, and how.
QString FirstDifference(const QImage& got, const QImage& want, int amount)
{
    const QImage a = got.convertToFormat(QImage::Format_ARGB32);
    const QImage b = want.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height() && y < b.height(); ++y)
        for (int x = 0; x < a.width() && x < b.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))}) >=
                amount)
                return QStringLiteral("(%1, %2): canvas %3, oracle %4")
                    .arg(x)
                    .arg(y)
                    .arg(p, 8, 16, QLatin1Char('0'))
                    .arg(q, 8, 16, QLatin1Char('0'));
        }
    return QStringLiteral("(sizes differ)");
}

// With HALVORN_MONKEY_DUMP naming a folder, both pictures of a mismatch are
// saved there for a look.
void DumpPictures(const QImage& canvas, const QImage& oracle)
{
    const QString folder = qEnvironmentVariable("HALVORN_MONKEY_DUMP");
    if (folder.isEmpty())
        return;
    static int serial = 0;
    ++serial;
    canvas.save(QStringLiteral("%1/%2-canvas.png").arg(folder).arg(serial));
    oracle.save(QStringLiteral("%1/%2-oracle.png").arg(folder).arg(serial));
}

// Replays the last good picture and this one on a fresh renderer, once with
// every shortcut and once with each shortcut off, and names the shortcuts
// whose absence brings the picture back to the literal one.
void DiagnoseShortcuts(const RenderInputs* before, const MapDocument* mapBefore,
                       const MapDocument& map, const RenderInputs& now, const QImage& expected)
{
    const auto replay = [&](RenderShortcuts shortcuts) {
        MapRenderer renderer(shortcuts);
        QImage canvas;
        if (before && mapBefore) {
            canvas = QImage(CanvasSize(*mapBefore, before->zoom), QImage::Format_RGB32);
            renderer.Redraw(canvas, *mapBefore, before->layers, before->zoom, before->shadows,
                            before->drawshadows);
        }
        if (canvas.size() != expected.size())
            canvas = QImage(expected.size(), QImage::Format_RGB32);
        renderer.Redraw(canvas, map, now.layers, now.zoom, now.shadows, now.drawshadows);
        return oracle::MaxChannelDifference(canvas, expected);
    };
    const int all = replay(RenderShortcuts());
    std::printf("diag: replayed %s: all shortcuts %d",
                before ? "from the last good picture" : "whole", all);
    QStringList fault;
    for (const Shortcut s : AllShortcuts) {
        const int without = replay(RenderShortcuts().Without(s));
        std::printf(", without %s %d", ShortcutName(s).data(), without);
        if (all > 1 && without <= 1)
            fault << QString::fromLatin1(ShortcutName(s).data());
    }
    std::printf(", all off %d\n", replay(RenderShortcuts::AllOff()));
    if (all <= 1)
        std::printf("diag: not reproduced on a fresh renderer\n");
    else
        std::printf("diag: shortcut at fault: %s\n",
                    fault.isEmpty() ? "none alone"
                                    : qUtf8Printable(fault.join(QStringLiteral(", "))));
}

} // namespace

bool RenderInputs::operator==(const RenderInputs& o) const
{
    return map == o.map && layers.ShowGridLayer == o.layers.ShowGridLayer &&
           layers.ShowFloorLayer == o.layers.ShowFloorLayer &&
           layers.ShowObjectLayer == o.layers.ShowObjectLayer &&
           layers.ShowWallLayer == o.layers.ShowWallLayer &&
           layers.ShowBackgroundLayer == o.layers.ShowBackgroundLayer && zoom == o.zoom &&
           shadows.ObjectShadowAlpha == o.shadows.ObjectShadowAlpha &&
           shadows.ObjectShadowOffset == o.shadows.ObjectShadowOffset &&
           shadows.WallShadowAlpha == o.shadows.WallShadowAlpha && drawshadows == o.drawshadows &&
           pictureKey == o.pictureKey && redraws == o.redraws;
}

int TotalRedraws(const frmMain& window)
{
    return window.RedrawCount(true) + window.RedrawCount(false);
}

InvariantChecker::InvariantChecker(const frmMain& window) : window_(window)
{
    redrawsAtWhite_ = TotalRedraws(window);
    whiteExpected_ = redrawsAtWhite_ == 0;
}

QStringList InvariantChecker::Check(const OperationFacts& facts, bool popupSeen)
{
    QStringList out;
    if (facts.newMapConfirmed) {
        whiteExpected_ = true;
        redrawsAtWhite_ = TotalRedraws(window_);
    }
    CheckMap(out);
    CheckView(out);
    CheckBrush(out);
    CheckSaved(facts, out);
    const int selected = window_.SelectedObject();
    if (selected != (popupSeen ? -1 : 0))
        out << QStringLiteral("SelectedObject is %1 outside a pop-up").arg(selected);
    if (QWidget* modal = QApplication::activeModalWidget())
        out << QStringLiteral("a modal window was left open: %1 \"%2\"")
                   .arg(QLatin1String(modal->metaObject()->className()), modal->windowTitle());
    if (QApplication::activePopupWidget())
        out << QStringLiteral("a pop-up menu was left open");
    CheckPicture(out);
    return out;
}

void InvariantChecker::CheckMap(QStringList& out) const
{
    const MapDocument& map = window_.Map();
    if (map.FloorColumns() != 16 || map.FloorRows() != 16)
        out << QStringLiteral("FloorMap is %1 x %2, not 16 x 16")
                   .arg(map.FloorColumns())
                   .arg(map.FloorRows());
    if (map.WallColumns() != 62 || map.WallRows() != 62)
        out << QStringLiteral("WallMap is %1 x %2, not 62 x 62")
                   .arg(map.WallColumns())
                   .arg(map.WallRows());
    const auto& objects = map.Objects();
    if (objects.empty()) {
        out << QStringLiteral("Objects has no free slot");
    } else {
        const PlacedObject& last = objects.back();
        if (last.Image != 0 || last.X != 0 || last.Y != 0 || last.Width != 0 || last.Height != 0)
            out << QStringLiteral("the last element of Objects is not a free slot");
    }
    for (int x = 0; x < map.FloorColumns(); ++x)
        for (int y = 0; y < map.FloorRows(); ++y)
            if (!Loaded(map.FloorAt(x, y)))
                out << QStringLiteral("floor (%1, %2) holds unknown picture %3")
                           .arg(x)
                           .arg(y)
                           .arg(map.FloorAt(x, y));
    for (int x = 0; x < map.WallColumns(); ++x)
        for (int y = 0; y < map.WallRows(); ++y)
            if (!Loaded(map.WallAt(x, y)))
                out << QStringLiteral("wall (%1, %2) holds unknown picture %3")
                           .arg(x)
                           .arg(y)
                           .arg(map.WallAt(x, y));
    for (size_t i = 0; i < objects.size(); ++i) {
        const PlacedObject& o = objects[i];
        if (!Loaded(o.Image))
            out << QStringLiteral("object %1 holds unknown picture %2").arg(i).arg(o.Image);
        if (o.orientation < 0 || o.orientation > 7)
            out << QStringLiteral("object %1 has orientation %2").arg(i).arg(o.orientation);
        if (o.Image != 0) {
            const QImage turned = OrientedImage(o.Image, o.orientation);
            if (turned.width() != o.Width || turned.height() != o.Height)
                out << QStringLiteral("object %1 is %2 x %3 but its turned picture is %4 x %5")
                           .arg(i)
                           .arg(o.Width)
                           .arg(o.Height)
                           .arg(turned.width())
                           .arg(turned.height());
        }
    }
}

void InvariantChecker::CheckView(QStringList& out) const
{
    const float zoom = window_.Zoom();
    if (zoom != 0.25f && zoom != 0.5f && zoom != 0.75f && zoom != 1.0f)
        out << QStringLiteral("Zoom is %1").arg(static_cast<double>(zoom));
    const auto* canvas = Child<MapCanvas>(window_, "Canvas");
    const QSize size = CanvasSize(window_.Map(), zoom);
    if (canvas->size() != size)
        out << QStringLiteral("the canvas is %1 x %2 at zoom %3, not %4 x %5")
                   .arg(canvas->width())
                   .arg(canvas->height())
                   .arg(static_cast<double>(zoom))
                   .arg(size.width())
                   .arg(size.height());
    const auto* toolbar = Child<QToolBar>(window_, "Toolbar1");
    const QList<QAction*> buttons = toolbar->actions();
    const bool in = ZoomInEnabled(zoom), outOk = ZoomOutEnabled(zoom);
    if (Child<QAction>(window_, "mnuZoomIn")->isEnabled() != in ||
        buttons.value(6)->isEnabled() != in)
        out << QStringLiteral("zoom in enabled does not match zoom %1")
                   .arg(static_cast<double>(zoom));
    if (Child<QAction>(window_, "mnuZoomOut")->isEnabled() != outOk ||
        buttons.value(7)->isEnabled() != outOk)
        out << QStringLiteral("zoom out enabled does not match zoom %1")
                   .arg(static_cast<double>(zoom));
    if (PanelText(window_, "Panel1") != ZoomLevelText(zoom))
        out << QStringLiteral("panel 1 reads \"%1\" at zoom %2")
                   .arg(PanelText(window_, "Panel1"))
                   .arg(static_cast<double>(zoom));

    const LayerSwitches& layers = window_.Layers();
    const struct {
        const char* item;
        bool on;
    } items[] = {{"mnuGridLayer", layers.ShowGridLayer},
                 {"mnuFloorLayer", layers.ShowFloorLayer},
                 {"mnuObjectLayer", layers.ShowObjectLayer},
                 {"mnuWallLayer", layers.ShowWallLayer},
                 {"mnuBackgroundLayer", layers.ShowBackgroundLayer}};
    for (const auto& i : items)
        if (Child<QAction>(window_, i.item)->isChecked() != i.on)
            out << QStringLiteral("%1 check mark differs from its switch")
                       .arg(QLatin1String(i.item));

    const auto* library = window_.findChild<TileLibraryPanel*>();
    int open = 0;
    for (const BrushKind kind : {BrushKind::Floor, BrushKind::Wall, BrushKind::Object})
        open += library->IsOpen(kind) ? 1 : 0;
    if (open > 1)
        out << QStringLiteral("%1 palette panes are open").arg(open);
    // The open pane shows its model's entries, filled or not, in as many rows.
    const PaletteModel& model = library->Model();
    for (const BrushKind kind : {BrushKind::Floor, BrushKind::Wall, BrushKind::Object}) {
        if (!library->IsOpen(kind))
            continue;
        if (!model.IsOpen() || model.Kind() != kind) {
            out << QStringLiteral("pane %1 is open without its entries")
                       .arg(static_cast<int>(kind));
            continue;
        }
        if (library->PathsOf(kind).size() != model.Count())
            out << QStringLiteral("pane %1 lists %2 paths for %3 entries")
                       .arg(static_cast<int>(kind))
                       .arg(library->PathsOf(kind).size())
                       .arg(model.Count());
        // Until the listing arrives the canvas keeps its last height, so the
        // scroll value of the last opening holds.
        const int height = library->Pane(kind)->Canvas()->height();
        if (!model.IsListing() && height != PaletteGrid::Of(kind).CanvasHeight(model.Count()))
            out << QStringLiteral("pane %1 canvas is %2 high for %3 entries")
                       .arg(static_cast<int>(kind))
                       .arg(height)
                       .arg(model.Count());
        if (library->Pane(kind)->Canvas()->y() != -library->Pane(kind)->ScrollBar()->value())
            out << QStringLiteral("pane %1 canvas top is not minus the scroll value")
                       .arg(static_cast<int>(kind));
    }
}

void InvariantChecker::CheckBrush(QStringList& out) const
{
    const Brush& b = window_.CurrentBrush();
    const struct {
        const char* kind;
        ImageHandle image;
        const QString& path;
    } kinds[] = {{"floor", b.FloorImage, b.Paths[BrushKind::Floor]},
                 {"wall", b.WallImage, b.Paths[BrushKind::Wall]},
                 {"object", b.ObjectImage, b.Paths[BrushKind::Object]}};
    for (const auto& k : kinds) {
        if (!Loaded(k.image))
            out << QStringLiteral("the %1 brush holds unknown picture %2")
                       .arg(QLatin1String(k.kind))
                       .arg(k.image);
        if ((k.image == 0) != k.path.isEmpty())
            out << QStringLiteral("the %1 brush has path \"%2\" and picture %3")
                       .arg(QLatin1String(k.kind), k.path)
                       .arg(k.image);
    }
    if (b.ObjectImage != 0) {
        const QImage turned = OrientedImage(b.ObjectImage, b.ObjectOrientation);
        if (turned.width() != b.ObjectWidth || turned.height() != b.ObjectHeight)
            out << QStringLiteral("the object brush is %1 x %2, its turned picture %3 x %4")
                       .arg(b.ObjectWidth)
                       .arg(b.ObjectHeight)
                       .arg(turned.width())
                       .arg(turned.height());
    }
    QString expected;
    if (b.Mode) {
        expected = QStringLiteral("Mode = ") + ModeWord(*b.Mode);
        const QString& path = b.Paths[*b.Mode];
        if (!path.isEmpty())
            expected += QStringLiteral(" (") + TileDisplayName(path) + QLatin1Char(')');
    }
    if (PanelText(window_, "Panel3") != expected)
        out << QStringLiteral("panel 3 reads \"%1\", the brush says \"%2\"")
                   .arg(PanelText(window_, "Panel3"), expected);
}

void InvariantChecker::CheckSaved(const OperationFacts& facts, QStringList& out) const
{
    const MapDocument& map = window_.Map();
    const bool saved = map.MapSaved;
    if (facts.saved) {
        if (!saved)
            out << QStringLiteral("MapSaved is False after Save");
        return;
    }
    if (!facts.canvasInput) {
        if (saved != facts.savedBefore)
            out << QStringLiteral("MapSaved changed from %1 without a canvas edit")
                       .arg(facts.savedBefore);
        return;
    }
    const hostile::MapSnapshot now = hostile::MapSnapshot::Of(map);
    const bool edited = now.floors != facts.mapBefore.floors ||
                        now.walls != facts.mapBefore.walls ||
                        now.objects.size() > facts.mapBefore.objects.size();
    if (edited && saved)
        out << QStringLiteral("MapSaved is True after a canvas edit");
    if (!facts.savedBefore && saved)
        out << QStringLiteral("MapSaved became True without Save");
    // A floor press writes its cell even with the value it holds.
    const bool floorTool = window_.CurrentBrush().Mode == BrushKind::Floor && facts.buttonPressed;
    // A wall painted by one button and erased by the other within one drag
    // leaves the map as it was, edited twice.
    if (!edited && facts.savedBefore && !saved && !floorTool && !facts.bothButtons)
        out << QStringLiteral("MapSaved became False without an edit");
}

void InvariantChecker::CheckPicture(QStringList& out)
{
    const auto* canvas = Child<MapCanvas>(window_, "Canvas");
    const QImage& picture = canvas->Picture();
    const int redraws = TotalRedraws(window_);
    if (whiteExpected_ && redraws != redrawsAtWhite_)
        whiteExpected_ = false;
    if (whiteExpected_) {
        ++whiteChecks_;
        const QSize size = CanvasSize(window_.Map(), window_.Zoom());
        if (picture.size() != size) {
            out << QStringLiteral(
                       "the white picture after File > New is %1 x %2, the canvas %3 x %4")
                       .arg(picture.width())
                       .arg(picture.height())
                       .arg(size.width())
                       .arg(size.height());
            return;
        }
        const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x)
                if (line[x] != 0xffffffffu) {
                    out << QStringLiteral(
                               "pixel (%1, %2) is %3 before the first redraw of a new map")
                               .arg(x)
                               .arg(y)
                               .arg(line[x], 8, 16, QLatin1Char('0'));
                    return;
                }
        }
        return;
    }
    RenderInputs inputs{hostile::MapSnapshot::Of(window_.Map()),
                        window_.Layers(),
                        window_.Zoom(),
                        CurrentShadowParams(),
                        window_.LastRedrawShadows(),
                        picture.cacheKey(),
                        redraws};
    if (lastVerified_ && *lastVerified_ == inputs)
        return;
    QImage expected(CanvasSize(window_.Map(), window_.Zoom()), QImage::Format_RGB32);
    oracle::LiteralRedraw(expected, window_.Map(), window_.Layers(), window_.Zoom(), inputs.shadows,
                          inputs.drawshadows);
    ++oracleDrawings_;
    const int difference = oracle::MaxChannelDifference(picture, expected);
    if (difference > 1) {
        out << QStringLiteral("the canvas differs from the oracle by %1 of 255 at zoom %2, "
                              "drawshadows %3, first at %4")
                   .arg(difference)
                   .arg(static_cast<double>(inputs.zoom))
                   .arg(inputs.drawshadows)
                   .arg(FirstDifference(picture, expected, difference));
        DumpPictures(picture, expected);
        if (qEnvironmentVariableIsSet("HALVORN_MONKEY_DIAG")) {
            DiagnoseShortcuts(lastVerified_ ? &*lastVerified_ : nullptr,
                              lastVerifiedMap_ ? &*lastVerifiedMap_ : nullptr, window_.Map(),
                              inputs, expected);
            const auto diff = [&](LayerSwitches l, bool sh) {
                QImage a(expected.size(), QImage::Format_RGB32), b = a;
                halvorn::Redraw(a, window_.Map(), l, window_.Zoom(), inputs.shadows, sh);
                oracle::LiteralRedraw(b, window_.Map(), l, window_.Zoom(), inputs.shadows, sh);
                return oracle::MaxChannelDifference(a, b);
            };
            LayerSwitches l = window_.Layers();
            std::printf("diag: fresh %d", diff(l, inputs.drawshadows));
            LayerSwitches w = l;
            w.ShowFloorLayer = false;
            w.ShowObjectLayer = false;
            w.ShowGridLayer = false;
            std::printf(", walls only %d, walls no shadows %d", diff(w, true), diff(w, false));
            LayerSwitches f = l;
            f.ShowWallLayer = false;
            std::printf(", no walls %d", diff(f, true));
            LayerSwitches fw = w;
            fw.ShowFloorLayer = true;
            std::printf(", floors+walls %d", diff(fw, true));
            LayerSwitches ow = w;
            ow.ShowObjectLayer = true;
            if (lastVerified_) {
                const hostile::MapSnapshot& was = lastVerified_->map;
                int floors = 0, walls = 0;
                for (size_t i = 0; i < was.floors.size(); ++i)
                    floors += was.floors[i] != inputs.map.floors[i] ? 1 : 0;
                for (size_t i = 0; i < was.walls.size(); ++i)
                    walls += was.walls[i] != inputs.map.walls[i] ? 1 : 0;
                std::printf(" [since the last check: %d floors, %d walls, objects %zu -> %zu, zoom "
                            "%g -> %g]",
                            floors, walls, was.objects.size(), inputs.map.objects.size(),
                            static_cast<double>(lastVerified_->zoom),
                            static_cast<double>(inputs.zoom));
                for (const PlacedObject& o : inputs.map.objects)
                    if (o.Image)
                        std::printf(" {%g,%g %dx%d o%d s%d}", static_cast<double>(o.X),
                                    static_cast<double>(o.Y), o.Width, o.Height, o.orientation,
                                    o.Shadow);
            }
            std::printf(", objects+walls %d; shadows %g %d %d\n", diff(ow, true),
                        static_cast<double>(inputs.shadows.ObjectShadowAlpha),
                        inputs.shadows.ObjectShadowOffset, inputs.shadows.WallShadowAlpha);
        }
    }
    // A picture is judged once: an unchanged wrong one is not reported again.
    lastVerified_ = std::move(inputs);
    if (qEnvironmentVariableIsSet("HALVORN_MONKEY_DIAG"))
        lastVerifiedMap_ = window_.Map();
}

} // namespace monkey
