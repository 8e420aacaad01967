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

#include <algorithm>
#include <cstdio>
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

// `text` with its %1, %2, ... filled in order.
template <class... A>
QString Say(const char* text, const A&... args)
{
    QString s = QString::fromUtf8(text);
    ((s = s.arg(args)), ...);
    return s;
}

QString Hex(QRgb p)
{
    return QStringLiteral("%1").arg(p, 8, 16, QLatin1Char('0'));
}

// Where two pictures of one size first differ by `amount`, and how.
QString FirstDifference(const QImage& got, const QImage& want, int amount)
{
    const QImage a = got.convertToFormat(QImage::Format_ARGB32);
    const QImage b = want.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))}) >=
                amount)
                return Say("(%1, %2): canvas %3, oracle %4", x, y, Hex(p), Hex(q));
        }
    return QStringLiteral("(sizes differ)");
}

// Replays the last good picture and this one on a fresh renderer, once with
// every shortcut and once with each shortcut off, and names the shortcuts
// whose absence brings the picture back to the literal one; then says which
// layers differ on a fresh whole redraw.
void Diagnose(const std::optional<std::pair<MapDocument, Scene>>& before, const MapDocument& map,
              const Scene& now, const QImage& expected)
{
    const auto replay = [&](RenderShortcuts shortcuts) {
        MapRenderer renderer(shortcuts);
        QImage canvas(expected.size(), QImage::Format_RGB32);
        if (before) {
            const auto& [was, scene] = *before;
            QImage last(CanvasSize(was, scene.zoom), QImage::Format_RGB32);
            renderer.Redraw(last, was, scene.layers, scene.zoom, scene.shadows, scene.drawshadows);
            if (last.size() == expected.size())
                canvas = last;
        }
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
    std::printf("diag: shortcut at fault: %s\n",
                all <= 1          ? "(not reproduced on a fresh renderer)"
                : fault.isEmpty() ? "none alone"
                                  : qUtf8Printable(fault.join(QStringLiteral(", "))));
    // clang-format off
    const struct { const char* name; bool floors, objects, walls, shadows; } layers[] = {
        {"as shown", now.layers.ShowFloorLayer, now.layers.ShowObjectLayer, now.layers.ShowWallLayer, now.drawshadows},
        {"walls only", false, false, true, true}, {"walls without shadows", false, false, true, false},
        {"no walls", now.layers.ShowFloorLayer, now.layers.ShowObjectLayer, false, true},
        {"floors and walls", true, false, true, true}, {"objects and walls", false, true, true, true},
    };
    // clang-format on
    std::printf("diag: fresh redraws against the oracle:");
    for (const auto& l : layers) {
        LayerSwitches s = now.layers;
        s.ShowFloorLayer = l.floors;
        s.ShowObjectLayer = l.objects;
        s.ShowWallLayer = l.walls;
        s.ShowGridLayer = s.ShowGridLayer && l.floors && l.objects;
        QImage a(expected.size(), QImage::Format_RGB32), b = a;
        halvorn::Redraw(a, map, s, now.zoom, now.shadows, l.shadows);
        oracle::LiteralRedraw(b, map, s, now.zoom, now.shadows, l.shadows);
        std::printf(" %s %d;", l.name, oracle::MaxChannelDifference(a, b));
    }
    std::printf(" shadows %g %d %d\n", static_cast<double>(now.shadows.ObjectShadowAlpha),
                now.shadows.ObjectShadowOffset, now.shadows.WallShadowAlpha);
}

int TotalRedraws(const frmMain& window)
{
    return window.RedrawCount(true) + window.RedrawCount(false);
}

} // namespace

