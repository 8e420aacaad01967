#include "library/TileLibraryPanel.h"

#include "library/PaletteLayout.h"
#include "library/PaletteRender.h"
#include "library/TileListing.h"
#include "library/TileName.h"
#include "render/AppError.h"
#include "render/Imaging.h"
#include "settings/SettingsStore.h"
#include "settings/TileFolders.h"

#include <QMessageBox>

#include <exception>

namespace halvorn {

namespace {

struct BoxPlace {
    const char* frameName;
    const char* title;
    QRect frame;
    const char* boxName;
    QRect box;
};

const BoxPlace& PlaceOf(TileKind kind)
{
    // The titles end in a blank, which keeps the frame line off the text.
    static const BoxPlace floor{"Frame1", "Floor Texture ", QRect(3, 48, 89, 91), "FloorBox",
                                QRect(8, 12, 72, 72)};
    static const BoxPlace wall{"Frame2", "Wall Texture ", QRect(99, 48, 89, 91), "WallBox",
                               QRect(8, 12, 72, 72)};
    static const BoxPlace object{"Frame3", "Object ", QRect(3, 144, 185, 153), "ObjectBox",
                                 QRect(8, 16, 168, 128)};
    switch (kind) {
    case TileKind::Wall:
        return wall;
    case TileKind::Object:
        return object;
    case TileKind::Floor:
        break;
    }
    return floor;
}

} // namespace

TileLibraryPanel::TileLibraryPanel(QWidget* mainWindow, Brush& brush, std::function<float()> zoom)
    : QObject(mainWindow), mainWindow_(mainWindow), brush_(brush), zoom_(std::move(zoom))
{
    for (TileKind kind : AllTileKinds) {
        const BoxPlace& place = PlaceOf(kind);
        auto* frame = new QGroupBox(QString::fromLatin1(place.title), mainWindow);
        frame->setObjectName(QString::fromLatin1(place.frameName));
        frame->setGeometry(place.frame);

        std::function<const QImage&()> preview;
        switch (kind) {
        case TileKind::Floor:
            preview = [this]() -> const QImage& { return brush_.FloorPreview(); };
            break;
        case TileKind::Wall:
            preview = [this]() -> const QImage& { return brush_.WallPreview(); };
            break;
        case TileKind::Object:
            preview = [this]() -> const QImage& { return brush_.ObjectPreview(); };
            break;
        }
        auto* box = new PreviewBox(std::move(preview), frame);
        box->setObjectName(QString::fromLatin1(place.boxName));
        box->setGeometry(place.box);
        if (kind == TileKind::Object) {
            box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            box->setLineWidth(2);
        }
        connect(box, &PreviewBox::Clicked, this, [this, kind] {
            try {
                TogglePalette(kind);
            } catch (const std::exception& e) {
                ShowError(QString::fromLocal8Bit(e.what()));
            }
        });
        frame->show();
        frames_[Index(kind)] = frame;
        boxes_[Index(kind)] = box;
    }

    // Created after the boxes so that the panes lie above them.
    for (TileKind kind : AllTileKinds) {
        auto* pane = new PalettePane(kind, mainWindow);
        pane->hide();
        pane->raise();
        connect(pane->Canvas(), &PaletteCanvas::Hovered, this,
                [this, kind](QPointF position) { Hover(kind, position); });
        connect(pane->Canvas(), &PaletteCanvas::Pressed, this,
                [this, kind](QPointF position) { Pick(kind, position); });
        panes_[Index(kind)] = pane;
    }
}

const QStringList& TileLibraryPanel::PathsOf(TileKind kind) const
{
    return kind == TileKind::Object ? objectPaths_ : tilePaths_;
}

QStringList& TileLibraryPanel::MutablePaths(TileKind kind)
{
    return kind == TileKind::Object ? objectPaths_ : tilePaths_;
}

bool TileLibraryPanel::IsOpen(TileKind kind) const
{
    // Asked of the pane itself, so it answers also while the window is hidden.
    return !Pane(kind)->isHidden();
}

void TileLibraryPanel::HidePalettes()
{
    for (PalettePane* pane : panes_)
        pane->hide();
}

void TileLibraryPanel::TogglePalette(TileKind kind)
{
    MutablePaths(kind).clear();
    if (IsOpen(kind))
        Pane(kind)->hide();
    else
        OpenPane(kind);
    brush_.SetMode(QString::fromLatin1(KindInfo(kind).modeWord));
    AnnounceBrush();
}

void TileLibraryPanel::OpenPane(TileKind kind)
{
    PalettePane* pane = Pane(kind);
    pane->ClearPicture();
    for (PalettePane* other : panes_) {
        if (other != pane)
            other->hide();
    }
    pane->show();
    pane->raise();

    const TileKindInfo& info = KindInfo(kind);
    const QString folder = GetSetting(QString::fromLatin1(info.settingKey),
                                      DefaultTileFolder(QString::fromLatin1(info.defaultFolder)));
    PaletteImage palette = RenderPalette(kind, ListTileFiles(folder),
                                         pane->palette().color(QPalette::Dark));
    MutablePaths(kind) = std::move(palette.paths);
    pane->ShowPicture(std::move(palette.canvas));
}

void TileLibraryPanel::Hover(TileKind kind, QPointF position)
{
    const QStringList& paths = PathsOf(kind);
    const int index = PaletteCellAt(kind, static_cast<float>(position.x()),
                                    static_cast<float>(position.y()));
    if (index >= 0 && index < paths.size())
        Pane(kind)->Canvas()->setToolTip(TileDisplayName(paths[index]));
}

void TileLibraryPanel::Pick(TileKind kind, QPointF position)
{
    const QStringList& paths = PathsOf(kind);
    const int index = PaletteCellAt(kind, static_cast<float>(position.x()),
                                    static_cast<float>(position.y()));
    if (index < 0 || index >= paths.size())
        return;
    const QString path = paths[index];
    try {
        SelectFor(kind, path);
    } catch (const AppError& e) {
        // Deleted or damaged since the pane opened: the pane stays open so
        // another picture can be picked.
        ReportUnreadablePicture(path, e.Description());
        return;
    } catch (const std::exception& e) {
        ReportUnreadablePicture(path, QString::fromLocal8Bit(e.what()));
        return;
    }
    brush_.SetMode(QString::fromLatin1(KindInfo(kind).modeWord));
    Pane(kind)->hide();
    RefreshPreviews();
    AnnounceBrush();
}

void TileLibraryPanel::SelectFor(TileKind kind, const QString& path)
{
    switch (kind) {
    case TileKind::Floor:
        brush_.SelectFloorTile(path);
        break;
    case TileKind::Wall:
        brush_.SelectWallPiece(path);
        break;
    case TileKind::Object:
        // A newly picked object starts unturned.
        brush_.SelectObjectImage(path, 0);
        break;
    }
}

void TileLibraryPanel::RefreshPreviews()
{
    for (PreviewBox* box : boxes_)
        box->update();
}

void TileLibraryPanel::AnnounceBrush()
{
    const float zoom = zoom_ ? zoom_() : 1.0f;
    emit BrushChanged(brush_.StatusText(), brush_.CursorColor(),
                      brush_.Footprint(zoom).value_or(QSizeF()));
}

void TileLibraryPanel::ReportUnreadablePicture(const QString& path, const QString& reason)
{
    ShowError(QStringLiteral("The picture \"%1\" cannot be loaded.\n\n%2").arg(path, reason));
}

void TileLibraryPanel::ShowError(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok,
                    mainWindow_);
    box.exec();
}

} // namespace halvorn
