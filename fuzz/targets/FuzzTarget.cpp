// One libFuzzer target per door; HALVORN_DOOR names the door this build of
// the file calls. A broken rule is a crash, so libFuzzer keeps the input.
#include "Doors.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <time.h>

namespace {

// CPU time of the whole process (the drawing may use Qt's threads): on a
// machine shared with other work the wall clock says more about the others.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<Clock, duration>;
    static time_point now()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return time_point(std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec));
    }
};

// The input that took the most CPU time so far, reported at the end of a run; with
// HALVORN_FUZZ_SLOWEST set it is also written to that file and its time in
// milliseconds to the file's name + ".ms", which the next process of a
// forking run starts from.
Clock::duration Slowest{};

QString SlowestPath()
{
    return QString::fromLocal8Bit(qgetenv("HALVORN_FUZZ_SLOWEST"));
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void ReportSlowest()
{
    std::fprintf(stderr, "slowest input: %.1f ms of CPU time\n", Milliseconds(Slowest));
}

void ReadSlowest()
{
    QFile file(SlowestPath() + QStringLiteral(".ms"));
    if (!SlowestPath().isEmpty() && file.open(QIODevice::ReadOnly))
        Slowest = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double, std::milli>(file.readAll().trimmed().toDouble()));
}

void WriteSlowest(QByteArrayView bytes)
{
    if (SlowestPath().isEmpty())
        return;
    QFile input(SlowestPath());
    if (input.open(QIODevice::WriteOnly | QIODevice::Truncate))
        input.write(bytes.data(), bytes.size());
    QFile time(SlowestPath() + QStringLiteral(".ms"));
    if (time.open(QIODevice::WriteOnly | QIODevice::Truncate))
        time.write(QByteArray::number(Milliseconds(Slowest), 'f', 1));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    halvorn::doors::PrepareProcess();
    // Qt may not see libFuzzer's arguments: it would take some out. The
    // application lives until libFuzzer ends the process from its loop.
    static int argc = 1;
    static char name[] = "halvorn-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    Q_UNUSED(app);
    ReadSlowest();
    std::atexit(ReportSlowest);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Clock::time_point start = Clock::now();
    const QStringList broken = halvorn::doors::HALVORN_DOOR(bytes);
    const Clock::duration took = Clock::now() - start;
    if (!broken.isEmpty()) {
        for (const QString& rule : broken)
            std::fprintf(stderr, "broken rule: %s\n", qPrintable(rule));
        std::abort();
    }
    if (took > Slowest) {
        Slowest = took;
        WriteSlowest(bytes);
    }
    return 0;
}
