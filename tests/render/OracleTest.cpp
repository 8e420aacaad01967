// The program's renderer against the literal one on busy scenes: every zoom,
// with and without shadows, every layer combination, objects in all eight
// orientations, shadow settings away from the defaults, every choice of
// shortcuts.
#include "BusyMap.h"
#include "ShortcutSets.h"
#include "imaging/Imaging.h"
#include "oracle/LiteralRenderer.h"
#include "render/Renderer.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

using namespace halvorn;

using namespace rendertest;

namespace {

int Difference(const MapDocument& map, const LayerSwitches& layers, float zoom,
               const ShadowParams& shadows, bool drawshadows, RenderShortcuts shortcuts)
{
    QImage expected(CanvasSize(map, zoom), QImage::Format_RGB32);
    oracle::LiteralRedraw(expected, map, layers, zoom, shadows, drawshadows);
    QImage drawn(CanvasSize(map, zoom), QImage::Format_RGB32);
    Redraw(drawn, map, layers, zoom, shadows, drawshadows, shortcuts);
    return oracle::MaxChannelDifference(drawn, expected);
}

class Oracle : public ::testing::TestWithParam<ShortcutSet> {};

INSTANTIATE_TEST_SUITE_P(Shortcuts, Oracle, ::testing::ValuesIn(RenderShortcutSets()), SetName);

} // namespace

TEST(OracleDifference, CountsEveryChannelAndSize)
{
    QImage a(4, 3, QImage::Format_ARGB32);
    a.fill(qRgba(10, 20, 30, 40));
    QImage b = a;
    EXPECT_EQ(oracle::MaxChannelDifference(a, b), 0);
    // clang-format off
    const std::pair<QRgb, int> rows[] = {{qRgba(13, 20, 30, 40), 3}, {qRgba(10, 15, 30, 40), 5}, {qRgba(10, 20, 37, 40), 7}, {qRgba(10, 20, 30, 42), 2}};
    // clang-format on
    for (const auto& [changed, difference] : rows) {
        b = a;
        b.setPixel(3, 2, changed);
        EXPECT_EQ(oracle::MaxChannelDifference(a, b), difference) << std::hex << changed;
    }
    EXPECT_EQ(oracle::MaxChannelDifference(a, QImage(4, 4, QImage::Format_ARGB32)), INT_MAX);
}

// Pieces reaching over the canvas edge: the raster engine samples a scaled
// draw cut by the device's edge differently, so these must be drawn as the
// literal renderer draws them. Noisy pictures of odd sizes show any shift.
TEST_P(Oracle, WallPiecesOverTheCanvasEdgeMatch)
{
    // Random alpha over half its range, as the pieces that found the fault.
    std::mt19937 rng(17);
    const auto noise = [&](int w, int h) {
        QImage img(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, qRgba(rng() % 256, rng() % 256, rng() % 256, 128 + rng() % 128));
        return AddImage(img);
    };
    const ImageHandle pieces[] = {noise(18, 18), noise(7, 23), noise(31, 5), noise(64, 64)};
    MapDocument map;
    for (int i = 0; i < map.WallColumns(); ++i)
        for (const int edge :
             {0, 1, map.WallColumns() - 3, map.WallColumns() - 2, map.WallColumns() - 1}) {
            map.SetWall(i, edge, pieces[(i + edge) % 4]);
            map.SetWall(edge, i, pieces[(i + edge + 1) % 4]);
        }
    for (const float zoom : {1.0f, 0.75f, 0.5f, 0.25f})
        EXPECT_LE(
            Difference(map, LayerSwitches{}, zoom, ShadowParams{}, true, GetParam().shortcuts), 1)
            << "zoom " << zoom;
}

// Any choice of shortcuts, not only one off at a time, gives the literal
// picture, with every layer combination, at every zoom and with shadow
// settings away from the defaults. (Partial redraws under each choice and the
// screen ratios: IncrementalRedraw.)
TEST(Shortcuts, AnyCombinationOffMatches)
{
    const float zooms[] = {1.0f, 0.75f, 0.5f, 0.25f};
    const ShadowParams settings[] = {
        {0.4f, 5, 32}, {1.0f, -7, 0}, {0.73f, 12, 255}, {0.0f, 0, 100}};
    for (unsigned bits = 0; bits < 64; ++bits) {
        RenderShortcuts shortcuts = RenderShortcuts::AllOff();
        for (const Shortcut s : AllShortcuts)
            if (bits & (1u << static_cast<unsigned>(s)))
                shortcuts = shortcuts.With(s);
        LayerSwitches layers;
        layers.ShowGridLayer = layers.ShowBackgroundLayer = (bits / 3) & 1;
        layers.ShowFloorLayer = (bits / 3) & 2;
        layers.ShowObjectLayer = (bits / 3) & 4;
        layers.ShowWallLayer = (bits / 3) & 8 || bits % 3 == 0;
        EXPECT_LE(Difference(BusyMap(20 + bits % 3), layers, zooms[bits % 4],
                             settings[(bits / 5) % 4], bits % 7 != 0, shortcuts),
                  1)
            << shortcuts.Describe().toStdString() << " layers " << bits / 3;
    }
}

TEST(Shortcuts, TheVariableNamesTheOnesToSwitchOff)
{
    // clang-format off
    const struct { const char* value; const char* off; const char* unknown; } rows[] = {
        {"", "none", ""}, {"partial", "partial", ""}, {" Cover , threads", "cover,threads", ""}, {"placed,phases,counts", "placed,phases,counts", ""},
        {"all", "partial,cover,placed,phases,counts,threads", ""}, {"phases,bands,,covers", "phases", "bands,covers"},
    };
    // clang-format on
    for (const auto& r : rows) {
        QString unknown;
        const RenderShortcuts s =
            RenderShortcuts::Disabling(QString::fromLatin1(r.value), &unknown);
        EXPECT_EQ(s.Describe(), QString::fromLatin1(r.off)) << r.value;
        EXPECT_EQ(unknown, QString::fromLatin1(r.unknown)) << r.value;
    }
    EXPECT_EQ(RenderShortcuts::Disabling(QStringLiteral("all")), RenderShortcuts::AllOff());
}
