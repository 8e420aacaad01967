// halvorn3-monkey --ops N --seed S [--verbose]
// The monkey: a seeded random user of the real main window, headless. Each
// operation is one thing a user does (a click, a drag, a command with its
// dialog answered); after each one every invariant is checked. Ends with the
// line "ops: N, seed: S, violations: V"; the exit status is 0 only when V is 0.
#include "Answerer.h"
#include "InvariantChecker.h"
#include "Operations.h"
#include "World.h"

#include "app/HalvornApplication.h"
#include "settings/SettingsStore.h"

#include <QRegularExpression>

#include <cstring>

namespace monkey {

namespace {

class Monkey {
public:
    Monkey(frmMain& window, const World& world, uint64_t seed)
        : window_(window), seed_(seed), dice_(seed), answerer_(dice_, world), checker_(window),
          operations_(window, dice_)
    {
    }

    // Runs `count` operations; returns the number of broken invariants.
    int Run(int count, bool verbose)
    {
        // clang-format off
        const struct { const char* name; int weight; void (Operations::*run)(OperationFacts&); } ops[] = {
            {"canvas click", 160, &Operations::CanvasClick}, {"canvas drag", 130, &Operations::CanvasDrag},
            {"canvas double-click", 40, &Operations::CanvasDoubleClick}, {"canvas wheel", 50, &Operations::CanvasWheel},
            {"preview box", 70, &Operations::PreviewBoxClick}, {"palette hover", 30, &Operations::PaletteHover},
            {"palette pick", 90, &Operations::PalettePick}, {"palette scroll", 30, &Operations::PaletteScroll},
            {"brush button", 40, &Operations::BrushButton}, {"layer switch", 40, &Operations::LayerSwitch},
            {"zoom", 40, &Operations::ZoomCommand}, {"scroll map", 30, &Operations::ScrollMap},
            {"window size", 25, &Operations::ResizeWindow}, {"open or save", 20, &Operations::OpenOrSave},
            {"new map", 15, &Operations::NewMap}, {"options", 25, &Operations::Options},
            {"export", 15, &Operations::Export}, {"print", 6, &Operations::Print}, {"about", 8, &Operations::About},
        };
        // clang-format on
        int total = 0;
        for (const auto& op : ops)
            total += op.weight;
        int violations = 0;
        for (int n = 1; n <= count; ++n) {
            int pick = dice_.Below(total);
            const auto* op = &ops[0];
            while (pick >= op->weight)
                pick -= (op++)->weight;
            OperationFacts facts;
            facts.savedBefore = window_.Map().MapSaved();
            facts.mapBefore = hostile::MapSnapshot::Of(window_.Map());
            (operations_.*op->run)(facts);
            Operations::Settle();
            const QStringList answers = answerer_.TakeRecord();
            facts.newMapConfirmed =
                !answers.filter(QRegularExpression(QStringLiteral("^New Map\\|.* -> Yes$")))
                     .isEmpty();
            const QString line =
                Say("#%1 %2", n, QLatin1String(op->name)) +
                (answers.isEmpty() ? QString() : Say(" [%1]", answers.join(QStringLiteral("; "))));
            // Verbose runs list every operation; any run names the one that broke something.
            if (verbose)
                std::printf("%s\n", qPrintable(line));
            const QStringList broken = checker_.Check(facts, answerer_.PopupSeen());
            for (const QString& b : broken)
                std::printf("violation: seed %llu, operation %d: %s\n",
                            static_cast<unsigned long long>(seed_), n, qPrintable(b));
            violations += static_cast<int>(broken.size());
            if (!broken.isEmpty()) {
                if (!verbose)
                    std::printf("    %s\n", qPrintable(line));
                // Carry on from a clean state: nothing may stay open.
                while (QWidget* w = QApplication::activePopupWidget())
                    w->close();
                while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    d->reject();
            }
            std::fflush(stdout);
        }
        return violations;
    }

private:
    frmMain& window_;
    uint64_t seed_;
    Dice dice_;
    Answerer answerer_;
    InvariantChecker checker_;
    Operations operations_;
};

} // namespace

} // namespace monkey

int main(int argc, char** argv)
{
    using namespace halvorn;
    int ops = 2000;
    uint64_t seed = std::random_device{}();
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--ops") == 0 && hasValue && (ops = std::atoi(argv[++i])) >= 0)
            continue;
        if (std::strcmp(argv[i], "--seed") == 0 && hasValue)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--verbose") == 0)
            verbose = true;
        else
            return std::fprintf(stderr,
                                "usage: halvorn3-monkey [--ops N] [--seed S] [--verbose]\n"),
                   2;
    }
    // Settings of its own, never the user's; set before anything reads them.
    const QTemporaryDir home;
    if (!testsupport::UsePrivateHome(home))
        return 2;

    HalvornApplication app(argc, argv);
    const monkey::World world;
    if (!world.IsValid())
        return 2;
    for (const auto& [key, folder] :
         {std::pair{keys::LocationFloors, "Floors"}, std::pair{keys::LocationWalls, "Walls"},
          std::pair{keys::LocationObjects, "Objects"}})
        SaveSetting(QLatin1String(key), world.Path(folder));
    std::printf("seed: %llu\n", static_cast<unsigned long long>(seed));
    std::fflush(stdout);
    int violations = 0;
    {
        frmMain window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 2;
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            std::printf("note: the window did not become active\n");
        monkey::Monkey m(window, world, seed);
        violations = m.Run(ops, verbose);
        window.hide();
    }
    std::printf("ops: %d, seed: %llu, violations: %d\n", ops, static_cast<unsigned long long>(seed),
                violations);
    return violations == 0 ? 0 : 1;
}
