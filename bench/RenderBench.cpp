// How long a redraw takes for a busy map: every floor cell, a wall around
// every cell and a crowd of objects, with and without shadows, per zoom.
#include "render/Imaging.h"
#include "render/Renderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

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

MapDocument BusyMap()
{
    MapDocument map;
    const ImageHandle floor = Picture(72, 72, QColor(120, 110, 90), false);
    const ImageHandle wall = Picture(18, 18, QColor(60, 60, 60), false);
    const ImageHandle object = Picture(72, 36, QColor(150, 80, 30), true);
    for (int x = 0; x < 15; ++x)
        for (int y = 0; y < 15; ++y)
            map.SetFloor(x, y, floor);
    // Every cell edge walled: the heaviest map a user is likely to draw.
    for (int x = 0; x <= 60; ++x)
        for (int y = 0; y <= 60; ++y)
            if (x % 4 == 0 || y % 4 == 0)
                map.SetWall(x, y, wall);
    for (int i = 0; i < 60; ++i)
        map.AddObject(object, static_cast<float>((i * 97) % 1000), static_cast<float>((i * 53) % 1000),
                      72, 36, i % 8);
    return map;
}

void BM_Redraw(benchmark::State& state)
{
    static const MapDocument map = BusyMap();
    const float zoom = static_cast<float>(state.range(0)) / 100.0f;
    const bool shadows = state.range(1) != 0;
    QImage canvas(CanvasSize(map, zoom), QImage::Format_RGB32);
    for (auto _ : state) {
        Redraw(canvas, map, LayerSwitches{}, zoom, ShadowParams{}, shadows);
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
