#include "Monkey.h"

#include "PaletteSupport.h"
#include "app/MapCanvas.h"
#include "app/frmMain.h"
#include "library/PalettePane.h"
#include "library/TileLibraryPanel.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

#include <cstdio>

namespace monkey {

using namespace halvorn;

namespace {

constexpr size_t HistoryLength = 8;

QAction* Item(const frmMain& window, const char* name)
{
    return window.findChild<QAction*>(QLatin1String(name));
}

QString Point(QPointF p)
{
    return QStringLiteral("(%1, %2)").arg(p.x(), 0, 'f', 1).arg(p.y(), 0, 'f', 1);
}

QString ButtonName(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton:
        return QStringLiteral("left");
    case Qt::RightButton:
        return QStringLiteral("right");
    case Qt::MiddleButton:
        return QStringLiteral("middle");
    default:
        return QStringLiteral("none");
    }
}

} // namespace

const std::vector<Monkey::Operation>& Monkey::Operations()
{
    static const std::vector<Operation> ops{
        {"canvas click", 160, &Monkey::CanvasClick},
        {"canvas drag", 130, &Monkey::CanvasDrag},
        {"canvas hover", 60, &Monkey::CanvasHover},
        {"canvas double-click", 40, &Monkey::CanvasDoubleClick},
        {"canvas wheel", 50, &Monkey::CanvasWheel},
        {"preview box", 70, &Monkey::PreviewBoxClick},
        {"palette hover", 30, &Monkey::PaletteHover},
        {"palette pick", 90, &Monkey::PalettePick},
        {"palette scroll", 30, &Monkey::PaletteScroll},
        {"brush button", 40, &Monkey::BrushButton},
        {"layer switch", 40, &Monkey::LayerSwitch},
        {"zoom", 40, &Monkey::ZoomCommand},
        {"scroll map", 30, &Monkey::ScrollMap},
        {"window size", 25, &Monkey::ResizeWindow},
        {"wheel elsewhere", 15, &Monkey::WheelElsewhere},
        {"open or save", 20, &Monkey::OpenOrSave},
        {"new map", 15, &Monkey::NewMap},
        {"options", 25, &Monkey::Options},
        {"export", 15, &Monkey::Export},
        {"print", 6, &Monkey::Print},
        {"about", 8, &Monkey::About},
    };
    return ops;
}

Monkey::Monkey(frmMain& window, const MonkeyWorld& world, uint64_t seed)
    : window_(window), world_(world), seed_(seed), random_(seed), answerer_(random_, world),
      checker_(window), canvas_(window.findChild<MapCanvas*>(QStringLiteral("Canvas"))),
      library_(window.findChild<TileLibraryPanel*>())
{
}

