// The tile library beside the map: the three preview boxes of the brush and
// the palette pane each one opens. Picking a thumbnail sets the brush.
#pragma once

#include "library/Brush.h"
#include "library/PaletteModel.h"
#include "library/PalettePane.h"
#include "library/PreviewBox.h"
#include "library/SecondPressGuard.h"
#include "library/TileKind.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace halvorn {

class TileLibraryPanel : public QObject {
    Q_OBJECT
public:
    // Creates the boxes and the (hidden) panes as children of `mainWindow`.
    // `brush` must outlive the panel.
    TileLibraryPanel(QWidget* mainWindow, Brush& brush);

    // What a click on a preview box does: opens the kind's pane (closing the
    // others) or closes it when it is open, and sets the brush mode.
    void TogglePalette(BrushKind kind);
    // The same from the keyboard: an opened pane takes the focus with its
    // current cell on the brush's picture and framed; a closed one gives the
    // focus back to the box.
    void TogglePaletteByKey(BrushKind kind);
    void HidePalettes();
    bool IsOpen(BrushKind kind) const;

    // Floors and walls share one list; it holds the entries of the pane last
    // opened of the two, and is emptied when a box click closes its pane.
    // While a pane fills, its list loses the entries found unreadable.
    const QStringList& PathsOf(BrushKind kind) const { return model_.PathsOf(kind); }

    // What the open pane shows; its thumbnails arrive after the opening.
    const PaletteModel& Model() const { return model_; }

    PalettePane* Pane(BrushKind kind) const { return panes_[kind]; }
    PreviewBox* Box(BrushKind kind) const { return boxes_[kind]; }

    // Shows the brush as it now stands: repaints the previews and emits
    // BrushChanged. Whoever changes the brush calls it, the panel after a
    // pick or a box click, the main window after a brush button.
    void BrushEdited();

    // The box a brush picture that can no longer be read gets, whether it
    // was being picked or turned: "Error", exclamation icon, file and reason.
    void ReportUnreadablePicture(const QString& path, const QString& reason);

    // A view tells the main window of a change by a Qt signal, and the window,
    // the one caller that changes the map and asks for redraws, connects to
    // it. Signals are what Qt's own widgets do, so a reader finds every
    // listener by the connect calls, and the panel needs to know nothing of
    // the window. What a view shows is handed to it by whoever changed it
    // (the panel gives each preview box its picture, the window sets the
    // status text and the cursor); no view asks for it at paint time.
signals:
    // The brush mode or picture changed; the brush tells what it now is.
    void BrushChanged();

private:
    void OpenPane(BrushKind kind);
    void HidePane(BrushKind kind);
    void FitCanvas(BrushKind kind);
    void ModelListed();
    void ModelChanged(bool countChanged);
    void Hover(BrushKind kind, QPointF position);
    void Pick(BrushKind kind, QPointF position, QPointF globalPosition);
    void PickEntry(BrushKind kind, int index);
    void StartKeyboard(BrushKind kind, bool framed);
    void ShowError(const QString& text);

    QWidget* mainWindow_;
    Brush& brush_;
    PaletteModel model_;
    PerKind<PreviewBox*> boxes_{};
    PerKind<PalettePane*> panes_{};
    SecondPressGuard doubleClickGuard_;
};

} // namespace halvorn
