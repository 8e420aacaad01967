// halvorn3-monkey --ops N --seed S [--verbose]
// The monkey: a seeded random user of the real main window, headless. Each
// operation is one thing a user does (a click, a drag, a command with its
// dialog answered); after each one every invariant is checked. Ends with the
// line "ops: N, seed: S, violations: V"; the exit status is 0 only when V is 0.
#include "GeneratedLibrary.h"
#include "HostileCorpus.h"
#include "MapSnapshot.h"
#include "ProcessMemory.h"

#include "PaletteSupport.h"
#include "TestSupport.h"
#include "app/HalvornApplication.h"
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
#include "render/Shortcuts.h"
#include "settings/SettingsStore.h"
#include "settings/ShadowSettings.h"
#include "settings/frmOptions.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

#include <QKeySequence>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <tuple>
#include <utility>

namespace monkey {

using namespace halvorn;
using hostile::PngColour;

namespace {

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

// What a picture is drawn from, besides the map.
struct Scene {
    LayerSwitches layers;
    float zoom = 0;
    ShadowParams shadows;
    bool drawshadows = false;
};

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

// What must hold after every operation the monkey makes, checked against
// the real main window and the oracle's picture of its map.
class InvariantChecker {
public:
    explicit InvariantChecker(const frmMain& window)
        : window_(window), whiteExpected_(TotalRedraws(window) == 0),
          redrawsAtWhite_(TotalRedraws(window))
    {
    }

    // The broken invariants, one text each; empty when all hold.
    QStringList Check(const OperationFacts& facts, bool popupSeen)
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
    int OracleDrawings() const { return oracleDrawings_; }

private:
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

    void CheckView(QStringList& out) const
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
                out << Say("pane %1 lists %2 paths for %3 entries", k,
                           library->PathsOf(kind).size(), model.Count());
            // Until the listing arrives the canvas keeps its last height, so the
            // scroll value of the last opening holds.
            const int height = library->Pane(kind)->Canvas()->height();
            if (!model.IsListing() && height != PaletteGrid::Of(kind).CanvasHeight(model.Count()))
                out << Say("pane %1 canvas is %2 high for %3 entries", k, height, model.Count());
            if (library->Pane(kind)->Canvas()->y() != -library->Pane(kind)->ScrollBar()->value())
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
            const QString& path = b.Mode == BrushKind::Floor  ? b.Paths[BrushKind::Floor]
                                  : b.Mode == BrushKind::Wall ? b.Paths[BrushKind::Wall]
                                                              : b.Paths[BrushKind::Object];
            expected = QStringLiteral("Mode = ") + ModeWord(*b.Mode) +
                       (path.isEmpty() ? QString() : Say(" (%1)", TileDisplayName(path)));
        }
        if (PanelText(window_, "Panel3") != expected)
            out << Say("panel 3 reads \"%1\", the brush says \"%2\"", PanelText(window_, "Panel3"),
                       expected);
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

