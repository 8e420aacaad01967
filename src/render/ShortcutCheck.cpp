#include "render/ShortcutCheck.h"

#include "imaging/Imaging.h"
#include "map/Orientation.h"
#include "render/Renderer.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace halvorn {

bool QtVersionVerified(QStringView version)
{
    const QList<QStringView> parts = version.split(u'.');
    if (parts.size() < 2)
        return false;
    bool majorOk = false;
    bool minorOk = false;
    const int major = parts[0].toInt(&majorOk);
    const int minor = parts[1].toInt(&minorOk);
    return majorOk && minorOk &&
           std::any_of(VerifiedQtReleases.begin(), VerifiedQtReleases.end(),
                       [&](QtRelease r) { return r.major == major && r.minor == minor; });
}

ImageHandle ProbePicture(int w, int h, int seed, bool holes)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int alpha = 255;
            if (holes && x < w / 4 && y < h / 4)
                alpha = 0;
            else if (holes && y > h * 3 / 4)
                alpha = 80 + (x * 3) % 100;
            img.setPixel(x, y,
                         qRgba((x * 11 + seed * 40) % 256, (y * 7 + seed * 90) % 256,
                               (x * y + seed * 13) % 256, alpha));
        }
    return AddImage(img);
}

namespace {

constexpr float ProbeZooms[] = {1.0f, 0.75f, 0.5f, 0.25f};

bool Close(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            if (std::abs(qRed(p[col]) - qRed(q[col])) > 1 ||
                std::abs(qGreen(p[col]) - qGreen(q[col])) > 1 ||
                std::abs(qBlue(p[col]) - qBlue(q[col])) > 1)
                return false;
    }
    return true;
}

} // namespace

ShortcutProbe MakeShortcutProbe()
{
    ShortcutProbe probe;
    MapDocument& map = probe.map;
    // 4 x 3 cells: 72 canvas rows at 25 %, more than one band of 64.
    map.NewMap(4, 3);
    const ImageHandle floors[] = {ProbePicture(72, 72, 1, false), ProbePicture(72, 72, 2, true)};
    const ImageHandle walls[] = {ProbePicture(18, 18, 3, false), ProbePicture(18, 18, 4, true),
                                 ProbePicture(90, 90, 5, true)};
    const ImageHandle objects[] = {ProbePicture(37, 23, 6, true), ProbePicture(30, 50, 7, false)};
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 3; ++y)
            if ((x + y) % 3 != 2)
                map.SetFloor(x, y, floors[(x * 3 + y) % 2]);
    // Walls on a line, scattered at every phase of a pixel, one at the
    // canvas edge and one oversized piece, which is drawn in place.
    for (int x = 0; x < map.WallColumns(); ++x)
        map.SetWall(x, 4, walls[0]);
    for (int k = 0; k < 8; ++k)
        map.SetWall(1 + k, 6 + k % 4, walls[k % 2]);
    map.SetWall(0, 0, walls[1]);
    map.SetWall(9, 2, walls[2]);
    for (int i = 0; i < 6; ++i) {
        const ImageHandle image = objects[i % 2];
        const Orientation orientation = static_cast<Orientation>(i * 3 % 8);
        int16_t w = static_cast<int16_t>(ImageWidth(image));
        int16_t h = static_cast<int16_t>(ImageHeight(image));
        if (SwapsSides(orientation))
            std::swap(w, h);
        map.AddObject(image, 20.0f + 41.5f * static_cast<float>(i), 30.0f + 27.0f * (i % 3), w, h,
                      orientation);
    }
    map.ToggleObjectShadow(4);
    probe.strokeFloor = floors[1];
    probe.strokeWall = walls[1];
    return probe;
}

std::vector<QImage> DrawShortcutProbe(const ShortcutProbe& probe, RenderShortcuts shortcuts,
                                      float ratio)
{
    std::vector<QImage> pictures;
    const ShadowParams shadows;
    const LayerSwitches layers;
    for (const float zoom : ProbeZooms) {
        MapDocument map = probe.map;
        MapRenderer renderer(shortcuts);
        QImage canvas(CanvasSize(map, zoom, ratio), QImage::Format_RGB32);
        const auto draw = [&](bool drawshadows) {
            renderer.Redraw(canvas, map, layers, zoom, shadows, drawshadows, ratio);
            pictures.push_back(canvas.copy());
        };
        draw(true);
        // A stroke: floor cells and wall points one after another, each
        // repainted in its rectangles only.
        map.SetFloor(2, 1, probe.strokeFloor);
        draw(true);
        map.SetWall(5, 5, probe.strokeWall);
        map.SetWall(6, 5, probe.strokeWall);
        draw(true);
        map.SetFloor(3, 2, 0);
        draw(false);
        // The release's redraw with shadows, and a second whole redraw that
        // puts down the copies kept at their places.
        draw(true);
        draw(false);
        draw(true);
    }
    return pictures;
}

RenderShortcuts CheckShortcuts(RenderShortcuts candidates, const std::vector<float>& ratios,
                               const ProbeDrawer& draw)
{
    const ShortcutProbe probe = MakeShortcutProbe();
    RenderShortcuts kept = candidates;
    for (const float ratio : ratios) {
        const std::vector<QImage> plain = draw(probe, RenderShortcuts::AllOff(), ratio);
        for (const Shortcut s : AllShortcuts) {
            if (!kept.On(s))
                continue;
            const std::vector<QImage> fast = draw(probe, RenderShortcuts::AllOff().With(s), ratio);
            const bool same = fast.size() == plain.size() &&
                              std::equal(fast.begin(), fast.end(), plain.begin(), Close);
            if (!same)
                kept = kept.Without(s);
        }
    }
    return kept;
}

} // namespace halvorn
