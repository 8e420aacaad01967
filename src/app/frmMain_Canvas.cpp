// The map canvas, the view and the commands that change what it shows.
#include "app/frmMain.h"

#include "app/MapCanvas.h"
#include "imaging/AppError.h"
#include "library/Brush.h"
#include "library/TileLibraryPanel.h"
#include "map/GridSearch.h"
#include "render/Renderer.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QWheelEvent>

namespace halvorn {

void frmMain::Canvas_MouseDown(int button, QPointF pos)
{
    library_->HidePalettes();
    RunTool(button, pos);
    // A press starts a stroke; a click without movement stays one cell.
    strokeFrom_ = pos;
    strokeButtons_ = button;
}

void frmMain::Canvas_MouseMove(int buttons, QPointF pos)
{
    const std::optional<BrushKind> mode = brush_->Mode;
    if (mode)
        Cursor->show();
    Cursor->SetTopLeft(CanvasTool::MarkerPosition(mode, pos, Cursor->TopLeft(), Cursor->Size(),
                                                  QSizeF(Canvas->size()), zoom_));
    if (mode == BrushKind::Object)
        return;
    // The window system reports a fast drag as a few positions far apart: the
    // tool runs for every cell or wall point on the straight way from the last
    // one, in order, so the stroke has no holes.
    const bool painting = buttons == LeftButton || buttons == RightButton;
    if (painting && mode && strokeFrom_ && strokeButtons_ == buttons) {
        const Grid grid = mode == BrushKind::Floor ? Grid::Floor : Grid::Wall;
        for (const QPointF& p : StrokePath(grid, *strokeFrom_, pos, QSizeF(Canvas->size()), zoom_))
            RunTool(buttons, p);
    } else {
        RunTool(buttons, pos);
    }
    strokeFrom_ = pos;
    strokeButtons_ = buttons;
}

void frmMain::Canvas_MouseUp(int, QPointF)
{
    strokeFrom_.reset();
    Redraw(true);
}

void frmMain::RunTool(int button, QPointF pos)
{
    const ToolOutcome outcome = tool_.ApplyTool(map_, *brush_, button, pos, Cursor->TopLeft(),
                                                QSizeF(Canvas->size()), zoom_);
    switch (outcome.effect) {
    case ToolOutcome::Nothing:
        break;
    case ToolOutcome::RedrawWithoutShadows:
        Redraw(false);
        break;
    case ToolOutcome::RedrawWithShadows:
        Redraw(true);
        break;
    case ToolOutcome::OpenPopup:
        ShowObjectPopup(outcome.object);
        break;
    }
}

void frmMain::ShowObjectPopup(int index)
{
    selectedObject_ = index;
    ObjectPopUp->exec(QCursor::pos());
    selectedObject_ = -1;
}

void frmMain::ObjectCommand(void (MapDocument::*command)(int))
{
    if (selectedObject_ == -1)
        return;
    (map_.*command)(selectedObject_);
    Redraw(true);
}

void frmMain::BrushButton(Orientation (*transition)(Orientation))
{
    if (brush_->ObjectImage != 0) {
        // The brush turns only once its picture could be read again.
        const Orientation next = transition(brush_->ObjectOrientation);
        try {
            brush_->Select(BrushKind::Object, brush_->Paths[BrushKind::Object], next);
        } catch (const AppError& e) {
            library_->ReportUnreadablePicture(brush_->Paths[BrushKind::Object], e.Description());
            return;
        }
    }
    brush_->SetMode(BrushKind::Object);
    library_->BrushEdited();
}

void frmMain::ToggleLayer(bool LayerSwitches::*layer)
{
    layers_.*layer = !(layers_.*layer);
    ShowLayerChecks();
    Redraw(true);
}

void frmMain::ShowLayerChecks()
{
    for (const auto& [item, layer] : layerItems_)
        item->setChecked(layers_.*layer);
}

void frmMain::mnuNew_Click()
{
    const auto answer = QMessageBox::warning(
        this, QStringLiteral("New Map"),
        QStringLiteral("Are you sure you want to discard the current map and create a new one?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    NewMap();
    // Blank until the next redraw draws the empty map.
    ClearCanvasPicture();
}

void frmMain::mnuZoomIn_Click()
{
    zoom_ = ZoomInStep(zoom_);
    ApplyZoom();
}

void frmMain::mnuZoomOut_Click()
{
    zoom_ = ZoomOutStep(zoom_);
    ApplyZoom();
}

void frmMain::MouseWheel(int, int rotation, int, int)
{
    zoom_ = rotation > 0 ? ZoomInStep(zoom_) : ZoomOutStep(zoom_);
    ApplyZoom();
}

void frmMain::SetZoomStates()
{
    toolZoomIn_->setEnabled(ZoomInEnabled(zoom_));
    mnuZoomIn->setEnabled(ZoomInEnabled(zoom_));
    toolZoomOut_->setEnabled(ZoomOutEnabled(zoom_));
    mnuZoomOut->setEnabled(ZoomOutEnabled(zoom_));
}

void frmMain::ApplyZoom()
{
    // The last position of a stroke was in the canvas pixels of the old zoom.
    strokeFrom_.reset();
    SetZoomStates();
    Canvas->resize(CanvasSize(map_, zoom_));
    // The bars shown are decided again for the new canvas size, as a resize
    // decides them: left as they were, a zoom back in after a zoom out and a
    // resize offered no way to the rest of the map. Ranges and values stay.
    Form_Resize();
    if (brush_->Mode == BrushKind::Object) {
        // Zooming takes the object size as it stands, 0 x 0 before the first
        // object pick: the marker then vanishes until a picture is picked.
        Cursor->SetSize(QSizeF(brush_->ObjectWidth * static_cast<double>(zoom_),
                               brush_->ObjectHeight * static_cast<double>(zoom_)));
    } else if (const auto footprint = brush_->Footprint(zoom_)) {
        Cursor->SetSize(*footprint);
    }
    panel1_->setText(ZoomLevelText(zoom_));
    Redraw(true);
}

void frmMain::HScroll1_Change(int value)
{
    Canvas->move(Canvas->x() + lastHScrollValue_ - value, Canvas->y());
    lastHScrollValue_ = value;
}

void frmMain::VScroll1_Change(int value)
{
    Canvas->move(Canvas->x(), Canvas->y() + lastVScrollValue_ - value);
    lastVScrollValue_ = value;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        // Over the viewport the wheel zooms and never scrolls; eating the
        // event here keeps it from reaching the window a second time. An open
        // palette pane keeps its wheel turns, so none arrive from there.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int notches = wheel_.Add(WheelTurn(wheel->angleDelta(), wheel->modifiers()));
        for (int i = 0; i < std::abs(notches); ++i)
            MouseWheel(0, notches > 0 ? 120 : -120, 0, 0);
        event->accept();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace halvorn