    void CheckPicture(QStringList& out)
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
                        out << Say("pixel (%1, %2) is %3 before the first redraw of a new map", x,
                                   y, Hex(argb.pixel(x, y)));
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
        oracle::LiteralRedraw(expected, window_.Map(), l, scene.zoom, scene.shadows,
                              scene.drawshadows);
        ++oracleDrawings_;
        const int difference = oracle::MaxChannelDifference(picture, expected);
        if (difference > 1) {
            out << Say(
                "the canvas differs from the oracle by %1 of 255 at zoom %2, drawshadows %3, "
                "first at %4",
                difference, static_cast<double>(scene.zoom), scene.drawshadows,
                FirstDifference(picture, expected, difference));
            // With HALVORN_MONKEY_DUMP naming a folder, both pictures are saved there.
            if (const QString folder = qEnvironmentVariable("HALVORN_MONKEY_DUMP");
                !folder.isEmpty()) {
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

    // The picture inputs last checked against the oracle: the map, the five
    // layer switches, zoom, three shadow values, drawshadows, the picture's
    // key and the redraw count. An unchanged set needs no second drawing.
    using RenderInputs = std::tuple<hostile::MapSnapshot, std::array<bool, 5>, float, float, int,
                                    int, bool, qint64, int>;

    const frmMain& window_;
    bool whiteExpected_ = true; // until the first redraw, and after File > New
    int redrawsAtWhite_ = 0;
    std::optional<RenderInputs> lastVerified_;
    // The map and scene of that picture, kept in diagnostic mode to replay it.
    std::optional<std::pair<MapDocument, Scene>> lastScene_;
    int oracleDrawings_ = 0;
};

// The files the monkey works with, all in one temporary folder: small tile
// sets of every picture layout, a folder of hostile pictures, thousands of
// generated pictures with unreadable ones among them, a folder for exports.
class World {
public:
    World()
    {
        for (const char* sub : {"Floors", "Walls", "Objects", "Hostile", "Library", "Exports"})
            QDir(root_.path()).mkdir(QLatin1String(sub));
        // Every layout the loader must read, with and without alpha, in the
        // sizes each kind meets: whole cells, smaller and larger ones, and
        // objects far from square, so that turning them shows.
        // clang-format off
        const struct { const char* path; int w, h; hostile::PngLayout layout; bool alpha; } tiles[] = {
            {"Floors/stone.png", 72, 72, {PngColour::Rgb, 8, false}, false},
            {"Floors/moss.png", 72, 72, {PngColour::Palette, 8, false}, false},
            {"Floors/holes.png", 72, 72, {PngColour::Rgba, 8, true}, true},
            {"Floors/grey16.png", 72, 72, {PngColour::Grey, 16, false}, false},
            {"Floors/small.png", 30, 30, {PngColour::Rgba, 16, false}, true},
            {"Walls/brick.png", 18, 18, {PngColour::Rgb, 8, false}, false},
            {"Walls/rubble.png", 18, 18, {PngColour::Palette, 8, false}, true},
            {"Walls/big.png", 36, 30, {PngColour::GreyAlpha, 8, true}, true},
            {"Objects/box.png", 40, 20, {PngColour::Rgb, 8, false}, false},
            {"Objects/table.png", 100, 40, {PngColour::Rgba, 8, false}, true},
            {"Objects/pillar.png", 13, 57, {PngColour::Palette, 8, true}, true},
            {"Objects/banner.png", 300, 50, {PngColour::Rgba, 16, true}, true},
            {"Objects/rug.png", 72, 72, {PngColour::GreyAlpha, 16, false}, true},
        };
        // clang-format on
        uint32_t variant = 0;
        for (const auto& t : tiles)
            Write(
                QLatin1String(t.path),
                hostile::EncodePng(hostile::SourcePicture(t.w, t.h, t.alpha, variant++), t.layout));
        hostile::WriteCorpus(Path("Hostile"), {7, 24, 97, true});
        hostile::WriteGeneratedLibrary(Path("Library"), hostile::LibraryShape::Floors, 1500, 5,
                                       QStringLiteral("hex"));
        hostile::WriteGeneratedLibrary(Path("Library"), hostile::LibraryShape::Objects, 500, 6,
                                       QStringLiteral("prop"));
        // Unreadable ones at the top, in the middle and at the end of the list.
        for (const char* name : {"aaa.png", "hex_700x.png", "prop_250x.png", "zzz.png"})
            Write(QStringLiteral("Library/") + QLatin1String(name), "\x89PNG\r\n\x1a\n damaged");
        // An export name that is a folder, and a file where a folder is expected.
        QDir(Path("Exports")).mkdir(QStringLiteral("folder.png"));
        Write(QStringLiteral("Exports/plain-file"), "not a folder");
    }
    bool IsValid() const { return root_.isValid(); }
    QString Path(const char* sub) const { return root_.filePath(QString::fromUtf8(sub)); }

    // Texts for the shadow fields: numbers at and past every bound, and
    // things that only look like numbers.
    static const QStringList& HostileNumbers()
    {
        static const QStringList texts = [] {
            QStringList t;
            // clang-format off
            for (const char* s : {"", " ", "   ", "\t7\n", "0", "-0", "40", "5", "32", "7", "100", "100.0000001",
                                  "255", "256", "-1", "-3", "+5", "+-3", "32767", "32768", "-32768", "-32769",
                                  "99999999999999999999", "1e308", "-1e308", "1e999", "1e-400", "1.5e1", ".5",
                                  "5.", "e5", "1e", "NaN", "nan", "inf", "-Infinity", "0x10", "12abc", "abc",
                                  "3,5", "1,000", "1 2",
                                  // Arabic-Indic three, full-width five, minus sign and five, five and no-break space
                                  "\xd9\xa3", "\xef\xbc\x95", "\xe2\x88\x92" "5", "5\xc2\xa0"})
                // clang-format on
                t << QString::fromUtf8(s);
            return t << QString(10000, QLatin1Char('9')) << QString(10000, QLatin1Char('a'))
                     << QStringLiteral("1") + QString(9999, QLatin1Char('0'));
        }();
        return texts;
    }
    // Folder texts: the real sets, the hostile folder, missing folders,
    // files, and texts that are no path at all.
    QStringList FolderTexts() const
    {
        return {Path("Floors"),
                Path("Walls"),
                Path("Objects"),
                Path("Hostile"),
                Path("Hostile"),
                Path("Library"),
                Path("Library"),
                Path("missing"),
                Path("Exports/plain-file"),
                Path("Floors/stone.png"),
                QString(),
                QStringLiteral("   "),
                Path("Floors/"),
                QString(10000, QLatin1Char('x')),
                QString::fromUtf8("/nirgends/\xc3\xa4\xc3\xb6\xc3\xbc")};
    }
    // Where an export may be asked to go: new and existing names, and paths
    // that cannot be written.
    QStringList ExportPaths() const
    {
        QStringList paths;
        for (const char* name : {"map.png", "map.jpg", "map", ".hidden.png", "folder.png",
                                 "missing/map.png", "plain-file/map.png"})
            paths << Path("Exports") + QLatin1Char('/') + QLatin1String(name);
        return paths;
    }

private:
    void Write(const QString& relative, const QByteArray& bytes)
    {
        QFile f(root_.filePath(relative));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    hostile::CorpusDir root_;
};

// The seeded random choices of one run, shared by the operations and the
// answers to their windows.
class Dice {
public:
    explicit Dice(uint64_t seed) : random_(seed) {}
    int Below(int n) { return static_cast<int>(random_() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T>
    const T& OneOf(const QList<T>& list)
    {
        return list[Below(static_cast<int>(list.size()))];
    }

private:
    std::mt19937_64 random_;
};

QString Short(const QString& text)
{
    return text.left(90).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// Answers every modal window and pop-up menu the program opens while the
// monkey works, the way a user might: each kind of window has its own random
// script (Options gets hostile texts, the export dialog paths that cannot be
// written, ...). What it answered is kept for the monkey's checks.
class Answerer {
public:
    Answerer(Dice& dice, const World& world) : dice_(dice), world_(world)
    {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Tick(); });
        timer_.start();
    }
    // The answers given since the last call, as "title|text -> answer".
    QStringList TakeRecord() { return std::exchange(record_, {}); }
    bool PopupSeen() const { return popupSeen_; }

private:
    static constexpr int GiveUpRound = 4; // Options still open after this many answers is closed

    void Tick()
    {
        QWidget* popup = QApplication::activePopupWidget();
        QWidget* target = popup ? popup : QApplication::activeModalWidget();
        if (!target || target->property("monkeyBusy").toBool())
            return;
        const int round = target->property("monkeyRounds").toInt();
        target->setProperty("monkeyRounds", round + 1);
        target->setProperty("monkeyBusy", true);
        // Acted on from the window's own event loop, not from this timer: an
        // answer may open another window, which this timer must then answer.
        const QPointer<QWidget> guard(target);
        QTimer::singleShot(0, target, [this, guard, round] {
            Act(guard, round);
            if (guard)
                guard->setProperty("monkeyBusy", false);
        });
    }

    void Act(QWidget* target, int round)
    {
        if (auto* menu = qobject_cast<QMenu*>(target))
            return AnswerPopup(menu, round);
        if (auto* box = qobject_cast<QMessageBox*>(target))
            return AnswerBox(box);
        if (auto* options = qobject_cast<frmOptions*>(target))
            return AnswerOptions(options, round);
        if (auto* print = qobject_cast<QPrintDialog*>(target))
            return AnswerPrint(print, round);
        if (auto* files = qobject_cast<QFileDialog*>(target))
            return files->objectName() == QLatin1String("dlgBrowseFolder")
                       ? AnswerBrowse(files, round)
                       : AnswerExport(files, round);
        record_ << target->windowTitle() + QStringLiteral(" -> closed");
        if (round == 0 && dice_.Chance(50))
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 20)); // About closes so
        else if (round == 0)
            QTest::keyClick(target, Qt::Key_Escape);
        else if (auto* dialog = qobject_cast<QDialog*>(target))
            dialog->reject();
        else
            target->close();
    }

    void AnswerPopup(QMenu* menu, int round)
    {
        popupSeen_ = true;
        QList<QAction*> items;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isEnabled())
                items << a;
        if (round >= 1 || items.isEmpty()) {
            menu->close();
            record_ << QStringLiteral("popup -> closed");
        } else if (dice_.Chance(20)) {
            QTest::keyClick(menu, Qt::Key_Escape);
            record_ << QStringLiteral("popup -> Escape");
        } else {
            QAction* item = dice_.OneOf(items);
            record_ << QStringLiteral("popup -> ") + item->objectName();
            menu->setActiveAction(item);
            QTest::keyClick(menu, Qt::Key_Return);
        }
    }

    void AnswerBox(QMessageBox* box)
    {
        const bool question = box->button(QMessageBox::Yes) && box->button(QMessageBox::No);
        const bool yes = question && dice_.Chance(50);
        const char* answer = !question ? "OK" : yes ? "Yes" : "No";
        record_ << box->windowTitle() + QLatin1Char('|') + Short(box->text()) +
                       QStringLiteral(" -> ") + QLatin1String(answer);
        QAbstractButton* button = testsupport::AnswerButton(*box, !question ? QMessageBox::NoButton
                                                                  : yes     ? QMessageBox::Yes
                                                                            : QMessageBox::No);
        if (!question && dice_.Chance(30))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (button)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            box->reject();
    }

    // Typed key by key; pasted when long, as nobody types ten thousand
    // digits, or entered through an input method beyond a keyboard's keys.
    static void Type(QWidget* field, const QString& text)
    {
        auto* edit = qobject_cast<QLineEdit*>(field);
        if (!edit)
            return;
        const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() >= 0x20 && c.unicode() < 0x7f;
        });
        edit->setFocus();
        edit->selectAll();
        if (text.size() > 40 || !ascii)
            edit->insert(text);
        else if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    void AnswerOptions(frmOptions* dialog, int round)
    {
        const auto find = [dialog](const char* name) {
            return dialog->findChild<QWidget*>(QLatin1String(name));
        };
        if (round >= GiveUpRound) {
            record_ << QStringLiteral("Options -> Cancel (gave up)");
            QTest::mouseClick(find("cmdCancel"), Qt::LeftButton);
            return;
        }
        for (const char* field : {"TextObjectShadowTransparency", "TextObjectShadowDistance",
                                  "TextWallShadowTransparency", "TextWallShadowDistance"})
            if (dice_.Chance(35))
                Type(find(field), dice_.OneOf(World::HostileNumbers()));
        // clang-format off
        const struct { const char* field; QString own; } folders[] = {
            {"TextTilesFileLocation", world_.Path("Floors")}, {"TextWallsFileLocation", world_.Path("Walls")}, {"TextObjectsFileLocation", world_.Path("Objects")},
        };
        // clang-format on
        for (const auto& f : folders)
            if (dice_.Chance(12))
                Type(find(f.field), dice_.Chance(40) ? f.own : dice_.OneOf(world_.FolderTexts()));
        if (dice_.Chance(15))
            QTest::mouseClick(find("Check1"), Qt::LeftButton, {}, QPoint(5, 5));
        if (dice_.Chance(15))
            QTest::mouseClick(find("btnDefaultShadow"), Qt::LeftButton);
        if (dice_.Chance(6)) {
            const char* browse[] = {"btnBrowseFloorsWallsFileLocation",
                                    "btnBrowseObjectsFileLocation", "btnBrowseWallsFileLocation"};
            QTest::mouseClick(find(browse[dice_.Below(3)]), Qt::LeftButton);
        }
        const int way = dice_.Below(100);
        const char* button = way < 35 ? "OK" : way < 55 ? "Apply" : way < 75 ? "Cancel" : nullptr;
        if (button) {
            record_ << QStringLiteral("Options -> ") + QLatin1String(button);
            QTest::mouseClick(find((std::string("cmd") + button).c_str()), Qt::LeftButton);
        } else {
            record_ << (way < 90 ? QStringLiteral("Options -> Escape")
                                 : QStringLiteral("Options -> Enter"));
            QTest::keyClick(dialog, way < 90 ? Qt::Key_Escape : Qt::Key_Return);
        }
    }

