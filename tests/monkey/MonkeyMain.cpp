// halvorn3-monkey --ops N --seed S [--verbose]
// Drives the real main window headless with N seeded random operations and
// checks every invariant after each one. Ends with the line
// "ops: N, seed: S, violations: V"; the exit status is 0 only when V is 0.
#include "Monkey.h"
#include "MonkeyWorld.h"
#include "ProcessMemory.h"

#include "app/HalvornApplication.h"
#include "app/frmMain.h"
#include "settings/SettingsStore.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

struct Arguments {
    int ops = 2000;
    uint64_t seed = 0;
    bool seedGiven = false;
    bool verbose = false;
    bool ok = true;
};

Arguments Parse(int argc, char** argv)
{
    Arguments a;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--ops") == 0 && hasValue) {
            a.ops = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue) {
            a.seed = std::strtoull(argv[++i], nullptr, 10);
            a.seedGiven = true;
        } else if (std::strcmp(argv[i], "--verbose") == 0) {
            a.verbose = true;
        } else {
            a.ok = false;
        }
    }
    a.ok = a.ok && a.ops >= 0;
    return a;
}

} // namespace

int main(int argc, char** argv)
{
    Arguments args = Parse(argc, argv);
    if (!args.ok) {
        std::fprintf(stderr, "usage: halvorn3-monkey [--ops N] [--seed S] [--verbose]\n");
        return 2;
    }
    if (!args.seedGiven)
        args.seed = std::random_device{}();

    // Settings of its own, never the user's; set before anything reads them.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    halvorn::HalvornApplication app(argc, argv);
    monkey::MonkeyWorld world;
    if (!world.IsValid())
        return 2;
    halvorn::SaveSetting(QLatin1String(halvorn::keys::LocationFloors), world.Floors());
    halvorn::SaveSetting(QLatin1String(halvorn::keys::LocationWalls), world.Walls());
    halvorn::SaveSetting(QLatin1String(halvorn::keys::LocationObjects), world.Objects());

    std::printf("seed: %llu\n", static_cast<unsigned long long>(args.seed));
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    int violations = 0;
    int oracleDrawings = 0;
    {
        halvorn::frmMain window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 2;
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            std::printf("note: the window did not become active\n");
        monkey::Monkey m(window, world, args.seed);
        violations = m.Run(args.ops, args.verbose);
        oracleDrawings = m.OracleDrawings();
        window.hide();
    }
    std::printf("time: %.1f s, oracle drawings: %d, peak memory: %ld MiB\n",
                static_cast<double>(clock.elapsed()) / 1000.0, oracleDrawings,
                hostile::PeakResidentKiB() / 1024);
    std::printf("ops: %d, seed: %llu, violations: %d\n", args.ops,
                static_cast<unsigned long long>(args.seed), violations);
    return violations == 0 ? 0 : 1;
}
