// Redraw times, every figure beside the literal renderer's from the same run:
// the machine is shared and noisy, so the ratio is the figure that holds.
//
//   BM_LiteralRedraw/map:M/zoom%:Z/shadows:S  the literal renderer, whole map
//   BM_Redraw/map:M/zoom%:Z/shadows:S         the program's renderer, whole map
//   BM_DragStep/map:M/zoom%:Z                 one floor cell or wall point set
//                                             during a drag and the redraw after
//   BM_WindowDragStep/map:M/zoom%:100/ratio:R the same through the canvas's
//                                             pictures, as the main window draws
//                                             (at ratio 2 with the copy of the
//                                             map kept for export)
//   BM_ExportPicture/map:M/ratio:2            after such a step, the map's own
//                                             picture made for export
//   BM_ShortcutCheck/ratios:R                 the check of every shortcut on a
//                                             Qt they were not verified on, at
//                                             ratio 1 (and 2); on a thread of
//                                             its own beside the window
//
// M is `full` (every floor cell, every wall point, 500 objects) or `dungeon`
// (floors in about two thirds of the cells, five rooms and a corridor walled,
// 80 objects). The same names ending in /ratio:2 draw the screen picture of
// a 200 % screen. Run: build/render_bench --benchmark_repetitions=5
//                   --benchmark_report_aggregates_only=true
#include "imaging/Imaging.h"
#include "oracle/LiteralRenderer.h"
#include "render/CanvasPictures.h"
#include "render/Renderer.h"
#include "render/ShortcutCheck.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>

#include <string>
#include <utility>
#include <vector>

using namespace halvorn;

namespace {

ImageHandle Picture(int w, int h, QColor c, bool transparentCorner)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, QColor(c.red() ^ (x & 7), c.green() ^ (y & 7), c.blue()).rgb());
    if (transparentCorner) {
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillRect(0, 0, w / 3, h / 3, Qt::transparent);
    }
    return AddImage(img);
}

struct Pictures {
    ImageHandle floors[2];
    ImageHandle walls[2];
    ImageHandle objects[4];
};

const Pictures& Art()
{
    static const Pictures art{
        {Picture(72, 72, QColor(120, 110, 90), false),
         Picture(72, 72, QColor(90, 100, 120), false)},
        {Picture(18, 18, QColor(60, 60, 60), false), Picture(18, 18, QColor(80, 70, 60), false)},
        {Picture(36, 36, QColor(150, 80, 30), true), Picture(72, 36, QColor(90, 60, 30), true),
         Picture(72, 72, QColor(130, 130, 140), true), Picture(144, 72, QColor(160, 30, 30), true)},
    };
    return art;
}

void AddObjects(MapDocument& map, int count, int step)
{
    for (int i = 0; i < count; ++i) {
        const ImageHandle image = Art().objects[i % 4];
        const int orientation = (i / 4) % 8;
        int16_t w = static_cast<int16_t>(ImageWidth(image));
        int16_t h = static_cast<int16_t>(ImageHeight(image));
        if (orientation & 1)
            std::swap(w, h);
        map.AddObject(image, static_cast<float>((i * 97 * step) % 1000),
                      static_cast<float>((i * 53 * step) % 1000), w, h, orientation);
    }
}

MapDocument FullMap()
{
    MapDocument map;
    for (int x = 0; x < map.FloorColumns(); ++x)
        for (int y = 0; y < map.FloorRows(); ++y)
            map.SetFloor(x, y, Art().floors[0]);
    for (int x = 0; x < map.WallColumns(); ++x)
        for (int y = 0; y < map.WallRows(); ++y)
            map.SetWall(x, y, Art().walls[0]);
    AddObjects(map, 500, 1);
    return map;
}

