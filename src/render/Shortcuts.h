// The renderer's shortcuts: the six ways a redraw reaches the literal
// picture (every step drawn on the whole canvas, in order) in less time.
// Each one can be switched off, alone or with others, and the picture stays
// within 1 of 255 of the literal one; switched off, the plain path runs.
// HALVORN_RENDER_DISABLE names the ones to switch off, comma-separated
// ("partial,cover" or "all"), read once when the program first draws.
// HALVORN_CHECK_SHORTCUTS, set to anything, makes the window check them
// against the plain path as it does on an unverified Qt (ShortcutCheck.h).
//
// ShortcutRules below is the one place that says when each applies: the
// renderer asks it once per redraw (RenderShortcuts::TakenFor) and every
// later step reads only that answer. Some shortcuts then skip single
// pictures of their own accord, as their row says.
//
// On a HiDPI screen (a device pixel ratio r other than 1) all six stay on:
// each rests on how the raster engine treats device pixels, and the screen
// picture is only a larger device laid out at zoom x r. partial repaints
// the rectangles a change reaches in device pixels (FloorReach and
// WallReach take zoom x r); cover needs only opaque stamps, which floors and
// grid lines stay; placed keys each copy by its target and the canvas size,
// both in device pixels; phases keys each piece by its drawn side (18 z r +
// r / 2) and fractions, which hold for enlarged pieces as for reduced ones;
// counts keys the layer counts by zoom x r and the zoom's first layer;
// threads is unchanged. Tests: the same ones at ratios 1.25, 1.5 and 2
// (IncrementalRedraw.*, Renderers.TheScreensRatioScalesEveryPixelQuantity).
//
// With every shortcut off the redraw is the literal one made of stamps: each
// picture scaled straight onto the canvas, each square filled, bands drawn
// one after another on the calling thread.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace halvorn {

enum class Shortcut : uint8_t { Partial, Cover, Placed, Phases, Counts, Threads };

// What a redraw knows of itself before it draws: all the rules below read.
struct RedrawFacts {
    // The canvas shows this map at the same zoom, ratio, layers, shadow
    // settings and `drawshadows` but for floor cells and wall points, which
    // reach at most 48 rectangles and a third of the canvas.
    bool fewChanges = false;
    // Shadows are drawn, the zoom draws at least one wall shadow layer and
    // the wall shadow alpha is above 0.
    bool shadowLayers = false;
};

// One shortcut: the word that names it in HALVORN_RENDER_DISABLE and when a
// redraw takes it (when it is switched on).
struct ShortcutRule {
    Shortcut shortcut;
    std::string_view name;
    bool (*applies)(const RedrawFacts&);
};

namespace when {
constexpr bool Always(const RedrawFacts&)
{
    return true;
}
constexpr bool FewChanges(const RedrawFacts& f)
{
    return f.fewChanges;
}
constexpr bool ShadowLayers(const RedrawFacts& f)
{
    return f.shadowLayers;
}
} // namespace when

