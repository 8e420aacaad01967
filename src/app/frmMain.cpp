#include "app/frmMain.h"

#include "app/CaptionFit.h"
#include "app/MapCanvas.h"
#include "app/ToolbarIcons.h"
#include "desktop/Version.h"
#include "imaging/Imaging.h"
#include "library/Brush.h"
#include "library/PalettePane.h"
#include "library/TileLibraryPanel.h"
#include "map/Numeric.h"
#include "render/Renderer.h"
#include "settings/ShadowSettings.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace halvorn {

frmMain* MainWindow = nullptr;

namespace {

constexpr int ClientWidth = 792;
constexpr int ClientHeight = 561;
constexpr int CoolBarHeight = 48;
// The design height of the status bar; the bar grows when its font needs more.
constexpr int StatusBarHeight = 17;
// Room beside the widest zoom text, so its panel never changes width.
constexpr int PanelPadding = 8;
constexpr int Panel2Width = 60;
constexpr int ScrollBarThickness = 17;
constexpr QPoint MapHolderOrigin{192, 53};
// The resize rule's constants were measured on a window whose decoration
// (borders, title bar and menu bar) took this much beyond the client area.
// The layout adds this frame to the client area instead of asking the
// window manager for the real one: title bars and client-side decorations
// of any height then leave the viewport the same, above the status bar.
constexpr QSize DesignFrame{8, 47};

// The export's picture and the screen's, when that has another ratio.
std::vector<float> CheckedRatios()
{
    std::vector<float> ratios{1.0f};
    const QScreen* screen = QGuiApplication::primaryScreen();
    const auto ratio = static_cast<float>(screen ? screen->devicePixelRatio() : 1.0);
    if (ratio != 1.0f)
        ratios.push_back(ratio);
    return ratios;
}

} // namespace

frmMain::frmMain()
    : shortcutVerdict_(RenderShortcuts::FromEnvironment(), QString::fromLatin1(qVersion()),
                       CheckedRatios(), qEnvironmentVariableIsSet("HALVORN_CHECK_SHORTCUTS"))
{
    setObjectName(QStringLiteral("frmMain"));
    Form_Load();
}

frmMain::~frmMain()
{
    if (MainWindow == this)
        MainWindow = nullptr;
}

const Brush& frmMain::CurrentBrush() const
{
    return *brush_;
}