int Monkey::Run(int count, bool verbose)
{
    int total = 0;
    for (const Operation& op : Operations())
        total += op.weight;
    int violations = 0;
    for (int n = 1; n <= count; ++n) {
        int pick = Below(total);
        const Operation* op = &Operations().front();
        for (const Operation& o : Operations()) {
            if (pick < o.weight) {
                op = &o;
                break;
            }
            pick -= o.weight;
        }
        OperationFacts facts;
        facts.savedBefore = window_.Map().MapSaved;
        facts.mapBefore = hostile::MapSnapshot::Of(window_.Map());
        current_ = QLatin1String(op->name);
        QElapsedTimer clock;
        clock.start();
        (this->*op->run)(facts);
        Settle();
        const qint64 took = clock.elapsed();
        const QStringList answers = answerer_.TakeRecord();
        for (const QString& a : answers)
            if (a.startsWith(QLatin1String("New Map|")) && a.endsWith(QLatin1String("-> Yes")))
                facts.newMapConfirmed = true;
        QString line = QStringLiteral("#%1 %2").arg(n).arg(current_);
        if (!answers.isEmpty())
            line += QStringLiteral(" [") + answers.join(QStringLiteral("; ")) + QLatin1Char(']');
        history_.push_back(line);
        if (history_.size() > HistoryLength)
            history_.pop_front();
        if (verbose)
            std::printf("%s (%lld ms)\n", qPrintable(line), static_cast<long long>(took));

        const QStringList broken = checker_.Check(facts, answerer_.PopupSeen());
        for (const QString& b : broken) {
            ++violations;
            std::printf("violation: seed %llu, operation %d: %s\n",
                        static_cast<unsigned long long>(seed_), n, qPrintable(b));
        }
        if (!broken.isEmpty()) {
            for (const QString& h : history_)
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

void Monkey::Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void Monkey::Note(const QString& text)
{
    current_ += QLatin1Char(' ') + text;
}

void Monkey::SendMouse(int type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at,
                       Qt::KeyboardModifiers modifiers)
{
    QMouseEvent e(static_cast<QEvent::Type>(type), at, canvas_->mapToGlobal(at), button, held,
                  modifiers);
    QApplication::sendEvent(canvas_, &e);
}

void Monkey::SendWheel(QWidget* target, QPointF at, int delta, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
}

QPointF Monkey::CanvasPoint()
{
    const int w = canvas_->width(), h = canvas_->height();
    const int where = Below(100);
    if (where < 85)
        return {Below(w * 10) / 10.0, Below(h * 10) / 10.0};
    if (where < 95) // around the edges, where the grids end
        return {Below(w + 80) - 40.0 + Below(10) / 10.0, Below(h + 80) - 40.0};
    return {Below(12000) - 6000.0, Below(12000) - 6000.0};
}

Qt::KeyboardModifiers Monkey::RandomModifiers()
{
    Qt::KeyboardModifiers m;
    if (Chance(25))
        m |= Qt::ShiftModifier;
    if (Chance(25))
        m |= Qt::ControlModifier;
    if (Chance(25))
        m |= Qt::AltModifier;
    return m;
}

void Monkey::CanvasClick(OperationFacts& facts)
{
    const int b = Below(100);
    const Qt::MouseButton button = b < 60   ? Qt::LeftButton
                                   : b < 85 ? Qt::RightButton
                                            : Qt::MiddleButton;
    const QPointF at = CanvasPoint();
    const QPointF to = Chance(80) ? at : at + QPointF(Below(7) - 3, Below(7) - 3);
    Note(ButtonName(button) + QStringLiteral(" at ") + Point(at));
    facts.canvasInput = true;
    facts.buttonPressed = true;
    SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
    SendMouse(QEvent::MouseButtonPress, button, button, at);
    SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, to);
}

void Monkey::CanvasDrag(OperationFacts& facts)
{
    const int b = Below(100);
    const Qt::MouseButton button = b < 65   ? Qt::LeftButton
                                   : b < 95 ? Qt::RightButton
                                            : Qt::MiddleButton;
    const Qt::MouseButton other = button == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
    QPointF at = CanvasPoint();
    const int moves = 3 + Below(25);
    const int secondFrom = Chance(15) ? Below(moves) : -1;
    const int secondTo = secondFrom < 0 ? -1 : secondFrom + Below(moves - secondFrom + 1);
    Note(ButtonName(button) + QStringLiteral(" from ") + Point(at) +
         QStringLiteral(", %1 moves").arg(moves) +
         (secondFrom >= 0 ? QStringLiteral(", ") + ButtonName(other) + QStringLiteral(" too")
                          : QString()));
    facts.canvasInput = true;
    facts.buttonPressed = true;
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
        if (Chance(8))
            at = QPointF(Below(12000) - 6000.0, Below(12000) - 6000.0); // far outside, still held
        else
            at += QPointF(Below(121) - 60, Below(121) - 60);
        SendMouse(QEvent::MouseMove, Qt::NoButton, held, at);
    }
    if (held.testFlag(other)) {
        held &= ~Qt::MouseButtons(other);
        SendMouse(QEvent::MouseButtonRelease, other, held, at);
    }
    SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
    Note(QStringLiteral("to ") + Point(at));
}

void Monkey::CanvasHover(OperationFacts& facts)
{
    facts.canvasInput = true;
    const int moves = 1 + Below(10);
    for (int i = 0; i < moves; ++i)
        SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, CanvasPoint());
    Note(QStringLiteral("%1 moves").arg(moves));
}

void Monkey::CanvasDoubleClick(OperationFacts& facts)
{
    const Qt::MouseButton button = Chance(70) ? Qt::LeftButton : Qt::RightButton;
    const QPointF at = CanvasPoint();
    Note(ButtonName(button) + QStringLiteral(" at ") + Point(at));
    facts.canvasInput = true;
    facts.buttonPressed = true;
    SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
    SendMouse(QEvent::MouseButtonPress, button, button, at);
    SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
    SendMouse(QEvent::MouseButtonDblClick, button, button, at);
    SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
}

void Monkey::CanvasWheel(OperationFacts& facts)
{
    Q_UNUSED(facts);
    const Qt::KeyboardModifiers modifiers = RandomModifiers();
    const bool touchpad = Chance(40);
    const int events = touchpad ? 1 + Below(12) : 1 + Below(3);
    const int sign = Chance(50) ? 1 : -1;
    const int delta = touchpad ? sign * (1 + Below(40)) : sign * 120;
    Note(QStringLiteral("%1 x %2, modifiers %3")
             .arg(events)
             .arg(delta)
             .arg(modifiers.toInt(), 0, 16));
    const QPointF at = CanvasPoint();
    for (int i = 0; i < events; ++i)
        SendWheel(canvas_, at, delta, modifiers);
}