    // A file or print dialog is cancelled when asked again, or by chance.
    bool Cancelled(QDialog* dialog, int round, int percent, const char* name)
    {
        if (round < 1 && !dice_.Chance(percent))
            return false;
        record_ << QLatin1String(name) + QStringLiteral(" -> Cancel");
        dialog->reject();
        return true;
    }

    void AnswerExport(QFileDialog* dialog, int round)
    {
        if (Cancelled(dialog, round, 20, "Export"))
            return;
        const QStringList filters = dialog->nameFilters();
        const QString filter = filters.isEmpty() ? QString() : dice_.OneOf(filters);
        const QString path = dice_.OneOf(world_.ExportPaths());
        record_ << QStringLiteral("Export -> ") + filter + QLatin1Char(' ') + path;
        dialog->selectNameFilter(filter);
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        else
            dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // the file dialog's own accept runs
    }

    void AnswerBrowse(QFileDialog* dialog, int round)
    {
        if (Cancelled(dialog, round, 50, "Browse"))
            return;
        const QString folder =
            dice_.OneOf(QStringList{world_.Path("Floors"), world_.Path("Walls"),
                                    world_.Path("Objects"), world_.Path("Hostile")});
        record_ << QStringLiteral("Browse -> ") + folder;
        dialog->setDirectory(folder);
        dialog->selectFile(folder);
        static_cast<QDialog*>(dialog)->accept();
    }