void frmMain::Form_Load()
{
    InitGdip();
    setWindowTitle(QStringLiteral("Halvorn III - ") + QLatin1String(EditionWord) +
                   QStringLiteral(" Edition"));
    brush_ = std::make_unique<Brush>(palette().color(QPalette::Button));
    BuildClientArea();
    BuildMenus();
    BuildToolbar();
    BuildObjectPopup();

    LoadShadowSettings();
    layers_ = LayerSwitches{};
    ShowLayerChecks();
    NewMap();
    ClearCanvasPicture();

    // Wheel input over the window and the viewport zooms; see eventFilter.
    installEventFilter(this);
    MapHolder->installEventFilter(this);
    for (QWidget* w : MapHolder->findChildren<QWidget*>())
        w->installEventFilter(this);
    map_.MarkSaved();

    // Centred, with the client area at its design size.
    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void frmMain::BuildClientArea()
{
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client_);

    CoolBar1 = new QFrame(client_);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    CoolBar1->setFrameShape(QFrame::StyledPanel);
    CoolBar1->setGeometry(0, 0, ClientWidth, CoolBarHeight);
    Toolbar1 = new QToolBar(CoolBar1);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setGeometry(2, 2, 784, 44);
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->setMovable(false);

    StatusBar1 = new QStatusBar(client_);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    panel1_ = new QLabel(StatusBar1);
    panel2_ = new QLabel(StatusBar1);
    panel3_ = new QLabel(StatusBar1);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel3_->setObjectName(QStringLiteral("Panel3"));
    // Panel 3 names pictures: a file named "<b>x.png" is text, not markup.
    panel3_->setTextFormat(Qt::PlainText);
    // Fixed widths give the panels fixed places: panel 3 stays put when the
    // zoom text changes length.
    int zoomTextWidth = 0;
    for (float zoom = MinZoom;; zoom = ZoomInStep(zoom)) {
        zoomTextWidth =
            std::max(zoomTextWidth, panel1_->fontMetrics().horizontalAdvance(ZoomLevelText(zoom)));
        if (zoom == MaxZoom)
            break;
    }
    panel1_->setFixedWidth(zoomTextWidth + PanelPadding);
    panel2_->setFixedWidth(Panel2Width);
    StatusBar1->addWidget(panel1_);
    StatusBar1->addWidget(panel2_);
    StatusBar1->addWidget(panel3_, 1);

    MapHolder = new QWidget(client_);
    MapHolder->setObjectName(QStringLiteral("MapHolder"));
    MapHolder->move(MapHolderOrigin);
    MapHolder->resize(ClientWidth - MapHolderOrigin.x() - 2, ClientHeight - MapHolderOrigin.y());
    MapHolder->setAutoFillBackground(true);

    Canvas = new MapCanvas(MapHolder);
    Canvas->setAccessibleName(tr("Map"));
    Cursor = new FootprintMarker(Canvas);
    Cursor->hide();
    connect(Canvas, &MapCanvas::MouseDown, this, &frmMain::Canvas_MouseDown);
    connect(Canvas, &MapCanvas::MouseMove, this, &frmMain::Canvas_MouseMove);
    connect(Canvas, &MapCanvas::MouseUp, this, &frmMain::Canvas_MouseUp);
    connect(Canvas, &MapCanvas::ScreenRatioChanged, this, &frmMain::Canvas_ScreenRatioChanged);

    HScroll1 = new QScrollBar(Qt::Horizontal, MapHolder);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(0, 0, 100, ScrollBarThickness);
    VScroll1 = new QScrollBar(Qt::Vertical, MapHolder);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setGeometry(0, 0, ScrollBarThickness, 100);
    Huukske = new QFrame(MapHolder);
    Huukske->setObjectName(QStringLiteral("Huukske"));
    Huukske->setGeometry(0, 0, ScrollBarThickness, ScrollBarThickness);
    Huukske->setAutoFillBackground(true);
    Huukske->setBackgroundRole(QPalette::Button);
    Huukske->hide();
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmMain::HScroll1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmMain::VScroll1_Change);

    struct ButtonPlace {
        const char* name;
        QPoint at;
        ToolbarPicture icon;
        const char* accessibleName;
        const char* tip;
        Orientation (*transition)(Orientation);
    };
    const ButtonPlace buttons[] = {
        {"btnFlipHorizontal",
         {80, 144},
         ToolbarPicture::FlipHorizontal,
         "Flip Horizontally",
         "Flip the object brush left to right",
         FlipHorizontally},
        {"btnRotateLeft",
         {3, 208},
         ToolbarPicture::RotateLeft,
         "Rotate Left",
         "Turn the object brush to the left",
         RotateLeft},
        {"btnRotateRight",
         {160, 208},
         ToolbarPicture::RotateRight,
         "Rotate Right",
         "Turn the object brush to the right",
         RotateRight},
        {"btnFlipVertical",
         {80, 280},
         ToolbarPicture::FlipVertical,
         "Flip Vertically",
         "Flip the object brush top to bottom",
         FlipVertically},
    };
    for (const ButtonPlace& b : buttons) {
        auto* button = new QToolButton(client_);
        brushButtons_.emplace_back(button, b.icon);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(QRect(b.at, QSize(27, 25)));
        button->setIconSize(QSize(20, 20));
        button->setToolTip(tr(b.tip));
        button->setAccessibleName(tr(b.accessibleName));
        const auto transition = b.transition;
        connect(button, &QToolButton::clicked, this,
                [this, transition] { BrushButton(transition); });
    }
    PaintBrushButtons();
    // The palette panes open over the left column and the viewport's edge.
    library_ = new TileLibraryPanel(client_, *brush_);
    connect(library_, &TileLibraryPanel::BrushChanged, this, &frmMain::UpdateBrushDisplay);
    // The brush buttons stand over the object frame, the open panes over both.
    for (const auto& [button, picture] : brushButtons_)
        button->raise();
    for (const BrushKind kind : AllBrushKinds)
        library_->Pane(kind)->raise();
    FitFrameTitles(client_);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The tool band and the status bar follow the width by their alignment.
    CoolBar1->setGeometry(0, 0, client_->width(), CoolBarHeight);
    // Never lower than the text: a bar cut to the design height would clip
    // descenders and make underscores in picture names vanish.
    const int statusHeight = std::max(StatusBarHeight, StatusBar1->sizeHint().height());
    StatusBar1->setGeometry(0, client_->height() - statusHeight, client_->width(), statusHeight);
    Form_Resize();
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Resize(); // on activation, the layout is brought up to date
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
    // A colour scheme changed while running (light to dark, say).
    if (event->type() == QEvent::PaletteChange && !brushButtons_.empty())
        PaintBrushButtons();
}

