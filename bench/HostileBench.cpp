// The hostile picture corpus (tests/hostile) as measurements: the time and
// peak memory of the thumbnail and the loader for each kind of file, the
// libpng crashers (a few dozen bytes declaring a gigabyte chunk) on their
// own, and a floor palette of 160 good pictures opened with and without the
// eight crashers beside them. The tests check that each file is refused or
// read as it must be, and within the memory bound.
#include "HostileCorpus.h"
#include "PaletteSupport.h"
#include "ProcessMemory.h"

#include "imaging/Imaging.h"
#include "library/PaletteModel.h"
#include "library/Thumbnail.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <map>

namespace {

using halvorn::BrushKind;

// The corpus, written once per run, by kind.
const std::map<QString, QStringList>& Corpus()
{
    static hostile::CorpusDir dir;
    static const std::map<QString, QStringList> kinds = [] {
        std::map<QString, QStringList> byKind;
        for (const hostile::CorpusFile& f : hostile::WriteCorpus(dir.path(), {}))
            if (f.kind != QLatin1String("fifo")) // nothing may wait on a pipe
                byKind[f.kind] << hostile::PathOf(dir.path(), f.name);
        return byKind;
    }();
    return kinds;
}

// Thumbnail and loading of every file of one kind; decoded and refused
// counted, the peak the files lifted the process by reported.
void BM_CorpusKind(benchmark::State& state, const QString& kind)
{
    const QStringList& paths = Corpus().at(kind);
    int decoded = 0;
    long peakKiB = 0;
    for (auto _ : state) {
        decoded = 0;
        hostile::ResetPeak();
        const long before = hostile::ResidentKiB();
        for (const QString& path : paths) {
            benchmark::DoNotOptimize(MakeThumbnail(BrushKind::Floor, path, Qt::darkGray));
            halvorn::ImageHandle image = 0;
            decoded += halvorn::GdipLoadImageFromFile(path, &image) == halvorn::Ok;
        }
        peakKiB = std::max(peakKiB, hostile::PeakResidentKiB() - before);
    }
    state.counters["files"] = static_cast<double>(paths.size());
    state.counters["decoded"] = decoded;
    state.counters["peak_KiB"] = static_cast<double>(peakKiB);
}

// A fresh model over 160 good floor pictures, with (1) or without (0) the
// crashers in the same folder: the crashers must cost the palette nothing.
void BM_PaletteBesideCrashers(benchmark::State& state)
{
    QTemporaryDir folder;
    for (int i = 0; i < 160; ++i)
        hostile::SourcePicture(72, 72, i % 2 == 0, static_cast<uint32_t>(i))
            .save(folder.filePath(QStringLiteral("good_%1.png").arg(i)), "PNG");
    if (state.range(0) == 1)
        for (const QString& path : Corpus().at(QStringLiteral("crasher")))
            QFile::copy(path, folder.filePath(path.section(QLatin1Char('/'), -1)));
    for (auto _ : state) {
        halvorn::PaletteModel model(nullptr, 0);
        testsupport::FillPalette(model, BrushKind::Floor, folder.path(), Qt::darkGray);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    halvorn::InitGdip();
    benchmark::Initialize(&argc, argv);
    for (const auto& [kind, paths] : Corpus())
        benchmark::RegisterBenchmark(("BM_CorpusKind/" + kind.toStdString()).c_str(), BM_CorpusKind,
                                     kind)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    benchmark::RegisterBenchmark("BM_PaletteBesideCrashers/crashers", BM_PaletteBesideCrashers)
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
