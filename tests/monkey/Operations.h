// What a user does, one operation at a time: clicks, drags and double-clicks
// on the map with every button, wheel turns, the palette, the brush buttons,
// layer switches, zoom, scrolling, the window's size and every command.
// Each is random within its kind, from the run's dice; the windows a command
// opens are the answerer's.
#pragma once

#include "InvariantChecker.h"
#include "World.h"

#include "PaletteSupport.h"
#include "TestSupport.h"

#include <QTest>

#include <functional>

namespace monkey {

class Operations {
public:
    Operations(frmMain& window, Dice& dice)
        : window_(window), dice_(dice),
          canvas_(window.findChild<MapCanvas*>(QStringLiteral("Canvas"))),
          library_(window.findChild<TileLibraryPanel*>())
    {
    }

    // Lets the program finish what the operation set off.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // The operations, each with the facts the checks need, and the moves
    // they are made of.
    int Below(int n) { return dice_.Below(n); }
    bool Chance(int percent) { return dice_.Chance(percent); }
    QAction* Item(const char* name) { return window_.findChild<QAction*>(QLatin1String(name)); }
    QWidget* Button(int index)
    {
        auto* bar = window_.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        return bar->widgetForAction(bar->actions().value(index));
    }

    // Mouse input straight to the canvas, as the window system delivers it
    // to the widget that holds the mouse during a drag.
    void SendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at)
    {
        testsupport::SendMouse(canvas_, type, button, held, at);
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
            testsupport::SendWheel(canvas_, at, QPoint(0, delta), modifiers);
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
            testsupport::SendMouse(pane->Canvas(), QEvent::MouseMove, Qt::NoButton, Qt::NoButton,
                                   at);
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
        const int index = Below(count + 2);
        const QRect cell = PaletteGrid::Of(kind).Cell(index);
        const QPoint at = cell.topLeft() + QPoint(Below(cell.width()), Below(cell.height()));
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
                testsupport::SendWheel(pane->Canvas(), QPointF(50, 50), QPoint(0, delta));
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
        QTest::mouseClick(window_.findChild<QWidget*>(QLatin1String(names[Below(4)])),
                          Qt::LeftButton);
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
            testsupport::SendWheel(canvas_, CanvasPoint(), QPoint(0, in ? 120 : -120));
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

private:
    frmMain& window_;
    Dice& dice_;
    MapCanvas* canvas_;
    TileLibraryPanel* library_;
};

} // namespace monkey