// Rooms given in cells (left, top, right, bottom, inclusive), walled on their
// outlines, and a corridor joining them.
MapDocument DungeonMap()
{
    MapDocument map;
    const int rooms[][4] = {
        {1, 1, 4, 4}, {7, 1, 13, 5}, {1, 8, 5, 13}, {8, 8, 13, 13}, {6, 6, 8, 7}};
    const auto room = [&](int l, int t, int r, int b) {
        for (int x = l; x <= r; ++x)
            for (int y = t; y <= b; ++y)
                map.SetFloor(x, y, Art().floors[(x + y) % 2]);
        for (int x = 4 * l; x <= 4 * (r + 1); ++x) {
            map.SetWall(x, 4 * t, Art().walls[0]);
            map.SetWall(x, 4 * (b + 1), Art().walls[0]);
        }
        for (int y = 4 * t; y <= 4 * (b + 1); ++y) {
            map.SetWall(4 * l, y, Art().walls[1]);
            map.SetWall(4 * (r + 1), y, Art().walls[1]);
        }
    };
    for (const auto& r : rooms)
        room(r[0], r[1], r[2], r[3]);
    // The corridor: a row and a column of floor through the middle.
    for (int x = 0; x < 15; ++x)
        map.SetFloor(x, 6, Art().floors[0]);
    for (int y = 0; y < 15; ++y)
        map.SetFloor(6, y, Art().floors[1]);
    AddObjects(map, 80, 7);
    return map;
}

const MapDocument& Map(int which)
{
    static const MapDocument full = FullMap();
    static const MapDocument dungeon = DungeonMap();
    return which == 0 ? full : dungeon;
}

void SetPeakMemoryCounter(benchmark::State& state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peakMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// CPU time of the whole process (both drawing threads) per iteration: on a
// busy machine the wall time waits for a core, this does not.
class ProcessCpu {
public:
    ProcessCpu() : start_(Now()) {}
    void Report(benchmark::State& state) const
    {
        state.counters["cpuAllMs"] =
            benchmark::Counter((Now() - start_) * 1e3, benchmark::Counter::kAvgIterations);
    }

private:
    static double Now()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
    double start_;
};

void LiteralRedraw(benchmark::State& state, int which, float zoom, bool shadows, float ratio)
{
    const MapDocument& map = Map(which);
    QImage canvas(CanvasSize(map, zoom, ratio), QImage::Format_RGB32);
    const ProcessCpu cpu;
    for (auto _ : state) {
        oracle::LiteralRedraw(canvas, map, LayerSwitches{}, zoom, ShadowParams{}, shadows, ratio);
        benchmark::DoNotOptimize(canvas.constBits());
    }
    cpu.Report(state);
}

// A whole redraw, as after a zoom step or a layer switch: the renderer is
// told the canvas is new each time.
void Redraw(benchmark::State& state, int which, float zoom, bool shadows, float ratio)
{
    const MapDocument& map = Map(which);
    QImage canvas(CanvasSize(map, zoom, ratio), QImage::Format_RGB32);
    MapRenderer renderer; // as the main window keeps one
    const ProcessCpu cpu;
    for (auto _ : state) {
        canvas.detach(); // someone else's change: nothing can be kept
        renderer.Redraw(canvas, map, LayerSwitches{}, zoom, ShadowParams{}, shadows, ratio);
        benchmark::DoNotOptimize(canvas.constBits());
    }
    cpu.Report(state);
    SetPeakMemoryCounter(state);
}

// One step of a drag path across the map: a floor cell or a wall point.
void ChangeOne(MapDocument& map, int i)
{
    if (i % 2 == 0) {
        const int x = (i / 2) % 15;
        const int y = (i / 30) % 15;
        map.SetFloor(x, y,
                     map.FloorAt(x, y) == Art().floors[0] ? Art().floors[1] : Art().floors[0]);
    } else {
        const int x = (i / 2) % 61;
        const int y = (i / 122 * 5) % 61;
        map.SetWall(x, y, map.WallAt(x, y) == Art().walls[0] ? Art().walls[1] : Art().walls[0]);
    }
}

// The steady state of a drag: alternately a floor cell and a wall point along
// a path across the map changes, and the redraw without shadows follows.
void DragStep(benchmark::State& state, int which, float zoom, float ratio)
{
    MapDocument map = Map(which);
    QImage canvas(CanvasSize(map, zoom, ratio), QImage::Format_RGB32);
    MapRenderer renderer;
    renderer.Redraw(canvas, map, LayerSwitches{}, zoom, ShadowParams{}, false, ratio);
    int step = 0;
    const ProcessCpu cpu;
    for (auto _ : state) {
        ChangeOne(map, step++);
        renderer.Redraw(canvas, map, LayerSwitches{}, zoom, ShadowParams{}, false, ratio);
        benchmark::DoNotOptimize(canvas.constBits());
    }
    cpu.Report(state);
}

void WindowDragStep(benchmark::State& state, int which, float ratio)
{
    MapDocument map = Map(which);
    CanvasPictures pictures;
    pictures.Redraw(map, LayerSwitches{}, 1.0f, ShadowParams{}, false, ratio);
    int step = 0;
    for (auto _ : state) {
        ChangeOne(map, step++);
        pictures.Redraw(map, LayerSwitches{}, 1.0f, ShadowParams{}, false, ratio);
        benchmark::DoNotOptimize(pictures.Screen().constBits());
    }
}

void ExportPicture(benchmark::State& state, int which)
{
    MapDocument map = Map(which);
    CanvasPictures pictures;
    pictures.Redraw(map, LayerSwitches{}, 1.0f, ShadowParams{}, true, 2.0f);
    pictures.MapPicture();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ChangeOne(map, step++);
        pictures.Redraw(map, LayerSwitches{}, 1.0f, ShadowParams{}, true, 2.0f);
        state.ResumeTiming();
        benchmark::DoNotOptimize(pictures.MapPicture().constBits());
    }
}