void Monkey::PreviewBoxClick(OperationFacts&)
{
    const BrushKind kind = static_cast<BrushKind>(Below(3));
    Note(QStringLiteral("kind %1").arg(static_cast<int>(kind)));
    QTest::mouseClick(library_->Box(kind), Qt::LeftButton, {},
                      QPoint(5 + Below(40), 5 + Below(40)));
}

QWidget* Monkey::OpenPane() const
{
    for (const BrushKind kind : {BrushKind::Floor, BrushKind::Wall, BrushKind::Object})
        if (library_->IsOpen(kind))
            return library_->Pane(kind);
    return nullptr;
}

void Monkey::PaletteHover(OperationFacts&)
{
    auto* pane = static_cast<PalettePane*>(OpenPane());
    if (!pane) {
        Note(QStringLiteral("(no pane open)"));
        return;
    }
    const QPoint at(Below(220), Below(std::max(1, pane->Canvas()->height() + 20)));
    Note(Point(at));
    QMouseEvent e(QEvent::MouseMove, QPointF(at), pane->Canvas()->mapToGlobal(QPointF(at)),
                  Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pane->Canvas(), &e);
}

void Monkey::PalettePick(OperationFacts&)
{
    if (!OpenPane()) {
        const BrushKind kind = static_cast<BrushKind>(Below(3));
        QTest::mouseClick(library_->Box(kind), Qt::LeftButton, {}, QPoint(10, 10));
        Note(QStringLiteral("opened kind %1").arg(static_cast<int>(kind)));
        testsupport::WaitUntilListed(library_->Model());
        Settle();
    }
    auto* pane = static_cast<PalettePane*>(OpenPane());
    if (!pane)
        return;
    const BrushKind kind = pane->Kind();
    const int count = static_cast<int>(library_->PathsOf(kind).size());
    const PaletteGrid grid = PaletteGrid::Of(kind);
    const int index = Below(count + 2);
    const QRect cell = grid.Cell(index);
    const QPoint at(cell.left() + Below(grid.pitch), cell.top() + Below(grid.pitch));
    Note(QStringLiteral("entry %1 of %2 at ").arg(index).arg(count) + Point(at));
    const Qt::MouseButton button = Chance(85) ? Qt::LeftButton : Qt::RightButton;
    QTest::mouseClick(pane->Canvas(), button, {}, at);
}

void Monkey::PaletteScroll(OperationFacts&)
{
    auto* pane = static_cast<PalettePane*>(OpenPane());
    if (!pane) {
        Note(QStringLiteral("(no pane open)"));
        return;
    }
    QScrollBar* bar = pane->ScrollBar();
    const int way = Below(3);
    if (way == 0) {
        const int value = Below(bar->maximum() + 1);
        Note(QStringLiteral("bar to %1").arg(value));
        bar->setValue(value);
    } else if (way == 1) {
        SliderAction(*bar, QStringLiteral("bar"));
    } else {
        const int delta = Chance(60) ? (Chance(50) ? 120 : -120) : Below(81) - 40;
        Note(QStringLiteral("wheel %1").arg(delta));
        SendWheel(pane->Canvas(), QPointF(50, 50), delta, Qt::NoModifier);
    }
}

