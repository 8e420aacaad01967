// Opening palettes of real library sizes: 5,000 hex floors, 6,500 props of
// every size, and the bundled set. Each opening is measured to the first rows
// in view and to the whole list, with nothing kept (cache:cold) and with the
// thumbnails of the last opening (cache:warm), beside the literal way of
// drawing every picture one by one on one thread, in the same run.
//
// Slow storage: 1,500 floors whose every folder call is delayed through the
// palette's seam (0 and 3 ms), each opening measured as the time the
// user-interface thread is busy and the wall time to the last thumbnail,
// beside the synchronous way of the earlier program (listing, examining and
// the rows in view on the user-interface thread) in the same run.
//
// Memory: two art packs of 4,900 and 6,600 pictures of 16 to 2,400 pixels
// opened one after the other, the peak resident size of the process.
#include "GeneratedLibrary.h"

#include "imaging/Imaging.h"
#include "library/FolderCalls.h"
#include "library/PaletteLayout.h"
#include "library/PaletteModel.h"
#include "library/TileLibraryPanel.h"
#include "library/TileListing.h"
#include "oracle/LiteralPalette.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

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
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The cells a pane shows at the top of its list.
halvorn::CellRange FirstRows(BrushKind kind)
{
    return halvorn::PaletteGrid::Of(kind).CellsInRows(0, halvorn::PaletteFrameHeight);
}

// The wall time the user-interface thread spends delivering events (every
// timer, signal and input handler runs inside one delivery): while it does,
// it answers nothing else. Waits for the next event are not counted.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        if (depth_++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        QElapsedTimer clock;
        clock.start();
        const bool handled = QApplication::notify(receiver, event);
        busyNs_ += clock.nsecsElapsed();
        --depth_;
        return handled;
    }
    qint64 BusyNs() const { return busyNs_; }

private:
    int depth_ = 0;
    qint64 busyNs_ = 0;
};

// Wall time since it was made, and the user-interface thread's busy time in
// it: event deliveries plus what the caller adds of its own direct calls.
class BusyClock {
public:
    BusyClock() : busyAtStart_(App().BusyNs()) { wall_.start(); }
    double WallMs() const { return static_cast<double>(wall_.nsecsElapsed()) / 1e6; }
    double BusyMs() const
    {
        return static_cast<double>(App().BusyNs() - busyAtStart_ + directNs_) / 1e6;
    }
    template <class Call>
    void Direct(Call call)
    {
        QElapsedTimer clock;
        clock.start();
        call();
        directNs_ += clock.nsecsElapsed();
    }

private:
    static const TimedApplication& App()
    {
        return *static_cast<const TimedApplication*>(QCoreApplication::instance());
    }
    QElapsedTimer wall_;
    qint64 busyAtStart_;
    qint64 directNs_ = 0;
};

bool FirstRowsDone(const halvorn::PaletteModel& model, BrushKind kind)
{
    if (model.IsListing())
        return false;
    for (int i = 0; i < std::min(FirstRows(kind).end, model.Count()); ++i)
        if (!model.IsConfirmed(i))
            return false;
    return true;
}

struct Opening {
    double firstRowsMs = 0;
    double wallMs = 0;
    double busyMs = 0;
};

// One opening as the pane does it: the listing and the thumbnails come from
// the workers while the event loop runs.
Opening OpenOnce(halvorn::PaletteModel& model, BrushKind kind, const QString& folder)
{
    Opening took;
    BusyClock clock;
    clock.Direct([&] { model.Open(kind, folder, Background); });
    // Sleeps between events (the loader's timers wake it every 10 ms), so
    // the busy clock sees the user-interface thread idle as it would be.
    while (model.IsFilling()) {
        if (took.firstRowsMs == 0 && FirstRowsDone(model, kind))
            took.firstRowsMs = clock.WallMs();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (took.firstRowsMs == 0)
        took.firstRowsMs = clock.WallMs();
    took.wallMs = clock.WallMs();
    took.busyMs = clock.BusyMs();
    return took;
}

void BM_PaletteOpen(benchmark::State& state, size_t which, bool warm)
{
    const Library& library = Libraries()[which];
    auto model = std::make_unique<halvorn::PaletteModel>();
    double firstRowsMs = 0;
    if (warm)
        OpenOnce(*model, library.kind, library.folder);
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            model = std::make_unique<halvorn::PaletteModel>();
            state.ResumeTiming();
        }
        firstRowsMs += OpenOnce(*model, library.kind, library.folder).firstRowsMs;
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

// 1,500 floors, as in the users' report of a folder on slow storage.
const QString& SlowFolder()
{
    static QTemporaryDir temporary;
    static const QString folder = [] {
        const QString kept = qEnvironmentVariable("HALVORN_PALETTE_BENCH_DIR");
        const QString made =
            QDir(kept.isEmpty() ? temporary.path() : kept).filePath(QStringLiteral("floors1500"));
        if (!QDir(made).exists() && QDir().mkpath(made))
            hostile::WriteGeneratedLibrary(made, hostile::LibraryShape::Floors, 1500, 3,
                                           QStringLiteral("slow"));
        return made;
    }();
    return folder;
}

// Every folder call waits `ms` first, as on storage that answers late.
void DelayEveryCall(int ms)
{
    if (ms == 0) {
        halvorn::foldercalls::SetHook({});
        return;
    }
    halvorn::foldercalls::SetHook([ms](halvorn::foldercalls::Call, const QString&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return 0;
    });
}

void BM_SlowStorageOpen(benchmark::State& state)
{
    DelayEveryCall(static_cast<int>(state.range(0)));
    double busyMs = 0, firstRowsMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<halvorn::PaletteModel>(); // nothing kept
        state.ResumeTiming();
        const Opening took = OpenOnce(*model, BrushKind::Floor, SlowFolder());
        busyMs += took.busyMs;
        firstRowsMs += took.firstRowsMs;
    }
    DelayEveryCall(0);
    state.counters["ui_busy_ms"] = benchmark::Counter(busyMs, benchmark::Counter::kAvgIterations);
    state.counters["first_rows_ms"] =
        benchmark::Counter(firstRowsMs, benchmark::Counter::kAvgIterations);
}

