// halvorn3-monkey --ops N --seed S [--verbose]
// The monkey: a seeded random user of the real main window, headless. Each
// operation is one thing a user does (a click, a drag, a command with its
// dialog answered); after each one every invariant is checked. Ends with the
// line "ops: N, seed: S, violations: V"; the exit status is 0 only when V is 0.
#include "Answerer.h"
#include "InvariantChecker.h"
#include "ProcessMemory.h"
#include "World.h"

#include "PaletteSupport.h"
#include "app/HalvornApplication.h"
#include "settings/SettingsStore.h"

#include <QElapsedTimer>
#include <QWheelEvent>

#include <cstring>
#include <deque>
#include <functional>

namespace monkey {

namespace {

class Monkey {
public:
    Monkey(frmMain& window, const World& world, uint64_t seed)
        : window_(window), seed_(seed), dice_(seed), answerer_(dice_, world), checker_(window),
          canvas_(window.findChild<MapCanvas*>(QStringLiteral("Canvas"))),
          library_(window.findChild<TileLibraryPanel*>())
    {
    }

    // Runs `count` operations; returns the number of broken invariants.
    int Run(int count, bool verbose)
    {
        // clang-format off
        const struct { const char* name; int weight; void (Monkey::*run)(OperationFacts&); } ops[] = {
            {"canvas click", 160, &Monkey::CanvasClick}, {"canvas drag", 130, &Monkey::CanvasDrag},
            {"canvas double-click", 40, &Monkey::CanvasDoubleClick}, {"canvas wheel", 50, &Monkey::CanvasWheel},
            {"preview box", 70, &Monkey::PreviewBoxClick}, {"palette hover", 30, &Monkey::PaletteHover},
            {"palette pick", 90, &Monkey::PalettePick}, {"palette scroll", 30, &Monkey::PaletteScroll},
            {"brush button", 40, &Monkey::BrushButton}, {"layer switch", 40, &Monkey::LayerSwitch},
            {"zoom", 40, &Monkey::ZoomCommand}, {"scroll map", 30, &Monkey::ScrollMap},
            {"window size", 25, &Monkey::ResizeWindow}, {"open or save", 20, &Monkey::OpenOrSave},
            {"new map", 15, &Monkey::NewMap}, {"options", 25, &Monkey::Options},
            {"export", 15, &Monkey::Export}, {"print", 6, &Monkey::Print}, {"about", 8, &Monkey::About},
        };
        // clang-format on
        int total = 0;
        for (const auto& op : ops)
            total += op.weight;
        std::deque<QString> history; // the last few operations, for reports
        int violations = 0;
        for (int n = 1; n <= count; ++n) {
            int pick = Below(total);
            const auto* op = &ops[0];
            while (pick >= op->weight)
                pick -= (op++)->weight;
            OperationFacts facts;
            facts.savedBefore = window_.Map().MapSaved();
            facts.mapBefore = hostile::MapSnapshot::Of(window_.Map());
            (this->*op->run)(facts);
            Settle();
            const QStringList answers = answerer_.TakeRecord();
            facts.newMapConfirmed =
                std::any_of(answers.begin(), answers.end(), [](const QString& a) {
                    return a.startsWith(QLatin1String("New Map|")) &&
                           a.endsWith(QLatin1String("-> Yes"));
                });
            const QString line =
                Say("#%1 %2", n, QLatin1String(op->name)) +
                (answers.isEmpty() ? QString() : Say(" [%1]", answers.join(QStringLiteral("; "))));
            history.push_back(line);
            if (history.size() > 8)
                history.pop_front();
            if (verbose)
                std::printf("%s\n", qPrintable(line));
            const QStringList broken = checker_.Check(facts, answerer_.PopupSeen());
            for (const QString& b : broken)
                std::printf("violation: seed %llu, operation %d: %s\n",
                            static_cast<unsigned long long>(seed_), n, qPrintable(b));
            violations += static_cast<int>(broken.size());
            if (!broken.isEmpty()) {
                for (const QString& h : history)
                    std::printf("    %s\n", qPrintable(h));
                // Carry on from a clean state: nothing may stay open.
                while (QWidget* w = QApplication::activePopupWidget())
                    w->close();
                while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    d->reject();
            }
            // Long runs say how far they are, so a soak can be followed.
            if (count >= 20000 && n % 10000 == 0)
                std::printf("progress: %d operations, %d violations\n", n, violations);
            std::fflush(stdout);
        }
        return violations;
    }
    int OracleDrawings() const { return checker_.OracleDrawings(); }

private:
    int Below(int n) { return dice_.Below(n); }
    bool Chance(int percent) { return dice_.Chance(percent); }
    QAction* Item(const char* name) { return window_.findChild<QAction*>(QLatin1String(name)); }
    QWidget* Button(int index)
    {
        auto* bar = window_.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        return bar->widgetForAction(bar->actions().value(index));
    }
    QWidget* Widget(const char* name) { return window_.findChild<QWidget*>(QLatin1String(name)); }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // Mouse input straight to the canvas, as the window system delivers it
    // to the widget that holds the mouse during a drag.
    void SendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at)
    {
        QMouseEvent e(type, at, canvas_->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas_, &e);
    }
    static void SendWheel(QWidget* target, QPointF at, int delta, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    }
    // Mostly inside, some around the edges where the grids end, some far off.
    QPointF CanvasPoint()
    {
        const int w = canvas_->width(), h = canvas_->height(), where = Below(100);
        if (where < 85)
            return {Below(w * 10) / 10.0, Below(h * 10) / 10.0};
        if (where < 95)
            return {Below(w + 80) - 40.0 + Below(10) / 10.0, Below(h + 80) - 40.0};
        return FarAway();
    }
    QPointF FarAway() { return {Below(12000) - 6000.0, Below(12000) - 6000.0}; }
    // Left mostly, right often, middle now and then.
    Qt::MouseButton AnyButton(int left, int right)
    {
        const int b = Below(100);
        return b < left ? Qt::LeftButton : b < right ? Qt::RightButton : Qt::MiddleButton;
    }