void ShortcutCheck(benchmark::State& state, std::vector<float> ratios)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckShortcuts(RenderShortcuts(), ratios));
}

void Register()
{
    const char* names[] = {"full", "dungeon"};
    for (const float ratio : {1.0f, 2.0f})
        for (int which = 0; which < 2; ++which)
            for (const int percent : {100, 75, 50, 25}) {
                const float zoom = static_cast<float>(percent) / 100.0f;
                const std::string where =
                    std::string("/map:") + names[which] + "/zoom%:" + std::to_string(percent);
                const std::string screen = ratio == 1.0f ? "" : "/ratio:2";
                for (const bool shadows : {false, true}) {
                    const std::string tail = where + "/shadows:" + (shadows ? "1" : "0") + screen;
                    benchmark::RegisterBenchmark(("BM_LiteralRedraw" + tail).c_str(), LiteralRedraw,
                                                 which, zoom, shadows, ratio)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
                    benchmark::RegisterBenchmark(("BM_Redraw" + tail).c_str(), Redraw, which, zoom,
                                                 shadows, ratio)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
                }
                benchmark::RegisterBenchmark(("BM_DragStep" + where + screen).c_str(), DragStep,
                                             which, zoom, ratio)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
    for (int which = 0; which < 2; ++which) {
        const std::string map = std::string("/map:") + names[which];
        for (const float ratio : {1.0f, 2.0f})
            benchmark::RegisterBenchmark(
                ("BM_WindowDragStep" + map + "/zoom%:100/ratio:" + (ratio == 1.0f ? "1" : "2"))
                    .c_str(),
                WindowDragStep, which, ratio)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        benchmark::RegisterBenchmark(("BM_ExportPicture" + map + "/ratio:2").c_str(), ExportPicture,
                                     which)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("BM_ShortcutCheck/ratios:1", ShortcutCheck, std::vector{1.0f})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_ShortcutCheck/ratios:1,2", ShortcutCheck,
                                 std::vector{1.0f, 2.0f})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InitGdip();
    Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