// The earlier program's opening, all on the calling thread: the folder
// listed and every file examined, then the rows in view decoded before the
// pane showed (the user-interface thread's part, ui_busy_ms); the rest here
// too, one by one, to the last thumbnail.
void BM_SlowStorageOldWay(benchmark::State& state)
{
    DelayEveryCall(static_cast<int>(state.range(0)));
    const halvorn::CellRange view = FirstRows(BrushKind::Floor);
    double busyMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const std::vector<halvorn::TileFile> files = halvorn::ListTileFolder(SlowFolder());
        std::vector<QImage> thumbnails;
        const auto make = [&](const halvorn::TileFile& file) {
            if (halvorn::foldercalls::Before(halvorn::foldercalls::Call::ReadPicture, file.path) ==
                0)
                thumbnails.push_back(
                    halvorn::MakeThumbnail(BrushKind::Floor, file.path, Background));
        };
        for (size_t i = 0; i < files.size(); ++i) {
            if (i == static_cast<size_t>(view.end))
                busyMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
            make(files[i]);
        }
        benchmark::DoNotOptimize(thumbnails.data());
    }
    DelayEveryCall(0);
    state.counters["ui_busy_ms"] = benchmark::Counter(busyMs, benchmark::Counter::kAvgIterations);
}

// The process's peak resident size since the last reset, in MB.
double PeakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void ResetPeakResident()
{
    // "5" sets the peak back to the size resident now (Linux 4.0 on).
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

const std::pair<QString, QString>& Packs()
{
    static QTemporaryDir temporary;
    static const std::pair<QString, QString> packs = [] {
        const QString kept = qEnvironmentVariable("HALVORN_PALETTE_BENCH_DIR");
        const QDir root(kept.isEmpty() ? temporary.path() : kept);
        const QString floors = root.filePath(QStringLiteral("pack_floors4900"));
        const QString objects = root.filePath(QStringLiteral("pack_objects6600"));
        if (!QDir(floors).exists() && QDir().mkpath(floors))
            hostile::WriteGeneratedLibrary(floors, hostile::LibraryShape::Packs, 4900, 4,
                                           QStringLiteral("floor"));
        if (!QDir(objects).exists() && QDir().mkpath(objects))
            hostile::WriteGeneratedLibrary(objects, hostile::LibraryShape::Packs, 6600, 5,
                                           QStringLiteral("prop"));
        return std::make_pair(floors, objects);
    }();
    return packs;
}

// The two packs opened one after the other by one model, as a user opens
// the floor palette and then the object palette. Best run alone
// (--benchmark_filter=Memory): the peak counts what the process held before.
void BM_PaletteMemory(benchmark::State& state)
{
    const auto& [floors, objects] = Packs();
    double startMb = 0, peakMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeakResident();
        startMb = PeakResidentMb();
        state.ResumeTiming();
        halvorn::PaletteModel model;
        OpenOnce(model, BrushKind::Floor, floors);
        model.Close();
        OpenOnce(model, BrushKind::Object, objects);
        model.Close();
        peakMb = std::max(peakMb, PeakResidentMb());
    }
    state.counters["start_mb"] = startMb;
    state.counters["peak_mb"] = peakMb;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
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
    const std::pair<const char*, void (*)(benchmark::State&)> slow[] = {
        {"BM_SlowStorageOpen/floors1500/delay_ms", BM_SlowStorageOpen},
        {"BM_SlowStorageOldWay/floors1500/delay_ms", BM_SlowStorageOldWay},
    };
    for (const auto& [name, function] : slow)
        benchmark::RegisterBenchmark(name, function)
            ->Arg(0)
            ->Arg(3)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    benchmark::RegisterBenchmark("BM_PaletteMemory/packs4900+6600", BM_PaletteMemory)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("BM_PaletteScrollStep/floors5000", BM_PaletteScrollStep)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
