// Opening a palette of a big tile folder: listing it, decoding every picture
// and drawing its thumbnail, as each opening does afresh.
#include "library/PaletteRender.h"
#include "library/TileListing.h"
#include "render/Imaging.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_OpenFloorPalette(benchmark::State& state)
{
    QTemporaryDir folder;
    for (int i = 0; i < state.range(0); ++i) {
        QImage tile(72, 72, QImage::Format_RGB32);
        tile.fill(QColor::fromHsv(i % 360, 120, 180));
        QPainter p(&tile);
        p.drawLine(0, i % 72, 71, 71 - i % 72); // not all alike, as real tiles
        p.end();
        tile.save(folder.filePath(QStringLiteral("tile%1.png").arg(i)));
    }
    for (auto _ : state) {
        const halvorn::PaletteImage palette = halvorn::RenderPalette(
            halvorn::TileKind::Floor, halvorn::ListTileFiles(folder.path()), Qt::darkGray);
        benchmark::DoNotOptimize(palette.canvas.constBits());
    }
}
BENCHMARK(BM_OpenFloorPalette)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    halvorn::InitGdip();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
