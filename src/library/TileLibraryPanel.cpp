#include "library/TileLibraryPanel.h"

#include "imaging/AppError.h"
#include "imaging/Imaging.h"
#include "library/PaletteLayout.h"
#include "library/TileName.h"
#include "settings/SettingsStore.h"
#include "settings/TileFolders.h"

#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>

namespace halvorn {

TileLibraryPanel::TileLibraryPanel(QWidget* mainWindow, Brush& brush)
    : QObject(mainWindow), mainWindow_(mainWindow), brush_(brush)
{
    for (BrushKind kind : AllBrushKinds) {
        const TileKindInfo& place = KindInfo(kind);
        auto* frame = new QGroupBox(QString::fromLatin1(place.frameTitle), mainWindow);
        frame->setObjectName(QString::fromLatin1(place.frameName));
        frame->setGeometry(place.frame);

        auto* box = new PreviewBox(frame);
        box->SetPicture(brush_.Preview(kind));
        box->setObjectName(QString::fromLatin1(place.boxName));
        box->setGeometry(place.box);
        if (place.boxBorder > 0) {
            box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            box->setLineWidth(place.boxBorder);
        } else {
            // Empty, it shows the text background, white on light schemes.
            box->setBackgroundRole(QPalette::Base);
        }
        connect(box, &PreviewBox::Clicked, this, [this, kind](bool fromKeyboard) {
            if (fromKeyboard)
                TogglePaletteByKey(kind);
            else
                TogglePalette(kind);
        });
        frame->show();
        boxes_[kind] = box;
    }

    // Created after the boxes so that the panes lie above them.
    for (BrushKind kind : AllBrushKinds) {
        auto* pane = new PalettePane(kind, mainWindow);
        pane->hide();
        pane->raise();
        connect(pane->Canvas(), &PaletteCanvas::Hovered, this,
                [this, kind](QPointF position) { Hover(kind, position); });
        connect(pane->Canvas(), &PaletteCanvas::Pressed, this,
                [this, kind](QPointF position, QPointF globalPosition) {
                    Pick(kind, position, globalPosition);
                });
        connect(pane->Canvas(), &PaletteCanvas::Activated, this,
                [this, kind](int index) { PickEntry(kind, index); });
        connect(pane->Canvas(), &PaletteCanvas::Dismissed, this,
                [this, kind] { TogglePaletteByKey(kind); });
        connect(pane, &PalettePane::ViewMoved, this, [this, kind] {
            if (model_.IsOpen() && model_.Kind() == kind)
                model_.Prefer(Pane(kind)->VisibleCells().first);
        });
        // Before the panel's own connections: the canvas is up to date by
        // the time the panel hears of a change.
        pane->Canvas()->SetModel(&model_);
        panes_[kind] = pane;
    }
    connect(&model_, &PaletteModel::Listed, this, &TileLibraryPanel::ModelListed);
    connect(&model_, &PaletteModel::Changed, this, &TileLibraryPanel::ModelChanged);
}

bool TileLibraryPanel::IsOpen(BrushKind kind) const
{
    // Asked of the pane itself, so it answers also while the window is hidden.
    return !Pane(kind)->isHidden();
}

void TileLibraryPanel::HidePalettes()
{
    for (BrushKind kind : AllBrushKinds)
        HidePane(kind);
}

void TileLibraryPanel::HidePane(BrushKind kind)
{
    // However the pane closes, a focus inside it goes back to the box it was
    // opened from; hidden with the focus, Qt would pass it on along the tab
    // chain to a brush button, where Space flips the brush unseen.
    PalettePane* pane = Pane(kind);
    if (pane->isVisible() && pane->isAncestorOf(QApplication::focusWidget()))
        Box(kind)->setFocus(Qt::OtherFocusReason);
    pane->hide();
    // The work of a pane nobody sees any more is not needed.
    if (model_.IsOpen() && model_.Kind() == kind)
        model_.Close();
}

void TileLibraryPanel::TogglePalette(BrushKind kind)
{
    model_.ClearPaths(kind);
    if (IsOpen(kind))
        HidePane(kind);
    else
        OpenPane(kind);
    brush_.SetMode(kind);
    BrushEdited();
    if (IsOpen(kind))
        StartKeyboard(kind, false);
}

void TileLibraryPanel::TogglePaletteByKey(BrushKind kind)
{
    TogglePalette(kind);
    if (IsOpen(kind))
        StartKeyboard(kind, true);
    else
        Box(kind)->setFocus(Qt::OtherFocusReason);
}

void TileLibraryPanel::StartKeyboard(BrushKind kind, bool framed)
{
    // The keys start on the brush's own picture when the pane shows it, else
    // on the first cell in view: an opening never scrolls the pane.
    const QString& current = brush_.Paths[kind];
    const CellRange visible = Pane(kind)->VisibleCells();
    int index = static_cast<int>(PathsOf(kind).indexOf(current));
    PaletteCanvas* canvas = Pane(kind)->Canvas();
    if (index < visible.first || index >= visible.end) {
        // The first row wholly in view, so the frame shows all round.
        index = visible.first;
        if (canvas->Grid().Cell(index).top() < -canvas->y())
            index += canvas->Grid().columns;
    }
    canvas->setFocus(Qt::OtherFocusReason);
    canvas->Reset(index, framed);
}

void TileLibraryPanel::OpenPane(BrushKind kind)
{
    for (BrushKind other : AllBrushKinds) {
        if (other != kind)
            HidePane(other);
    }
    PalettePane* pane = Pane(kind);
    pane->show();
    pane->raise();

    const TileKindInfo& info = KindInfo(kind);
    const QString folder = GetSetting(QString::fromLatin1(info.settingKey),
                                      DefaultTileFolder(QString::fromLatin1(info.defaultFolder)));
    // The pane shows at once, empty; the cells come with the listing and
    // their pictures after, the rows in view first. The canvas keeps its
    // height until then, so the scroll value of the last opening holds as
    // far as the new listing reaches.
    model_.Open(kind, folder, pane->palette().color(QPalette::Dark));
    model_.Prefer(pane->VisibleCells().first);
}

void TileLibraryPanel::ModelListed()
{
    const BrushKind kind = model_.Kind();
    FitCanvas(kind);
    // The pane may open scrolled, where the last opening left it: the rows
    // in view there come first.
    model_.Prefer(Pane(kind)->VisibleCells().first);
    PaletteCanvas* canvas = Pane(kind)->Canvas();
    // The keys were set to start on the brush's picture before there were
    // any cells: now that there are, they start there.
    if (canvas->hasFocus())
        StartKeyboard(kind, canvas->Framed());
}

void TileLibraryPanel::FitCanvas(BrushKind kind)
{
    Pane(kind)->SetCanvasHeight(PaletteGrid::Of(kind).CanvasHeight(model_.Count()));
}

void TileLibraryPanel::ModelChanged(bool countChanged)
{
    const BrushKind kind = model_.Kind();
    if (countChanged)
        FitCanvas(kind);
}

void TileLibraryPanel::Hover(BrushKind kind, QPointF position)
{
    const QStringList& paths = PathsOf(kind);
    const int index = PaletteGrid::Of(kind).CellAt(static_cast<float>(position.x()),
                                                   static_cast<float>(position.y()));
    if (index >= 0 && index < paths.size())
        Pane(kind)->Canvas()->setToolTip(TileDisplayName(paths[index]));
}

void TileLibraryPanel::Pick(BrushKind kind, QPointF position, QPointF globalPosition)
{
    PickEntry(kind, PaletteGrid::Of(kind).CellAt(static_cast<float>(position.x()),
                                                 static_cast<float>(position.y())));
    // The pick closed the pane: the second press of a double-click would land
    // on whatever lies beneath, a brush button or the map.
    if (!IsOpen(kind))
        doubleClickGuard_.Arm(globalPosition);
}

void TileLibraryPanel::PickEntry(BrushKind kind, int index)
{
    const QStringList& paths = PathsOf(kind);
    if (index < 0 || index >= paths.size())
        return;
    const QString path = paths[index];
    // Picked before the workers reached it: the brush reads it first.
    const bool unread = !model_.IsConfirmed(index);
    try {
        // A newly picked object starts unturned.
        brush_.Select(kind, path);
    } catch (const AppError& e) {
        if (unread) {
            // Then it is a picture the pane would never have shown.
            model_.Drop(index);
            return;
        }
        // Deleted or damaged since the pane opened: the pane stays open so
        // another picture can be picked.
        ReportUnreadablePicture(path, e.Description());
        return;
    }
    brush_.SetMode(kind);
    HidePane(kind);
    BrushEdited();
}

void TileLibraryPanel::BrushEdited()
{
    for (BrushKind kind : AllBrushKinds)
        Box(kind)->SetPicture(brush_.Preview(kind));
    emit BrushChanged();
}

void TileLibraryPanel::ReportUnreadablePicture(const QString& path, const QString& reason)
{
    ShowError(QStringLiteral("The picture \"%1\" cannot be loaded.\n\n%2")
                  .arg(VisibleControls(path), reason));
}

void TileLibraryPanel::ShowError(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok,
                    mainWindow_);
    // A file name is text, never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace halvorn