void Monkey::SliderAction(QAbstractSlider& bar, const QString& name)
{
    const QAbstractSlider::SliderAction actions[] = {
        QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
        QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
        QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
    const auto action = actions[Below(6)];
    Note(name + QStringLiteral(" action %1").arg(static_cast<int>(action)));
    bar.triggerAction(action);
}

void Monkey::BrushButton(OperationFacts&)
{
    const char* names[] = {"btnFlipHorizontal", "btnRotateLeft", "btnRotateRight",
                           "btnFlipVertical"};
    const char* name = names[Below(4)];
    Note(QLatin1String(name));
    QTest::mouseClick(window_.findChild<QWidget*>(QLatin1String(name)), Qt::LeftButton);
}

void Monkey::LayerSwitch(OperationFacts&)
{
    const char* items[] = {"mnuGridLayer", "mnuFloorLayer", "mnuObjectLayer", "mnuWallLayer"};
    const int i = Below(4);
    if (Chance(50)) {
        Note(QStringLiteral("menu ") + QLatin1String(items[i]));
        Item(window_, items[i])->trigger();
    } else {
        Note(QStringLiteral("Shift+F%1").arg(i + 1));
        QTest::keyClick(&window_, static_cast<Qt::Key>(Qt::Key_F1 + i), Qt::ShiftModifier);
    }
}

void Monkey::ZoomCommand(OperationFacts&)
{
    const bool in = Chance(50);
    const int way = Below(3);
    if (way == 0) {
        Note(in ? QStringLiteral("menu in") : QStringLiteral("menu out"));
        Item(window_, in ? "mnuZoomIn" : "mnuZoomOut")->trigger();
    } else if (way == 1) {
        Note(in ? QStringLiteral("tool bar in") : QStringLiteral("tool bar out"));
        auto* toolbar = window_.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QAction* button = toolbar->actions().value(in ? 6 : 7);
        QTest::mouseClick(toolbar->widgetForAction(button), Qt::LeftButton);
    } else {
        Note(in ? QStringLiteral("wheel in") : QStringLiteral("wheel out"));
        SendWheel(canvas_, CanvasPoint(), in ? 120 : -120, Qt::NoModifier);
    }
}

void Monkey::ScrollMap(OperationFacts&)
{
    auto* bar = window_.findChild<QScrollBar*>(Chance(50) ? QStringLiteral("HScroll1")
                                                          : QStringLiteral("VScroll1"));
    if (bar->isHidden()) {
        Note(bar->objectName() + QStringLiteral(" hidden"));
        return;
    }
    const int way = Below(3);
    if (way == 0) {
        const int value = Below(bar->maximum() + 1);
        Note(bar->objectName() + QStringLiteral(" to %1").arg(value));
        bar->setValue(value);
    } else if (way == 1) {
        SliderAction(*bar, bar->objectName());
    } else {
        const QPoint at(Below(std::max(1, bar->width())), Below(std::max(1, bar->height())));
        Note(bar->objectName() + QStringLiteral(" click at ") + Point(at));
        QTest::mouseClick(bar, Qt::LeftButton, {}, at);
    }
}

void Monkey::ResizeWindow(OperationFacts&)
{
    const int way = Below(100);
    if (way < 60) {
        const QSize size(150 + Below(1350), 120 + Below(1080));
        Note(QStringLiteral("to %1 x %2").arg(size.width()).arg(size.height()));
        window_.resize(size);
    } else if (way < 75) {
        Note(QStringLiteral("minimise"));
        window_.showMinimized();
    } else if (way < 85) {
        Note(QStringLiteral("maximise"));
        window_.showMaximized();
    } else {
        Note(QStringLiteral("restore"));
        window_.showNormal();
    }
    Settle();
}

void Monkey::WheelElsewhere(OperationFacts&)
{
    const char* targets[] = {"ClientArea", "StatusBar1", "FloorBox",
                             "ObjectBox",  "MapHolder",  "HScroll1"};
    const char* name = targets[Below(6)];
    QWidget* target = window_.findChild<QWidget*>(QLatin1String(name));
    const int delta = Chance(70) ? (Chance(50) ? 120 : -120) : Below(61) - 30;
    Note(QLatin1String(name) + QStringLiteral(" %1").arg(delta));
    SendWheel(target, QPointF(3, 3), delta, RandomModifiers());
}

void Monkey::OpenOrSave(OperationFacts& facts)
{
    auto* toolbar = window_.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    const bool save = Chance(60);
    Note(save ? QStringLiteral("tool bar Save") : QStringLiteral("tool bar Open"));
    QAction* button = toolbar->actions().value(save ? 2 : 1);
    QTest::mouseClick(toolbar->widgetForAction(button), Qt::LeftButton);
    facts.saved = save;
}

void Monkey::NewMap(OperationFacts&)
{
    ByMenuToolbarOrKey("mnuNew", 60, 0, Qt::Key_N, QStringLiteral("Ctrl+N"));
}

void Monkey::Options(OperationFacts&)
{
    Item(window_, "mnuOptions")->trigger();
}

void Monkey::Export(OperationFacts&)
{
    Item(window_, "mnuExport")->trigger();
}

void Monkey::Print(OperationFacts&)
{
    ByMenuToolbarOrKey("mnuPrint", 70, 4, Qt::Key_P, QStringLiteral("Ctrl+P"));
}

void Monkey::ByMenuToolbarOrKey(const char* item, int menuPercent, int button, Qt::Key key,
                                const QString& keyName)
{
    const int way = Below(100);
    if (way < menuPercent) {
        Note(QStringLiteral("menu"));
        Item(window_, item)->trigger();
    } else if (way < 85) {
        Note(QStringLiteral("tool bar"));
        auto* toolbar = window_.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QTest::mouseClick(toolbar->widgetForAction(toolbar->actions().value(button)),
                          Qt::LeftButton);
    } else {
        Note(keyName);
        QTest::keyClick(&window_, key, Qt::ControlModifier);
    }
}

void Monkey::About(OperationFacts&)
{
    Item(window_, "mnuAbout")->trigger();
}

} // namespace monkey