    void AnswerPrint(QPrintDialog* dialog, int round)
    {
        if (Cancelled(dialog, round, 40, "Print"))
            return;
        const QString pdf =
            world_.Path(dice_.Chance(85) ? "Exports/map.pdf" : "Exports/missing/map.pdf");
        record_ << QStringLiteral("Print -> ") + pdf;
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        // Accepted as the dialog's own OK would, without its check of the file.
        dialog->done(QDialog::Accepted);
    }

    Dice& dice_;
    const World& world_;
    QTimer timer_;
    QStringList record_;
    bool popupSeen_ = false;
};

QString Point(QPointF p)
{
    return QStringLiteral("(%1, %2)").arg(p.x(), 0, 'f', 1).arg(p.y(), 0, 'f', 1);
}

QString ButtonName(Qt::MouseButton b)
{
    return b == Qt::LeftButton    ? QStringLiteral("left")
           : b == Qt::RightButton ? QStringLiteral("right")
                                  : QStringLiteral("middle");
}

class Monkey {
public:
    Monkey(frmMain& window, const World& world, uint64_t seed)
        : window_(window), seed_(seed), dice_(seed), answerer_(dice_, world), checker_(window),
          canvas_(window.findChild<MapCanvas*>(QStringLiteral("Canvas"))),
          library_(window.findChild<TileLibraryPanel*>())
    {
    }

