// How long the editor takes from nothing to a shown main window (the splash
// off): creating the window, laying it out and painting it once.
#include "app/HalvornApplication.h"
#include "app/frmMain.h"

#include <QTest>

#include <benchmark/benchmark.h>

namespace {

void BM_MainWindowShown(benchmark::State& state)
{
    for (auto _ : state) {
        halvorn::frmMain window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            state.SkipWithError("the window was never shown");
        QCoreApplication::processEvents();
        window.hide();
    }
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond);

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