    // A press and release (and the move before), in place or a few pixels
    // off; a double-click presses again.
    void Click(OperationFacts& facts, Qt::MouseButton button, QPointF at, QPointF to, bool twice)
    {
        facts.canvasInput = facts.buttonPressed = true;
        SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        SendMouse(QEvent::MouseButtonPress, button, button, at);
        SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, to);
        if (twice) {
            SendMouse(QEvent::MouseButtonDblClick, button, button, at);
            SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
        }
    }
    void CanvasClick(OperationFacts& facts)
    {
        const Qt::MouseButton button = AnyButton(60, 85);
        const QPointF at = CanvasPoint();
        Click(facts, button, at, Chance(80) ? at : at + QPointF(Below(7) - 3, Below(7) - 3), false);
    }
    void CanvasDoubleClick(OperationFacts& facts)
    {
        const Qt::MouseButton button = Chance(70) ? Qt::LeftButton : Qt::RightButton;
        const QPointF at = CanvasPoint();
        Click(facts, button, at, at, true);
    }

    // A drag, now and then far outside with the button held, sometimes with
    // the other button pressed and released on the way. Its moves cover
    // those of a hovering mouse.
    void CanvasDrag(OperationFacts& facts)
    {
        const Qt::MouseButton button = AnyButton(65, 95);
        const Qt::MouseButton other = button == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
        QPointF at = CanvasPoint();
        const int moves = 3 + Below(25);
        const int secondFrom = Chance(15) ? Below(moves) : -1;
        const int secondTo = secondFrom < 0 ? -1 : secondFrom + Below(moves - secondFrom + 1);
        facts.canvasInput = facts.buttonPressed = true;
        SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        SendMouse(QEvent::MouseButtonPress, button, button, at);
        Qt::MouseButtons held = button;
        for (int i = 0; i < moves; ++i) {
            if (i == secondFrom) {
                facts.bothButtons = true;
                held |= other;
                SendMouse(QEvent::MouseButtonPress, other, held, at);
            }
            if (i == secondTo) {
                held &= ~Qt::MouseButtons(other);
                SendMouse(QEvent::MouseButtonRelease, other, held, at);
            }
            at = Chance(8) ? FarAway() : at + QPointF(Below(121) - 60, Below(121) - 60);
            SendMouse(QEvent::MouseMove, Qt::NoButton, held, at);
        }
        if (held.testFlag(other)) {
            held &= ~Qt::MouseButtons(other);
            SendMouse(QEvent::MouseButtonRelease, other, held, at);
        }
        SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
    }