    // Runs `count` operations; returns the number of broken invariants.
    int Run(int count, bool verbose)
    {
        // clang-format off
        const struct { const char* name; int weight; void (Monkey::*run)(OperationFacts&); } ops[] = {
            {"canvas click", 160, &Monkey::CanvasClick}, {"canvas drag", 130, &Monkey::CanvasDrag},
            {"canvas hover", 60, &Monkey::CanvasHover}, {"canvas double-click", 40, &Monkey::CanvasDoubleClick},
            {"canvas wheel", 50, &Monkey::CanvasWheel}, {"preview box", 70, &Monkey::PreviewBoxClick},
            {"palette hover", 30, &Monkey::PaletteHover}, {"palette pick", 90, &Monkey::PalettePick},
            {"palette scroll", 30, &Monkey::PaletteScroll}, {"brush button", 40, &Monkey::BrushButton},
            {"layer switch", 40, &Monkey::LayerSwitch}, {"zoom", 40, &Monkey::ZoomCommand},
            {"scroll map", 30, &Monkey::ScrollMap}, {"window size", 25, &Monkey::ResizeWindow},
            {"wheel elsewhere", 15, &Monkey::WheelElsewhere}, {"open or save", 20, &Monkey::OpenOrSave},
            {"new map", 15, &Monkey::NewMap}, {"options", 25, &Monkey::Options},
            {"export", 15, &Monkey::Export}, {"print", 6, &Monkey::Print}, {"about", 8, &Monkey::About},
        };
        // clang-format on
        int total = 0;
        for (const auto& op : ops)
            total += op.weight;
        std::deque<QString> history; // the last few operations, for reports
        int violations = 0;
        for (int n = 1; n <= count; ++n) {
            int pick = dice_.Below(total);
            const auto* op = &ops[0];
            while (pick >= op->weight)
                pick -= (op++)->weight;
            OperationFacts facts;
            facts.savedBefore = window_.Map().MapSaved();
            facts.mapBefore = hostile::MapSnapshot::Of(window_.Map());
            current_ = QLatin1String(op->name);
            QElapsedTimer clock;
            clock.start();
            (this->*op->run)(facts);
            Settle();
            const QStringList answers = answerer_.TakeRecord();
            for (const QString& a : answers)
                facts.newMapConfirmed =
                    facts.newMapConfirmed || (a.startsWith(QLatin1String("New Map|")) &&
                                              a.endsWith(QLatin1String("-> Yes")));
            QString line = QStringLiteral("#%1 %2").arg(n).arg(current_);
            if (!answers.isEmpty())
                line +=
                    QStringLiteral(" [") + answers.join(QStringLiteral("; ")) + QLatin1Char(']');
            history.push_back(line);
            if (history.size() > 8)
                history.pop_front();
            if (verbose)
                std::printf("%s (%lld ms)\n", qPrintable(line), clock.elapsed());
            const QStringList broken = checker_.Check(facts, answerer_.PopupSeen());
            for (const QString& b : broken)
                std::printf("violation: seed %llu, operation %d: %s\n",
                            static_cast<unsigned long long>(seed_), n, qPrintable(b));
            violations += static_cast<int>(broken.size());
            if (!broken.isEmpty()) {
                for (const QString& h : history)
                    std::printf("    %s\n", qPrintable(h));
                // Carry on from a clean state: nothing may stay open.
                while (QWidget* w = QApplication::activePopupWidget())
                    w->close();
                while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    d->reject();
            }
            // Long runs say how far they are, so a soak can be followed.
            if (count >= 20000 && n % 10000 == 0)
                std::printf("progress: %d operations, %d violations\n", n, violations);
            std::fflush(stdout);
        }
        return violations;
    }
    int OracleDrawings() const { return checker_.OracleDrawings(); }

private:
    int Below(int n) { return dice_.Below(n); }
    bool Chance(int percent) { return dice_.Chance(percent); }
    void Note(const QString& text) { current_ += QLatin1Char(' ') + text; }
    QAction* Item(const char* name) { return window_.findChild<QAction*>(QLatin1String(name)); }
    QToolBar* Toolbar() { return window_.findChild<QToolBar*>(QStringLiteral("Toolbar1")); }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // Mouse input straight to the canvas, as the window system delivers it
    // to the widget that holds the mouse during a drag.
    void SendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at)
    {
        QMouseEvent e(type, at, canvas_->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas_, &e);
    }
    static void SendWheel(QWidget* target, QPointF at, int delta, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    }
    // Mostly inside, some around the edges where the grids end, some far off.
    QPointF CanvasPoint()
    {
        const int w = canvas_->width(), h = canvas_->height(), where = Below(100);
        if (where < 85)
            return {Below(w * 10) / 10.0, Below(h * 10) / 10.0};
        if (where < 95)
            return {Below(w + 80) - 40.0 + Below(10) / 10.0, Below(h + 80) - 40.0};
        return FarAway();
    }
    QPointF FarAway() { return {Below(12000) - 6000.0, Below(12000) - 6000.0}; }
    Qt::KeyboardModifiers RandomModifiers()
    {
        Qt::KeyboardModifiers m;
        for (const auto modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
            if (Chance(25))
                m |= modifier;
        return m;
    }
    // A press and release (and the move before), in place or a few pixels off.
    void Click(OperationFacts& facts, Qt::MouseButton button, QPointF at, QPointF to, bool twice)
    {
        Note(ButtonName(button) + QStringLiteral(" at ") + Point(at));
        facts.canvasInput = facts.buttonPressed = true;
        SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        SendMouse(QEvent::MouseButtonPress, button, button, at);
        SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, to);
        if (twice) {
            SendMouse(QEvent::MouseButtonDblClick, button, button, at);
            SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
        }
    }