void frmMain::PaintBrushButtons()
{
    // The window's palette: its children learn of a new one only after it.
    const QColor ink = palette().color(QPalette::ButtonText);
    for (const auto& [button, picture] : brushButtons_)
        button->setIcon(PaintedToolbarIcon(picture, ink));
}

void frmMain::Form_Resize()
{
    // A minimised window is smaller than the left column: the viewport then
    // keeps its last size, as a failing size assignment would.
    if (windowState() & Qt::WindowMinimized) {
        ApplyLayout(QSize(160, 28));
        return;
    }
    ApplyLayout(client_->size() + DesignFrame);
}

void frmMain::ApplyLayout(QSize outerSize)
{
    Huukske->hide();
    const int width = outerSize.width() - MapHolder->x() - 10;
    const int height = outerSize.height() - MapHolder->y() - 68;
    if (width >= 0)
        MapHolder->resize(width, MapHolder->height());
    if (height >= 0)
        MapHolder->resize(MapHolder->width(), height);
    const int mw = MapHolder->width();
    const int mh = MapHolder->height();
    HScroll1->setVisible(Canvas->width() > mw);
    VScroll1->setVisible(Canvas->height() > mh);
    const bool hShown = !HScroll1->isHidden();
    const bool vShown = !VScroll1->isHidden();
    HScroll1->setGeometry(HScroll1->x(), mh - 21, std::max(0, vShown ? mw - 21 : mw - 4),
                          ScrollBarThickness);
    VScroll1->setGeometry(mw - 21, VScroll1->y(), ScrollBarThickness,
                          std::max(0, hShown ? mh - 21 : mh - 4));
    if (hShown && vShown) {
        Huukske->show();
        Huukske->move(mw - Huukske->width() - 4, mh - Huukske->height() - 4);
        Huukske->raise();
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    const auto answer = QMessageBox::warning(
        this, QStringLiteral("Exit Halvorn III?"),
        QStringLiteral("Are you sure you want to exit Halvorn III? The current map will be lost.\n"
                       "Click NO to export or print your map first."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    MapHolder->removeEventFilter(this);
    event->accept();
    ShutdownGdip();
}

void frmMain::NewMap()
{
    zoom_ = 1.0f;
    panel1_->setText(ZoomLevelText(zoom_));
    SetZoomStates();
    map_.NewMap(15, 15);
    Canvas->resize(CanvasSize(map_, zoom_));
    for (QScrollBar* bar : {HScroll1, VScroll1}) {
        const int max = bar == HScroll1 ? Canvas->width() : Canvas->height();
        // Changing the range must not move the canvas: only the user does that.
        const QSignalBlocker block(bar);
        bar->setMaximum(static_cast<int16_t>(max));
        bar->setPageStep(RoundToInt(max / 5.0));
        bar->setSingleStep(RoundToInt(max / 20.0));
    }
}

void frmMain::ClearCanvasPicture()
{
    // The canvas's own white, at its size: what export and print take until
    // the next redraw draws the map.
    Canvas->Pictures().Clear(Canvas->size(), Canvas->ScreenRatio());
    Canvas->Refresh();
}

void frmMain::Redraw(bool drawshadows)
{
    Canvas->Pictures().SetShortcuts(shortcutVerdict_.Current());
    Canvas->Pictures().Redraw(map_, layers_, zoom_, CurrentShadowParams(), drawshadows,
                              Canvas->ScreenRatio());
    ++(drawshadows ? fullRedraws_ : quickRedraws_);
    lastRedrawShadows_ = drawshadows;
    Canvas->Refresh();
}

void frmMain::Canvas_ScreenRatioChanged()
{
    // The same picture at the new ratio: white stays white until the map is
    // first drawn, and a drawn map keeps the shadows it was shown with.
    if (Canvas->Pictures().Cleared())
        ClearCanvasPicture();
    else
        Redraw(lastRedrawShadows_);
}

void frmMain::UpdateBrushDisplay()
{
    panel3_->setText(brush_->StatusText());
    Cursor->SetColor(brush_->CursorColor());
    if (const auto footprint = brush_->Footprint(zoom_))
        Cursor->SetSize(*footprint);
}

} // namespace halvorn
