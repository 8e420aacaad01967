// The monkey: a seeded random user of the real main window. Each operation
// is one thing a user does (a click, a drag, a command with its dialog
// answered); after each one every invariant is checked.
#pragma once

#include "Invariants.h"
#include "ModalAnswerer.h"
#include "MonkeyWorld.h"

#include <QPointF>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <vector>

class QAbstractSlider;
class QWidget;

namespace halvorn {
class frmMain;
class MapCanvas;
class TileLibraryPanel;
} // namespace halvorn

namespace monkey {

class Monkey {
public:
    Monkey(halvorn::frmMain& window, const MonkeyWorld& world, uint64_t seed);

    // Runs `count` operations; returns the number of broken invariants.
    int Run(int count, bool verbose);
    int OracleDrawings() const { return checker_.OracleDrawings(); }

private:
    struct Operation {
        const char* name;
        int weight;
        void (Monkey::*run)(OperationFacts&);
    };
    static const std::vector<Operation>& Operations();

    // Canvas input.
    void CanvasClick(OperationFacts& facts);
    void CanvasDrag(OperationFacts& facts);
    void CanvasHover(OperationFacts& facts);
    void CanvasDoubleClick(OperationFacts& facts);
    void CanvasWheel(OperationFacts& facts);
    // Tile library.
    void PreviewBoxClick(OperationFacts& facts);
    void PaletteHover(OperationFacts& facts);
    void PalettePick(OperationFacts& facts);
    void PaletteScroll(OperationFacts& facts);
    void BrushButton(OperationFacts& facts);
    // View and window.
    void LayerSwitch(OperationFacts& facts);
    void ZoomCommand(OperationFacts& facts);
    void ScrollMap(OperationFacts& facts);
    void ResizeWindow(OperationFacts& facts);
    void WheelElsewhere(OperationFacts& facts);
    // Commands.
    void OpenOrSave(OperationFacts& facts);
    void NewMap(OperationFacts& facts);
    void Options(OperationFacts& facts);
    void Export(OperationFacts& facts);
    void Print(OperationFacts& facts);
    void About(OperationFacts& facts);

    // Mouse input straight to the canvas, as the window system delivers it
    // to the widget that holds the mouse during a drag.
    void SendMouse(int type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void SendWheel(QWidget* target, QPointF at, int delta, Qt::KeyboardModifiers modifiers);
    QPointF CanvasPoint();
    Qt::KeyboardModifiers RandomModifiers();
    QWidget* OpenPane() const;
    // One of a scroll bar's step actions, at random; `name` starts the note.
    void SliderAction(QAbstractSlider& bar, const QString& name);
    void Settle();
    void Note(const QString& text);
    // The same command through its menu item, its tool bar button or Ctrl+key.
    void ByMenuToolbarOrKey(const char* item, int menuPercent, int button, Qt::Key key,
                            const QString& keyName);

    int Below(int n) { return static_cast<int>(random_() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

    halvorn::frmMain& window_;
    const MonkeyWorld& world_;
    uint64_t seed_;
    std::mt19937_64 random_;
    ModalAnswerer answerer_;
    InvariantChecker checker_;
    halvorn::MapCanvas* canvas_;
    halvorn::TileLibraryPanel* library_;
    QString current_;             // what the running operation did
    std::deque<QString> history_; // the last few operations, for reports
};

} // namespace monkey