    void CanvasClick(OperationFacts& facts)
    {
        const int b = Below(100);
        const Qt::MouseButton button = b < 60   ? Qt::LeftButton
                                       : b < 85 ? Qt::RightButton
                                                : Qt::MiddleButton;
        const QPointF at = CanvasPoint();
        Click(facts, button, at, Chance(80) ? at : at + QPointF(Below(7) - 3, Below(7) - 3), false);
    }

    void CanvasDoubleClick(OperationFacts& facts)
    {
        const Qt::MouseButton button = Chance(70) ? Qt::LeftButton : Qt::RightButton;
        const QPointF at = CanvasPoint();
        Click(facts, button, at, at, true);
    }

    // A drag, now and then far outside with the button held, sometimes with
    // the other button pressed and released on the way.
    void CanvasDrag(OperationFacts& facts)
    {
        const int b = Below(100);
        const Qt::MouseButton button = b < 65   ? Qt::LeftButton
                                       : b < 95 ? Qt::RightButton
                                                : Qt::MiddleButton;
        const Qt::MouseButton other = button == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
        QPointF at = CanvasPoint();
        const int moves = 3 + Below(25);
        const int secondFrom = Chance(15) ? Below(moves) : -1;
        const int secondTo = secondFrom < 0 ? -1 : secondFrom + Below(moves - secondFrom + 1);
        Note(ButtonName(button) + QStringLiteral(" from ") + Point(at) +
             QStringLiteral(", %1 moves").arg(moves) +
             (secondFrom >= 0 ? QStringLiteral(", ") + ButtonName(other) + QStringLiteral(" too")
                              : QString()));
        facts.canvasInput = facts.buttonPressed = true;
        SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        SendMouse(QEvent::MouseButtonPress, button, button, at);
        Qt::MouseButtons held = button;
        for (int i = 0; i < moves; ++i) {
            if (i == secondFrom) {
                facts.bothButtons = true;
                held |= other;
                SendMouse(QEvent::MouseButtonPress, other, held, at);
            }
            if (i == secondTo) {
                held &= ~Qt::MouseButtons(other);
                SendMouse(QEvent::MouseButtonRelease, other, held, at);
            }
            at = Chance(8) ? FarAway() : at + QPointF(Below(121) - 60, Below(121) - 60);
            SendMouse(QEvent::MouseMove, Qt::NoButton, held, at);
        }
        if (held.testFlag(other)) {
            held &= ~Qt::MouseButtons(other);
            SendMouse(QEvent::MouseButtonRelease, other, held, at);
        }
        SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
        Note(QStringLiteral("to ") + Point(at));
    }