    // Wheel notches or touchpad deltas, with any modifiers; the same turns
    // over any other part of the window take the same way to the zoom.
    void CanvasWheel(OperationFacts&)
    {
        Qt::KeyboardModifiers modifiers;
        for (const auto modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
            if (Chance(25))
                modifiers |= modifier;
        const bool touchpad = Chance(40);
        const int events = touchpad ? 1 + Below(12) : 1 + Below(3);
        const int sign = Chance(50) ? 1 : -1;
        const int delta = touchpad ? sign * (1 + Below(40)) : sign * 120;
        const QPointF at = CanvasPoint();
        for (int i = 0; i < events; ++i)
            SendWheel(canvas_, at, delta, modifiers);
    }

    void PreviewBoxClick(OperationFacts&)
    {
        const BrushKind kind = static_cast<BrushKind>(Below(3));
        QTest::mouseClick(library_->Box(kind), Qt::LeftButton, {},
                          QPoint(5 + Below(40), 5 + Below(40)));
    }

    PalettePane* OpenPane() const
    {
        for (const BrushKind kind : AllBrushKinds)
            if (library_->IsOpen(kind))
                return library_->Pane(kind);
        return nullptr;
    }

    void PaletteHover(OperationFacts&)
    {
        if (PalettePane* pane = OpenPane()) {
            const QPointF at(Below(220), Below(std::max(1, pane->Canvas()->height() + 20)));
            QMouseEvent e(QEvent::MouseMove, at, pane->Canvas()->mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(pane->Canvas(), &e);
        }
    }

    // A click on an entry or just past the last one, opening a pane first
    // when none is open.
    void PalettePick(OperationFacts&)
    {
        if (!OpenPane()) {
            QTest::mouseClick(library_->Box(static_cast<BrushKind>(Below(3))), Qt::LeftButton, {},
                              QPoint(10, 10));
            testsupport::WaitUntilListed(library_->Model());
            Settle();
        }
        PalettePane* pane = OpenPane();
        if (!pane)
            return;
        const BrushKind kind = pane->Kind();
        const int count = static_cast<int>(library_->PathsOf(kind).size());
        const int pitch = KindInfo(kind).pitch, columns = KindInfo(kind).columns;
        const int index = Below(count + 2);
        const QPoint at((index % columns) * pitch + Below(pitch),
                        (index / columns) * pitch + Below(pitch));
        QTest::mouseClick(pane->Canvas(), Chance(85) ? Qt::LeftButton : Qt::RightButton, {}, at);
    }

    // A scroll bar set to a value, stepped by one of its actions, or clicked.
    void Scroll(QScrollBar& bar, const std::function<void()>& third)
    {
        const int way = Below(3);
        if (way == 0) {
            bar.setValue(Below(bar.maximum() + 1));
        } else if (way == 1) {
            const QAbstractSlider::SliderAction actions[] = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
                QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
            bar.triggerAction(actions[Below(6)]);
        } else {
            third();
        }
    }
    void PaletteScroll(OperationFacts&)
    {
        if (PalettePane* pane = OpenPane())
            Scroll(*pane->ScrollBar(), [&] {
                const int delta = Chance(60) ? (Chance(50) ? 120 : -120) : Below(81) - 40;
                SendWheel(pane->Canvas(), QPointF(50, 50), delta, Qt::NoModifier);
            });
    }
    void ScrollMap(OperationFacts&)
    {
        auto* bar = window_.findChild<QScrollBar*>(Chance(50) ? QStringLiteral("HScroll1")
                                                              : QStringLiteral("VScroll1"));
        if (!bar->isHidden())
            Scroll(*bar, [&] {
                const QPoint at(Below(std::max(1, bar->width())),
                                Below(std::max(1, bar->height())));
                QTest::mouseClick(bar, Qt::LeftButton, {}, at);
            });
    }

    void BrushButton(OperationFacts&)
    {
        const char* names[] = {"btnFlipHorizontal", "btnRotateLeft", "btnRotateRight",
                               "btnFlipVertical"};
        QTest::mouseClick(Widget(names[Below(4)]), Qt::LeftButton);
    }

    void LayerSwitch(OperationFacts&)
    {
        const char* items[] = {"mnuGridLayer", "mnuFloorLayer", "mnuObjectLayer", "mnuWallLayer"};
        const int i = Below(4);
        if (Chance(50))
            Item(items[i])->trigger();
        else
            QTest::keyClick(&window_, static_cast<Qt::Key>(Qt::Key_F1 + i), Qt::ShiftModifier);
    }

    void ZoomCommand(OperationFacts&)
    {
        const bool in = Chance(50);
        const int way = Below(3);
        if (way == 0)
            Item(in ? "mnuZoomIn" : "mnuZoomOut")->trigger();
        else if (way == 1)
            QTest::mouseClick(Button(in ? 6 : 7), Qt::LeftButton);
        else
            SendWheel(canvas_, CanvasPoint(), in ? 120 : -120, Qt::NoModifier);
    }

    // Resized, minimised, maximised or restored.
    void ResizeWindow(OperationFacts&)
    {
        const int way = Below(100);
        if (way < 60)
            window_.resize(150 + Below(1350), 120 + Below(1080));
        else
            way < 75   ? window_.showMinimized()
            : way < 85 ? window_.showMaximized()
                       : window_.showNormal();
        Settle();
    }

    void OpenOrSave(OperationFacts& facts)
    {
        facts.saved = Chance(60);
        QTest::mouseClick(Button(facts.saved ? 2 : 1), Qt::LeftButton);
    }

    // The same command through its menu item, its tool bar button or Ctrl+key.
    void ByMenuToolbarOrKey(const char* item, int menuPercent, int button, Qt::Key key)
    {
        const int way = Below(100);
        if (way < menuPercent)
            Item(item)->trigger();
        else if (way < 85)
            QTest::mouseClick(Button(button), Qt::LeftButton);
        else
            QTest::keyClick(&window_, key, Qt::ControlModifier);
    }
    void NewMap(OperationFacts&) { ByMenuToolbarOrKey("mnuNew", 60, 0, Qt::Key_N); }
    void Print(OperationFacts&) { ByMenuToolbarOrKey("mnuPrint", 70, 4, Qt::Key_P); }
    void Options(OperationFacts&) { Item("mnuOptions")->trigger(); }
    void Export(OperationFacts&) { Item("mnuExport")->trigger(); }
    void About(OperationFacts&) { Item("mnuAbout")->trigger(); }

    frmMain& window_;
    uint64_t seed_;
    Dice dice_;
    Answerer answerer_;
    InvariantChecker checker_;
    MapCanvas* canvas_;
    TileLibraryPanel* library_;
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
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    HalvornApplication app(argc, argv);
    const monkey::World world;
    if (!world.IsValid())
        return 2;
    SaveSetting(QLatin1String(keys::LocationFloors), world.Path("Floors"));
    SaveSetting(QLatin1String(keys::LocationWalls), world.Path("Walls"));
    SaveSetting(QLatin1String(keys::LocationObjects), world.Path("Objects"));
    std::printf("seed: %llu\n", static_cast<unsigned long long>(seed));
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    int violations = 0, oracleDrawings = 0;
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
        oracleDrawings = m.OracleDrawings();
        window.hide();
    }
    std::printf("time: %.1f s, oracle drawings: %d, peak memory: %ld MiB\n",
                static_cast<double>(clock.elapsed()) / 1000.0, oracleDrawings,
                hostile::PeakResidentKiB() / 1024);
    std::printf("ops: %d, seed: %llu, violations: %d\n", ops, static_cast<unsigned long long>(seed),
                violations);
    return violations == 0 ? 0 : 1;
}