InvariantChecker::InvariantChecker(const frmMain& window)
    : window_(window), whiteExpected_(TotalRedraws(window) == 0),
      redrawsAtWhite_(TotalRedraws(window))
{
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

void InvariantChecker::CheckMap(QStringList& out) const
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
    for (int x = 0; x < map.FloorColumns(); ++x)
        for (int y = 0; y < map.FloorRows(); ++y)
            if (!Loaded(map.FloorAt(x, y)))
                out << Say("floor (%1, %2) holds unknown picture %3", x, y, map.FloorAt(x, y));
    for (int x = 0; x < map.WallColumns(); ++x)
        for (int y = 0; y < map.WallRows(); ++y)
            if (!Loaded(map.WallAt(x, y)))
                out << Say("wall (%1, %2) holds unknown picture %3", x, y, map.WallAt(x, y));
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

void InvariantChecker::CheckView(QStringList& out) const
{
    const float zoom = window_.Zoom();
    const double z = static_cast<double>(zoom);
    if (zoom != 0.25f && zoom != 0.5f && zoom != 0.75f && zoom != 1.0f)
        out << Say("Zoom is %1", z);
    const auto* canvas = Child<MapCanvas>(window_, "Canvas");
    const QSize size = CanvasSize(window_.Map(), zoom);
    if (canvas->size() != size)
        out << Say("the canvas is %1 x %2 at zoom %3, not %4 x %5", canvas->width(),
                   canvas->height(), z, size.width(), size.height());
    const QList<QAction*> buttons = Child<QToolBar>(window_, "Toolbar1")->actions();
    const bool in = ZoomInEnabled(zoom), outOk = ZoomOutEnabled(zoom);
    if (Child<QAction>(window_, "mnuZoomIn")->isEnabled() != in ||
        buttons.value(6)->isEnabled() != in)
        out << Say("zoom in enabled does not match zoom %1", z);
    if (Child<QAction>(window_, "mnuZoomOut")->isEnabled() != outOk ||
        buttons.value(7)->isEnabled() != outOk)
        out << Say("zoom out enabled does not match zoom %1", z);
    if (PanelText(window_, "Panel1") != ZoomLevelText(zoom))
        out << Say("panel 1 reads \"%1\" at zoom %2", PanelText(window_, "Panel1"), z);

    const LayerSwitches& layers = window_.Layers();
    // clang-format off
    const struct { const char* item; bool on; } items[] = {
        {"mnuGridLayer", layers.ShowGridLayer}, {"mnuFloorLayer", layers.ShowFloorLayer},
        {"mnuObjectLayer", layers.ShowObjectLayer}, {"mnuWallLayer", layers.ShowWallLayer},
        {"mnuBackgroundLayer", layers.ShowBackgroundLayer},
    };
    // clang-format on
    for (const auto& i : items)
        if (Child<QAction>(window_, i.item)->isChecked() != i.on)
            out << Say("%1 check mark differs from its switch", QLatin1String(i.item));

    const auto* library = window_.findChild<TileLibraryPanel*>();
    const PaletteModel& model = library->Model();
    int open = 0;
    for (const BrushKind kind : {BrushKind::Floor, BrushKind::Wall, BrushKind::Object}) {
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
            out << Say("pane %1 lists %2 paths for %3 entries", k, library->PathsOf(kind).size(),
                       model.Count());
        // Until the listing arrives the canvas keeps its last height, so the
        // scroll value of the last opening holds.
        const int height = library->Pane(kind)->Canvas()->height();
        if (!model.IsListing() && height != PaletteCanvasHeight(kind, model.Count()))
            out << Say("pane %1 canvas is %2 high for %3 entries", k, height, model.Count());
        if (library->Pane(kind)->Canvas()->y() != -library->Pane(kind)->ScrollBar()->value())
            out << Say("pane %1 canvas top is not minus the scroll value", k);
    }
    if (open > 1)
        out << Say("%1 palette panes are open", open);
}

void InvariantChecker::CheckBrush(QStringList& out) const
{
    const Brush& b = window_.CurrentBrush();
    // clang-format off
    const struct { const char* kind; ImageHandle image; const QString& path; } kinds[] = {
        {"floor", b.FloorImage, b.FloorPath}, {"wall", b.WallImage, b.WallPath}, {"object", b.ObjectImage, b.ObjectPath},
    };
    // clang-format on
    for (const auto& k : kinds) {
        if (!Loaded(k.image))
            out << Say("the %1 brush holds unknown picture %2", QLatin1String(k.kind), k.image);
        if ((k.image == 0) != k.path.isEmpty())
            out << Say("the %1 brush has path \"%2\" and picture %3", QLatin1String(k.kind), k.path,
                       k.image);
    }
    if (b.ObjectImage != 0) {
        const QImage turned = OrientedImage(b.ObjectImage, b.ObjectOrientation);
        if (turned.width() != b.ObjectWidth || turned.height() != b.ObjectHeight)
            out << Say("the object brush is %1 x %2, its turned picture %3 x %4", b.ObjectWidth,
                       b.ObjectHeight, turned.width(), turned.height());
    }
    QString expected;
    if (b.Mode) {
        const QString& path = b.Mode == BrushKind::Floor  ? b.FloorPath
                              : b.Mode == BrushKind::Wall ? b.WallPath
                                                          : b.ObjectPath;
        expected = QStringLiteral("Mode = ") + ModeWord(*b.Mode) +
                   (path.isEmpty() ? QString() : Say(" (%1)", TileDisplayName(path)));
    }
    if (PanelText(window_, "Panel3") != expected)
        out << Say("panel 3 reads \"%1\", the brush says \"%2\"", PanelText(window_, "Panel3"),
                   expected);
}

void InvariantChecker::CheckSaved(const OperationFacts& facts, QStringList& out) const
{
    const bool saved = window_.Map().MapSaved;
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
    const bool floorTool = window_.CurrentBrush().Mode == BrushKind::Floor && facts.buttonPressed;
    if (!edited && facts.savedBefore && !saved && !floorTool && !facts.bothButtons)
        out << QStringLiteral("MapSaved became False without an edit");
}

void InvariantChecker::CheckPicture(QStringList& out)
{
    const QImage& picture = Child<MapCanvas>(window_, "Canvas")->Picture();
    const int redraws = TotalRedraws(window_);
    const QSize size = CanvasSize(window_.Map(), window_.Zoom());
    whiteExpected_ = whiteExpected_ && redraws == redrawsAtWhite_;
    if (whiteExpected_) {
        if (picture.size() != size) {
            out << Say("the white picture after File > New is %1 x %2, the canvas %3 x %4",
                       picture.width(), picture.height(), size.width(), size.height());
            return;
        }
        const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x)
                if (argb.pixel(x, y) != 0xffffffffu) {
                    out << Say("pixel (%1, %2) is %3 before the first redraw of a new map", x, y,
                               Hex(argb.pixel(x, y)));
                    return;
                }
        return;
    }
    const LayerSwitches& l = window_.Layers();
    const Scene scene{l, window_.Zoom(), CurrentShadowParams(), window_.LastRedrawShadows()};
    RenderInputs inputs{hostile::MapSnapshot::Of(window_.Map()),
                        {l.ShowGridLayer, l.ShowFloorLayer, l.ShowObjectLayer, l.ShowWallLayer,
                         l.ShowBackgroundLayer},
                        scene.zoom,
                        scene.shadows.ObjectShadowAlpha,
                        scene.shadows.ObjectShadowOffset,
                        scene.shadows.WallShadowAlpha,
                        scene.drawshadows,
                        picture.cacheKey(),
                        redraws};
    if (lastVerified_ == inputs)
        return;
    QImage expected(size, QImage::Format_RGB32);
    oracle::LiteralRedraw(expected, window_.Map(), l, scene.zoom, scene.shadows, scene.drawshadows);
    ++oracleDrawings_;
    const int difference = oracle::MaxChannelDifference(picture, expected);
    if (difference > 1) {
        out << Say("the canvas differs from the oracle by %1 of 255 at zoom %2, drawshadows %3, "
                   "first at %4",
                   difference, static_cast<double>(scene.zoom), scene.drawshadows,
                   FirstDifference(picture, expected, difference));
        // With HALVORN_MONKEY_DUMP naming a folder, both pictures are saved there.
        if (const QString folder = qEnvironmentVariable("HALVORN_MONKEY_DUMP"); !folder.isEmpty()) {
            static int serial = 0;
            ++serial;
            picture.save(Say("%1/%2-canvas.png", folder, serial));
            expected.save(Say("%1/%2-oracle.png", folder, serial));
        }
        if (qEnvironmentVariableIsSet("HALVORN_MONKEY_DIAG"))
            Diagnose(lastScene_, window_.Map(), scene, expected);
    }
    // A picture is judged once: an unchanged wrong one is not reported again.
    lastVerified_ = std::move(inputs);
    if (qEnvironmentVariableIsSet("HALVORN_MONKEY_DIAG"))
        lastScene_.emplace(window_.Map(), scene);
}

} // namespace monkey
