// How long a redraw takes for a full map: every floor cell painted, every
// wall point set and 500 objects of mixed sizes and orientations, with and
// without shadows, at each zoom.
#include "render/Imaging.h"
#include "render/Renderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <utility>

using namespace halvorn;

namespace {

ImageHandle Picture(int w, int h, QColor c, bool transparentCorner)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    if (transparentCorner) {
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillRect(0, 0, w / 3, h / 3, Qt::transparent);
    }
    return AddImage(img);
}

MapDocument FullMap()
{
    MapDocument map;
    const ImageHandle floor = Picture(72, 72, QColor(120, 110, 90), false);
    const ImageHandle wall = Picture(18, 18, QColor(60, 60, 60), false);
    const ImageHandle objects[] = {
        Picture(36, 36, QColor(150, 80, 30), true),  Picture(72, 36, QColor(90, 60, 30), true),
        Picture(72, 72, QColor(130, 130, 140), true), Picture(144, 72, QColor(160, 30, 30), true),
    };
    for (int x = 0; x < map.FloorColumns(); ++x)
        for (int y = 0; y < map.FloorRows(); ++y)
            map.SetFloor(x, y, floor);
    for (int x = 0; x < map.WallColumns(); ++x)
        for (int y = 0; y < map.WallRows(); ++y)
            map.SetWall(x, y, wall);
    for (int i = 0; i < 500; ++i) {
        const ImageHandle image = objects[i % 4];
        const int orientation = (i / 4) % 8;
        int16_t w = static_cast<int16_t>(ImageWidth(image));
        int16_t h = static_cast<int16_t>(ImageHeight(image));
        if (orientation & 1)
            std::swap(w, h);
        map.AddObject(image, static_cast<float>((i * 97) % 1000), static_cast<float>((i * 53) % 1000),
                      w, h, orientation);
    }
    return map;
}

void BM_Redraw(benchmark::State& state)
{
    static const MapDocument map = FullMap();
    const float zoom = static_cast<float>(state.range(0)) / 100.0f;
    const bool shadows = state.range(1) != 0;
    QImage canvas(CanvasSize(map, zoom), QImage::Format_RGB32);
    MapRenderer renderer; // as the main window keeps one
    for (auto _ : state) {
        renderer.Redraw(canvas, map, LayerSwitches{}, zoom, ShadowParams{}, shadows);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}
BENCHMARK(BM_Redraw)
    ->ArgsProduct({{100, 75, 50, 25}, {0, 1}})
    ->ArgNames({"zoom%", "shadows"})
    ->Unit(benchmark::kMillisecond);

void BM_EmptyRedraw(benchmark::State& state)
{
    const MapDocument map;
    QImage canvas(CanvasSize(map, 1.0f), QImage::Format_RGB32);
    for (auto _ : state) {
        Redraw(canvas, map, LayerSwitches{}, 1.0f, ShadowParams{}, true);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}
BENCHMARK(BM_EmptyRedraw)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InitGdip();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