    void CanvasHover(OperationFacts& facts)
    {
        facts.canvasInput = true;
        const int moves = 1 + Below(10);
        for (int i = 0; i < moves; ++i)
            SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, CanvasPoint());
        Note(QStringLiteral("%1 moves").arg(moves));
    }

    // Wheel notches or touchpad deltas, with any modifiers.
    void CanvasWheel(OperationFacts&)
    {
        const Qt::KeyboardModifiers modifiers = RandomModifiers();
        const bool touchpad = Chance(40);
        const int events = touchpad ? 1 + Below(12) : 1 + Below(3);
        const int sign = Chance(50) ? 1 : -1;
        const int delta = touchpad ? sign * (1 + Below(40)) : sign * 120;
        Note(QStringLiteral("%1 x %2, modifiers %3")
                 .arg(events)
                 .arg(delta)
                 .arg(modifiers.toInt(), 0, 16));
        const QPointF at = CanvasPoint();
        for (int i = 0; i < events; ++i)
            SendWheel(canvas_, at, delta, modifiers);
    }

    void PreviewBoxClick(OperationFacts&)
    {
        const BrushKind kind = static_cast<BrushKind>(Below(3));
        Note(QStringLiteral("kind %1").arg(static_cast<int>(kind)));
        QTest::mouseClick(library_->Box(kind), Qt::LeftButton, {},
                          QPoint(5 + Below(40), 5 + Below(40)));
    }

    PalettePane* OpenPane() const
    {
        for (const BrushKind kind : {BrushKind::Floor, BrushKind::Wall, BrushKind::Object})
            if (library_->IsOpen(kind))
                return library_->Pane(kind);
        return nullptr;
    }

    void PaletteHover(OperationFacts&)
    {
        PalettePane* pane = OpenPane();
        if (!pane)
            return Note(QStringLiteral("(no pane open)"));
        const QPoint at(Below(220), Below(std::max(1, pane->Canvas()->height() + 20)));
        Note(Point(at));
        QMouseEvent e(QEvent::MouseMove, QPointF(at), pane->Canvas()->mapToGlobal(QPointF(at)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pane->Canvas(), &e);
    }

    // A click on an entry or just past the last one, opening a pane first
    // when none is open.
    void PalettePick(OperationFacts&)
    {
        if (!OpenPane()) {
            const BrushKind kind = static_cast<BrushKind>(Below(3));
            QTest::mouseClick(library_->Box(kind), Qt::LeftButton, {}, QPoint(10, 10));
            Note(QStringLiteral("opened kind %1").arg(static_cast<int>(kind)));
            testsupport::WaitUntilListed(library_->Model());
            Settle();
        }
        PalettePane* pane = OpenPane();
        if (!pane)
            return;
        const BrushKind kind = pane->Kind();
        const int count = static_cast<int>(library_->PathsOf(kind).size());
        const int index = Below(count + 2);
        const QRect cell = PaletteGrid::Of(kind).Cell(index);
        const QPoint at = cell.topLeft() + QPoint(Below(cell.width()), Below(cell.height()));
        Note(QStringLiteral("entry %1 of %2 at ").arg(index).arg(count) + Point(at));
        QTest::mouseClick(pane->Canvas(), Chance(85) ? Qt::LeftButton : Qt::RightButton, {}, at);
    }

    // A scroll bar set to a value, stepped by one of its actions, or clicked.
    void Scroll(QScrollBar& bar, const QString& name, const std::function<void()>& third)
    {
        const int way = Below(3);
        if (way == 0) {
            const int value = Below(bar.maximum() + 1);
            Note(name + QStringLiteral(" to %1").arg(value));
            bar.setValue(value);
        } else if (way == 1) {
            const QAbstractSlider::SliderAction actions[] = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
                QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
            const auto action = actions[Below(6)];
            Note(name + QStringLiteral(" action %1").arg(static_cast<int>(action)));
            bar.triggerAction(action);
        } else {
            third();
        }
    }

    void PaletteScroll(OperationFacts&)
    {
        PalettePane* pane = OpenPane();
        if (!pane)
            return Note(QStringLiteral("(no pane open)"));
        Scroll(*pane->ScrollBar(), QStringLiteral("bar"), [&] {
            const int delta = Chance(60) ? (Chance(50) ? 120 : -120) : Below(81) - 40;
            Note(QStringLiteral("wheel %1").arg(delta));
            SendWheel(pane->Canvas(), QPointF(50, 50), delta, Qt::NoModifier);
        });
    }

    void ScrollMap(OperationFacts&)
    {
        auto* bar = window_.findChild<QScrollBar*>(Chance(50) ? QStringLiteral("HScroll1")
                                                              : QStringLiteral("VScroll1"));
        if (bar->isHidden())
            return Note(bar->objectName() + QStringLiteral(" hidden"));
        Scroll(*bar, bar->objectName(), [&] {
            const QPoint at(Below(std::max(1, bar->width())), Below(std::max(1, bar->height())));
            Note(bar->objectName() + QStringLiteral(" click at ") + Point(at));
            QTest::mouseClick(bar, Qt::LeftButton, {}, at);
        });
    }

    void BrushButton(OperationFacts&)
    {
        const char* names[] = {"btnFlipHorizontal", "btnRotateLeft", "btnRotateRight",
                               "btnFlipVertical"};
        const char* name = names[Below(4)];
        Note(QLatin1String(name));
        QTest::mouseClick(window_.findChild<QWidget*>(QLatin1String(name)), Qt::LeftButton);
    }

    void LayerSwitch(OperationFacts&)
    {
        const char* items[] = {"mnuGridLayer", "mnuFloorLayer", "mnuObjectLayer", "mnuWallLayer"};
        const int i = Below(4);
        if (Chance(50)) {
            Note(QStringLiteral("menu ") + QLatin1String(items[i]));
            Item(items[i])->trigger();
        } else {
            Note(QStringLiteral("Shift+F%1").arg(i + 1));
            QTest::keyClick(&window_, static_cast<Qt::Key>(Qt::Key_F1 + i), Qt::ShiftModifier);
        }
    }

    void ZoomCommand(OperationFacts&)
    {
        const bool in = Chance(50);
        const int way = Below(3);
        Note(QLatin1String(way == 0   ? "menu"
                           : way == 1 ? "tool bar"
                                      : "wheel") +
             QLatin1String(in ? " in" : " out"));
        if (way == 0)
            Item(in ? "mnuZoomIn" : "mnuZoomOut")->trigger();
        else if (way == 1)
            QTest::mouseClick(Toolbar()->widgetForAction(Toolbar()->actions().value(in ? 6 : 7)),
                              Qt::LeftButton);
        else
            SendWheel(canvas_, CanvasPoint(), in ? 120 : -120, Qt::NoModifier);
    }

    // Resized, minimised, maximised or restored.
    void ResizeWindow(OperationFacts&)
    {
        const int way = Below(100);
        if (way < 60) {
            const QSize size(150 + Below(1350), 120 + Below(1080));
            Note(QStringLiteral("to %1 x %2").arg(size.width()).arg(size.height()));
            window_.resize(size);
        } else {
            Note(QLatin1String(way < 75 ? "minimise" : way < 85 ? "maximise" : "restore"));
            way < 75   ? window_.showMinimized()
            : way < 85 ? window_.showMaximized()
                       : window_.showNormal();
        }
        Settle();
    }

    void WheelElsewhere(OperationFacts&)
    {
        const char* targets[] = {"ClientArea", "StatusBar1", "FloorBox",
                                 "ObjectBox",  "MapHolder",  "HScroll1"};
        const char* name = targets[Below(6)];
        const int delta = Chance(70) ? (Chance(50) ? 120 : -120) : Below(61) - 30;
        Note(QLatin1String(name) + QStringLiteral(" %1").arg(delta));
        SendWheel(window_.findChild<QWidget*>(QLatin1String(name)), QPointF(3, 3), delta,
                  RandomModifiers());
    }

    void OpenOrSave(OperationFacts& facts)
    {
        facts.saved = Chance(60);
        Note(facts.saved ? QStringLiteral("tool bar Save") : QStringLiteral("tool bar Open"));
        QTest::mouseClick(
            Toolbar()->widgetForAction(Toolbar()->actions().value(facts.saved ? 2 : 1)),
            Qt::LeftButton);
    }

    // The same command through its menu item, its tool bar button or Ctrl+key.
    void ByMenuToolbarOrKey(const char* item, int menuPercent, int button, Qt::Key key)
    {
        const int way = Below(100);
        if (way < menuPercent) {
            Note(QStringLiteral("menu"));
            Item(item)->trigger();
        } else if (way < 85) {
            Note(QStringLiteral("tool bar"));
            QTest::mouseClick(Toolbar()->widgetForAction(Toolbar()->actions().value(button)),
                              Qt::LeftButton);
        } else {
            Note(QKeySequence(Qt::ControlModifier | key).toString());
            QTest::keyClick(&window_, key, Qt::ControlModifier);
        }
    }
    void NewMap(OperationFacts&) { ByMenuToolbarOrKey("mnuNew", 60, 0, Qt::Key_N); }
    void Print(OperationFacts&) { ByMenuToolbarOrKey("mnuPrint", 70, 4, Qt::Key_P); }
    void Options(OperationFacts&) { Item("mnuOptions")->trigger(); }
    void Export(OperationFacts&) { Item("mnuExport")->trigger(); }
    void About(OperationFacts&) { Item("mnuAbout")->trigger(); }

    frmMain& window_;
    uint64_t seed_;
    Dice dice_;
    Answerer answerer_;
    InvariantChecker checker_;
    MapCanvas* canvas_;
    TileLibraryPanel* library_;
    QString current_; // what the running operation did
};

} // namespace

} // namespace monkey

