// How long the editor takes from nothing to a shown main window (the splash
// off): creating the window, laying it out and painting it once; /check:1
// with the background check of the renderer's shortcuts that a Qt release
// they were not verified on starts, which must not delay it.
#include "app/HalvornApplication.h"
#include "app/frmMain.h"

#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_MainWindowShown(benchmark::State& state)
{
    if (state.range(0))
        qputenv("HALVORN_CHECK_SHORTCUTS", "1");
    else
        qunsetenv("HALVORN_CHECK_SHORTCUTS");
    for (auto _ : state) {
        auto window = std::make_unique<halvorn::frmMain>();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            state.SkipWithError("the window was never shown");
        QCoreApplication::processEvents();
        window->hide();
        // The window's end waits for a check still running: not part of the start.
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowShown)->ArgName("check")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    halvorn::HalvornApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
