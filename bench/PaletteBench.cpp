// Opening palettes of real library sizes: 5,000 hex floors, 6,500 props of
// every size, and the bundled set. Each opening is measured to the first rows
// in view and to the whole list, with nothing kept (cache:cold) and with the
// thumbnails of the last opening (cache:warm), beside the literal way of
// drawing every picture one by one on one thread, in the same run.
#include "GeneratedLibrary.h"

#include "library/PaletteLayout.h"
#include "library/PaletteModel.h"
#include "library/TileLibraryPanel.h"
#include "library/TileListing.h"
#include "oracle/LiteralPalette.h"
#include "render/Imaging.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using halvorn::BrushKind;

struct Library {
    const char* name;
    BrushKind kind;
    QString folder;
};

const QColor Background(160, 160, 160);

// Written once per run: thousands of PNG files take seconds to make. With
// HALVORN_PALETTE_BENCH_DIR set they are written there once and kept, for
// runs under a profiler.
const std::vector<Library>& Libraries()
{
    static QTemporaryDir temporary;
    static const std::vector<Library> libraries = [] {
        const QString kept = qEnvironmentVariable("HALVORN_PALETTE_BENCH_DIR");
        const QDir root(kept.isEmpty() ? temporary.path() : kept);
        const QString floors = root.filePath(QStringLiteral("floors"));
        const QString objects = root.filePath(QStringLiteral("objects"));
        if (!QDir(floors).exists() && QDir().mkpath(floors))
            hostile::WriteGeneratedLibrary(floors, hostile::LibraryShape::Floors, 5000, 1,
                                           QStringLiteral("hex"));
        if (!QDir(objects).exists() && QDir().mkpath(objects))
            hostile::WriteGeneratedLibrary(objects, hostile::LibraryShape::Objects, 6500, 2,
                                           QStringLiteral("prop"));
        return std::vector<Library>{
            {"floors5000", BrushKind::Floor, floors},
            {"objects6500", BrushKind::Object, objects},
            {"bundled", BrushKind::Object, halvorn::AppPath() + QStringLiteral("Objects")},
        };
    }();
    return libraries;
}

void WaitUntilFilled(const halvorn::PaletteModel& model)
{
    while (model.IsFilling())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

// The cells a pane shows at the top of its list.
halvorn::CellRange FirstRows(BrushKind kind)
{
    return halvorn::PaletteCellsInRows(kind, 0, halvorn::PaletteFrameHeight);
}

// One opening as the pane does it: list, make the rows in view, hand the
// rest to the workers. `firstRows` gets the time to the rows in view.
void OpenOnce(halvorn::PaletteModel& model, const Library& library, double& firstRowsMs)
{
    QElapsedTimer clock;
    clock.start();
    model.Open(library.kind, library.folder, Background);
    while (model.MakeNow(FirstRows(library.kind))) {
    }
    firstRowsMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
    model.StartFilling(FirstRows(library.kind).end);
    WaitUntilFilled(model);
}

void BM_PaletteOpen(benchmark::State& state, size_t which, bool warm)
{
    const Library& library = Libraries()[which];
    auto model = std::make_unique<halvorn::PaletteModel>();
    double firstRowsMs = 0, unused = 0;
    if (warm)
        OpenOnce(*model, library, unused);
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            model = std::make_unique<halvorn::PaletteModel>();
            state.ResumeTiming();
        }
        OpenOnce(*model, library, firstRowsMs);
        model->Close();
    }
    state.counters["first_rows_ms"] =
        benchmark::Counter(firstRowsMs, benchmark::Counter::kAvgIterations);
    state.counters["pictures"] = model->PathsOf(library.kind).size();
}

void BM_PaletteLiteral(benchmark::State& state, size_t which)
{
    const Library& library = Libraries()[which];
    qsizetype shown = 0;
    for (auto _ : state) {
        const auto palette = halvorn::oracle::LiteralPalette(
            library.kind, halvorn::ListTileFiles(library.folder), Background);
        shown = palette.paths.size();
        benchmark::DoNotOptimize(palette.canvas.constBits());
    }
    state.counters["pictures"] = static_cast<double>(shown);
}

// One small step of the scroll bar over a filled pane of 5,000 floors, and
// the repaint the user waits for.
void BM_PaletteScrollStep(benchmark::State& state)
{
    const Library& library = Libraries()[0];
    halvorn::SaveSetting(QLatin1String(halvorn::keys::LocationFloors), library.folder);
    QWidget window;
    window.resize(640, 520);
    halvorn::Brush brush{QColor(240, 240, 240)};
    halvorn::TileLibraryPanel panel(&window, brush);
    window.show();
    panel.TogglePalette(BrushKind::Floor);
    WaitUntilFilled(panel.Model());
    halvorn::PalettePane* pane = panel.Pane(BrushKind::Floor);
    QScrollBar* bar = pane->ScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->singleStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        pane->repaint();
    }
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    halvorn::InitGdip();
    benchmark::Initialize(&argc, argv);
    const char* names[] = {"floors5000", "objects6500", "bundled"};
    for (size_t i = 0; i < 3; ++i) {
        const std::string name = names[i];
        benchmark::RegisterBenchmark(("BM_PaletteOpen/" + name + "/cache:cold").c_str(),
                                     BM_PaletteOpen, i, false)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("BM_PaletteOpen/" + name + "/cache:warm").c_str(),
                                     BM_PaletteOpen, i, true)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("BM_PaletteLiteral/" + name).c_str(), BM_PaletteLiteral, i)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("BM_PaletteScrollStep/floors5000", BM_PaletteScrollStep)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