int main(int argc, char** argv)
{
    using namespace halvorn;
    int ops = 2000;
    uint64_t seed = std::random_device{}();
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--ops") == 0 && hasValue && (ops = std::atoi(argv[++i])) >= 0)
            continue;
        if (std::strcmp(argv[i], "--seed") == 0 && hasValue)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--verbose") == 0)
            verbose = true;
        else
            return std::fprintf(stderr,
                                "usage: halvorn3-monkey [--ops N] [--seed S] [--verbose]\n"),
                   2;
    }
    // Settings of its own, never the user's; set before anything reads them.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    HalvornApplication app(argc, argv);
    const monkey::World world;
    if (!world.IsValid())
        return 2;
    SaveSetting(QLatin1String(keys::LocationFloors), world.Path("Floors"));
    SaveSetting(QLatin1String(keys::LocationWalls), world.Path("Walls"));
    SaveSetting(QLatin1String(keys::LocationObjects), world.Path("Objects"));
    std::printf("seed: %llu\n", static_cast<unsigned long long>(seed));
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    int violations = 0, oracleDrawings = 0;
    {
        frmMain window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 2;
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            std::printf("note: the window did not become active\n");
        monkey::Monkey m(window, world, seed);
        violations = m.Run(ops, verbose);
        oracleDrawings = m.OracleDrawings();
        window.hide();
    }
    std::printf("time: %.1f s, oracle drawings: %d, peak memory: %ld MiB\n",
                static_cast<double>(clock.elapsed()) / 1000.0, oracleDrawings,
                hostile::PeakResidentKiB() / 1024);
    std::printf("ops: %d, seed: %llu, violations: %d\n", ops, static_cast<unsigned long long>(seed),
                violations);
    return violations == 0 ? 0 : 1;
}
