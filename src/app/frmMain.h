// The main window: owns the map, the brush, the view and the palettes, turns
// menu, tool bar and mouse input into calls on them, and shows the canvas
// picture that Redraw paints. Coordinates are pixels of the window's client
// area unless a member says otherwise.
#pragma once

#include "app/ToolbarIcons.h"
#include "map/CanvasTool.h"
#include "map/LayerSwitches.h"
#include "map/MapDocument.h"
#include "map/Zoom.h"
#include "render/Renderer.h"
#include "render/ShortcutVerdict.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QScrollBar;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace halvorn {

class Brush;
class FootprintMarker;
class MapCanvas;
class TileLibraryPanel;

// Names. Members that carry the design's names (the controls also as their
// objectName, by which the tests find them):
// - operations: Redraw, MouseWheel, Form_Load, Form_Resize, NewMap, ApplyZoom,
//   and the event handlers, control name + "_" + event (Canvas_MouseDown,
//   Canvas_MouseMove, Canvas_MouseUp, HScroll1_Change, VScroll1_Change,
//   Toolbar1_ButtonClick and the mnu..._Click ones);
// - controls: CoolBar1, Toolbar1, StatusBar1, MapHolder, Canvas, Cursor,
//   HScroll1, VScroll1, Huukske, ObjectPopUp and the mnu... items (the
//   layer items held in layerItems_);
// - state, read through accessors of the same name or kept under it with a
//   trailing underscore: Zoom (zoom_), SelectedObject (selectedObject_),
//   ExportFileName (exportFileName_), LastHScrollValue and LastVScrollValue
//   (lastHScrollValue_, lastVScrollValue_). The map document, the layer
//   switches, the tool and the brush carry the design's names of their own
//   fields and accessors (MapDocument::MapSaved, Brush::Mode,
//   CanvasTool::LastPaintX, ...).
// Ours: the accessors Map, Layers, CurrentBrush, RedrawCount,
// LastRedrawShadows and ClientArea; the helpers that build and wire the
// window (Build..., ApplyLayout, PaintBrushButtons, ClearCanvasPicture,
// SetZoomStates, UpdateBrushDisplay, ToggleLayer, ShowLayerChecks, RunTool,
// ShowObjectPopup, ObjectCommand, BrushButton); and every other member with a trailing
// underscore (the owned objects map_, layers_, tool_, renderer_, brush_,
// library_, and the counters and widgets the design has no name for).
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // Makes the canvas picture show the whole map (the renderer repaints only
    // what changed since the last call); shadows only when asked.
    void Redraw(bool drawshadows);
    // One zoom step per call: in for a positive rotation, out otherwise.
    void MouseWheel(int mouseKeys, int rotation, int xpos, int ypos);

    // Lays out the viewport for the client area's current size.
    void Form_Resize();

    // State the other windows and the tests read.
    const MapDocument& Map() const { return map_; }
    const LayerSwitches& Layers() const { return layers_; }
    float Zoom() const { return zoom_; }
    int SelectedObject() const { return selectedObject_; }
    const Brush& CurrentBrush() const;
    const QString& ExportFileName() const { return exportFileName_; }
    const ShortcutVerdict& Shortcuts() const { return shortcutVerdict_; }
    int RedrawCount(bool withShadows) const { return withShadows ? fullRedraws_ : quickRedraws_; }
    // The drawshadows of the last Redraw (false before the first).
    bool LastRedrawShadows() const { return lastRedrawShadows_; }

    // The part of the window the layout is measured in (below the menu bar).
    QWidget* ClientArea() const { return client_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void BuildClientArea();
    void BuildMenus();
    void BuildToolbar();
    void BuildObjectPopup();
    void ApplyLayout(QSize outerSize);
    // The brush buttons' pictures, in the palette's button text colour.
    void PaintBrushButtons();

    void NewMap();
    void ClearCanvasPicture();
    void ApplyZoom();
    void SetZoomStates();
    void UpdateBrushDisplay();
    void ToggleLayer(bool LayerSwitches::*layer);
    // Checks each layer item of the View menu as its switch stands.
    void ShowLayerChecks();

    void Canvas_MouseDown(int button, QPointF pos);
    void Canvas_MouseMove(int buttons, QPointF pos);
    void Canvas_MouseUp(int button, QPointF pos);
    void Canvas_ScreenRatioChanged();
    void RunTool(int button, QPointF pos);
    void ShowObjectPopup(int index);
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);

    void ObjectCommand(void (MapDocument::*command)(int));
    void BrushButton(Orientation (*transition)(Orientation));

    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuExport_Click();
    void mnuPrint_Click();
    void mnuOptions_Click();
    void mnuZoomIn_Click();
    void mnuZoomOut_Click();
    void mnuAbout_Click();
    void Toolbar1_ButtonClick(QAction* button);

    // The renderer shortcuts this Qt draws right with, checked in the
    // background on a Qt they were not verified on.
    ShortcutVerdict shortcutVerdict_;
    // Map and view state.
    MapDocument map_;
    LayerSwitches layers_;
    CanvasTool tool_;
    std::unique_ptr<Brush> brush_;
    float zoom_ = 1.0f;
    int selectedObject_ = 0;
    int lastHScrollValue_ = 0;
    int lastVScrollValue_ = 0;
    QString exportFileName_;
    int exportFilterIndex_ = 1; // 1 PNG, 2 JPEG: the save dialog's choice, kept
    WheelAccumulator wheel_;
    // The last canvas position of the drag in progress and its buttons, from
    // which the next move paints its way; none outside a drag.
    std::optional<QPointF> strokeFrom_;
    int strokeButtons_ = 0;
    int quickRedraws_ = 0;
    int fullRedraws_ = 0;
    bool lastRedrawShadows_ = false;

    // Widgets, owned by their Qt parents.
    QWidget* client_ = nullptr;
    QFrame* CoolBar1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QLabel* panel3_ = nullptr;
    QWidget* MapHolder = nullptr;
    MapCanvas* Canvas = nullptr;
    FootprintMarker* Cursor = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QFrame* Huukske = nullptr;
    TileLibraryPanel* library_ = nullptr;
    std::vector<std::pair<QToolButton*, ToolbarPicture>> brushButtons_;

    QAction* mnuZoomIn = nullptr;
    QAction* mnuZoomOut = nullptr;
    // The View menu's layer items (mnuBackgroundLayer ... mnuWallLayer), each
    // with the switch its check mark shows.
    std::vector<std::pair<QAction*, bool LayerSwitches::*>> layerItems_;
    QAction* toolZoomIn_ = nullptr;
    QAction* toolZoomOut_ = nullptr;
    QMenu* ObjectPopUp = nullptr;
};

// The one main window, through which the other windows reach it.
extern frmMain* MainWindow;

} // namespace halvorn