// Each row: the shortcut, its name and when it applies; above it, what it
// does, the Qt 6.4 raster-engine behaviour it rests on, and the tests that
// guard it (every comparison with the literal renderer in tests/render also
// runs with each shortcut off, see RenderShortcutSets, and with any choice
// of them off, Shortcuts.AnyCombinationOffMatches). In the order of the enum.
// clang-format off
inline constexpr std::array<ShortcutRule, 6> ShortcutRules = {{
    // Partial redraws: each rectangle the changes reach is repainted from
    // white through every layer, clipped to it. A changed object draws the
    // whole map (its rectangles alone came out up to 12 of 255 off).
    // Qt: fills and unscaled copies write under a clip exactly the pixels
    // they write without it. A scaled draw does not: the bilinear fetch
    // (qdrawhelper.cpp, fetchTransformedBilinear*) steps its sample position
    // in 16.16 fixed point from the first pixel of each span, so a clip that
    // cuts the draw's rows moves the samples (up to 2 of 255). A partial
    // redraw therefore puts every scaled picture down as a cut-out drawn at
    // its place on a canvas-sized picture (kept with placed, made for the
    // redraw without it); bands cut only between rows and need none.
    // Tests: IncrementalRedraw.*, FoundByTheMonkey.*.
    {Shortcut::Partial, "partial", when::FewChanges},
    // Skipping covered pictures: a stamp whose every pixel in the area is
    // hidden by later opaque stamps is not drawn, a partly hidden one is
    // drawn in the rectangle around what shows, and white is written only
    // where nothing opaque lands.
    // Qt: a picture without alpha (Format_RGB32) drawn at full opacity
    // replaces every pixel it lands on (qt_blend_rgb32_on_rgb32 in
    // qblendfunctions.cpp copies the rows; qpaintengine_raster.cpp takes it
    // for SourceOver as for Source), and a grid line filled black does too.
    // Tests: Oracle.*, Renderers.FloorsFillTheirCellsAtEveryZoom.
    {Shortcut::Cover, "cover", when::Always},
    // Scaled copies kept after a second use: a floor, object or silhouette
    // drawn scaled into the same whole-pixel rectangle of a canvas of the
    // same size for the second time is drawn once at that place on a
    // transparent picture of the canvas's size, cut out and kept; later
    // redraws put the cut-out down unscaled.
    // Qt: a smooth scaled draw samples by the inverse of the transform from
    // the target rectangle, so the same target on a device of the same size
    // gives the same pixels (qpaintengine_raster.cpp drawImage with a scaling
    // transform; the bilinear fetches of qdrawhelper.cpp), and SourceOver of
    // premultiplied pixels onto the canvas is the same blend either way
    // (comp_func_SourceOver, BYTE_MUL in qdrawhelper_p.h).
    // Tests: IncrementalRedraw.EveryEditLeavesTheWholeMapsPicture (each edit
    // redraws the same places again), Oracle.*.
    {Shortcut::Placed, "placed", when::Always},
    // Wall pieces prepared per sub-pixel phase: a piece wholly inside the
    // canvas whose picture is at most two wall steps on a side is drawn once
    // per zoom and fractional part of its position (cx - 9 z, cy - 9 z),
    // trimmed, and stamped at the whole-pixel part.
    // Qt: the same as for placed: the samples of a QRectF target depend on its
    // position only through the fraction, away from the device's edge; a
    // picture much larger than the piece is reduced so strongly that its
    // samples shift with the whole-pixel part too, so it is drawn in place.
    // Tests: Oracle.WallPiecesOverTheCanvasEdgeMatch,
    // FoundByTheMonkey.* (the oversized piece), Renderers.Wall*.
    {Shortcut::Phases, "phases", when::Always},
    // Shadow layers as counts: the squares of one wall point become one grey
    // picture of how many squares cover each pixel (per zoom and phase), and
    // a pixel under k layers is darkened in one step (ShadeTable).
    // Qt: a non-antialiased fillRect of a QRectF covers the pixels between its
    // edges rounded to whole pixels (toNormalizedFillRect in
    // qpaintengine_raster.cpp), and a translucent solid fill blends each with
    // BYTE_MUL rounding (comp_func_solid_SourceOver in qdrawhelper.cpp);
    // ShadeTable repeats that rounding k times.
    // Tests: Renderers.WallPieceAtFourZeroCastsSevenSquares,
    // Renderers.WallShadowsFadeOneLayerPerPixel, Oracle.*.
    {Shortcut::Counts, "counts", when::ShadowLayers},
    // Bands on two threads: a whole redraw paints the canvas in bands of 64
    // rows shared between the calling thread and one helper (BandWorker); a
    // partial redraw paints its few rectangles on the calling thread.
    // Qt: a blend of 96 spans or more is split over Qt's GUI thread pool and
    // waited for (QT_THREAD_PARALLEL_FILLS in qdrawhelper.cpp: (spans + 32) /
    // 64 segments); a band of 64 rows clipped to itself makes at most 64
    // spans, so each draw stays on the thread that makes it (a static_assert
    // beside BandRows in Renderer.cpp). Each band has its own painter on its
    // own picture over the canvas's pixels and writes only inside its clip.
    // Tests: BandWorker.*, and the redraw tests with it off.
    {Shortcut::Threads, "threads", when::Always},
}};
// clang-format on

inline constexpr std::array<Shortcut, ShortcutRules.size()> AllShortcuts = [] {
    std::array<Shortcut, ShortcutRules.size()> all{};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = ShortcutRules[i].shortcut;
    return all;
}();

static_assert(
    [] {
        for (std::size_t i = 0; i < ShortcutRules.size(); ++i)
            if (static_cast<std::size_t>(ShortcutRules[i].shortcut) != i)
                return false;
        return true;
    }(),
    "ShortcutRules lists the shortcuts in the order of the enum");

// The word that names a shortcut in HALVORN_RENDER_DISABLE.
constexpr std::string_view ShortcutName(Shortcut shortcut)
{
    return ShortcutRules[static_cast<std::size_t>(shortcut)].name;
}
QString ShortcutWord(Shortcut shortcut);

// Which shortcuts a renderer takes. A value; all on unless said otherwise.
class RenderShortcuts {
public:
    constexpr RenderShortcuts() = default;

    static constexpr RenderShortcuts AllOff() { return RenderShortcuts(0); }
    // The shortcuts HALVORN_RENDER_DISABLE leaves on, read from the
    // environment the first time it is asked; every renderer made without a
    // choice of its own takes these.
    static RenderShortcuts FromEnvironment();
    // Parses a HALVORN_RENDER_DISABLE value; unknown words are reported in
    // `unknown` (comma-separated) and ignored.
    static RenderShortcuts Disabling(QString names, QString* unknown = nullptr);

    constexpr bool On(Shortcut s) const { return (bits_ >> static_cast<unsigned>(s)) & 1u; }
    constexpr RenderShortcuts Without(Shortcut s) const
    {
        return RenderShortcuts(bits_ & ~(1u << static_cast<unsigned>(s)));
    }
    constexpr RenderShortcuts With(Shortcut s) const
    {
        return RenderShortcuts(bits_ | (1u << static_cast<unsigned>(s)));
    }
    // The ones of these a redraw with `facts` takes: each whose rule applies.
    constexpr RenderShortcuts TakenFor(const RedrawFacts& facts) const
    {
        RenderShortcuts taken = AllOff();
        for (const ShortcutRule& rule : ShortcutRules)
            if (On(rule.shortcut) && rule.applies(facts))
                taken = taken.With(rule.shortcut);
        return taken;
    }
    // The names of the shortcuts switched off, comma-separated; "none".
    QString Describe() const;

    friend constexpr bool operator==(RenderShortcuts, RenderShortcuts) = default;

private:
    static constexpr unsigned Every = (1u << ShortcutRules.size()) - 1;
    explicit constexpr RenderShortcuts(unsigned bits) : bits_(bits) {}
    unsigned bits_ = Every;
};

} // namespace halvorn
