// Menus, the tool bar and the small commands that have no other home.
#include "app/frmMain.h"

#include "app/HelpLinks.h"
#include "app/MapCanvas.h"
#include "app/ToolbarIcons.h"
#include "desktop/frmAbout.h"
#include "output/ExportMap.h"
#include "output/PrintMap.h"
#include "settings/frmOptions.h"

#include <QAction>
#include <QDesktopServices>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

namespace halvorn {

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {})
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::WindowShortcut);
    }
    return item;
}

QAction* AddSeparator(QMenu* menu, const char* name)
{
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

} // namespace

void frmMain::BuildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    connect(AddItem(file, "mnuNew", QStringLiteral("New Map"), QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &frmMain::mnuNew_Click);
    AddItem(file, "mnuOpen", QStringLiteral("Open Map"), QKeySequence(Qt::CTRL | Qt::Key_O))
        ->setEnabled(false);
    AddItem(file, "mnuSave", QStringLiteral("Save Map"), QKeySequence(Qt::CTRL | Qt::Key_S))
        ->setEnabled(false);
    AddItem(file, "mnuSaveAs", QStringLiteral("Save Map As..."))->setEnabled(false);
    AddSeparator(file, "mnusep35");
    connect(AddItem(file, "mnuExport", QStringLiteral("Export Map...")), &QAction::triggered, this,
            &frmMain::mnuExport_Click);
    AddSeparator(file, "mnusepbla");
    connect(AddItem(file, "mnuPrint", QStringLiteral("Print Map..."),
                    QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &frmMain::mnuPrint_Click);
    AddSeparator(file, "menusep");
    connect(AddItem(file, "mnuExit", QStringLiteral("E&xit")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    connect(AddItem(tools, "mnuOptions", QStringLiteral("&Options")), &QAction::triggered, this,
            &frmMain::mnuOptions_Click);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    struct Layer {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        bool LayerSwitches::*layerSwitch;
        bool shown; // in the menu
    };
    // clang-format off
    const Layer layers[] = {
        {"mnuBackgroundLayer", "Background Layer", {}, &LayerSwitches::ShowBackgroundLayer, false},
        {"mnuGridLayer", "Grid Layer", QKeySequence(Qt::SHIFT | Qt::Key_F1), &LayerSwitches::ShowGridLayer, true},
        {"mnuFloorLayer", "Floor Layer", QKeySequence(Qt::SHIFT | Qt::Key_F2), &LayerSwitches::ShowFloorLayer, true},
        {"mnuObjectLayer", "Object Layer", QKeySequence(Qt::SHIFT | Qt::Key_F3), &LayerSwitches::ShowObjectLayer, true},
        {"mnuWallLayer", "Wall Layer", QKeySequence(Qt::SHIFT | Qt::Key_F4), &LayerSwitches::ShowWallLayer, true},
    };
    // clang-format on
    for (const Layer& l : layers) {
        QAction* item = AddItem(view, l.name, QLatin1String(l.caption), l.shortcut);
        item->setCheckable(true);
        item->setVisible(l.shown);
        layerItems_.emplace_back(item, l.layerSwitch);
        const auto layerSwitch = l.layerSwitch;
        connect(item, &QAction::triggered, this, [this, layerSwitch] { ToggleLayer(layerSwitch); });
    }
    AddSeparator(view, "mnusep");
    mnuZoomIn = AddItem(view, "mnuZoomIn", QStringLiteral("Zoom &In"));
    mnuZoomOut = AddItem(view, "mnuZoomOut", QStringLiteral("Zoom &Out"));
    connect(mnuZoomIn, &QAction::triggered, this, &frmMain::mnuZoomIn_Click);
    connect(mnuZoomOut, &QAction::triggered, this, &frmMain::mnuZoomOut_Click);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    const auto open = [](const char* url) {
        return [url] { QDesktopServices::openUrl(QUrl(QLatin1String(url))); };
    };
    connect(AddItem(help, "mnuHomepage", QStringLiteral("Halvorn III Homepage")),
            &QAction::triggered, this, open(HomepageUrl));
    connect(AddItem(help, "mnuForums", QStringLiteral("Halvorn III Forums")), &QAction::triggered,
            this, open(ForumsUrl));
    connect(AddItem(help, "mnuBrellic", QStringLiteral("Brellic Homepage")), &QAction::triggered,
            this, open(BrellicUrl));
    AddSeparator(help, "sephelp");
    connect(AddItem(help, "mnuAbout", QStringLiteral("&About")), &QAction::triggered, this,
            &frmMain::mnuAbout_Click);
}

void frmMain::BuildToolbar()
{
    struct Button {
        const char* command; // the text the click is routed by
        const char* shortName;
        const char* themeIcon;
        ToolbarPicture picture;
        QAction** held; // the member that keeps the button, if any
    };
    // clang-format off
    const Button buttons[] = {
        {"New Map", "New", "document-new", ToolbarPicture::NewMap, nullptr},
        {"Open Map", "Open", "document-open", ToolbarPicture::OpenMap, nullptr},
        {"Save Map", "Save", "document-save", ToolbarPicture::SaveMap, nullptr},
        {nullptr, nullptr, nullptr, {}, nullptr},
        {"Print Map", "Print", "document-print", ToolbarPicture::PrintMap, nullptr},
        {nullptr, nullptr, nullptr, {}, nullptr},
        {"Zoom In", "ZoomIn", "zoom-in", ToolbarPicture::ZoomIn, &toolZoomIn_},
        {"Zoom Out", "ZoomOut", "zoom-out", ToolbarPicture::ZoomOut, &toolZoomOut_},
    };
    // clang-format on
    for (const Button& b : buttons) {
        if (!b.command) {
            Toolbar1->addSeparator();
            continue;
        }
        QAction* button =
            Toolbar1->addAction(ToolbarIcon(b.themeIcon, b.picture), QLatin1String(b.command));
        button->setObjectName(QStringLiteral("Toolbar1_") + QLatin1String(b.shortName));
        button->setToolTip(QLatin1String(b.command));
        button->setData(QLatin1String(b.command));
        if (b.held)
            *b.held = button;
    }
    connect(Toolbar1, &QToolBar::actionTriggered, this, &frmMain::Toolbar1_ButtonClick);
}

void frmMain::BuildObjectPopup()
{
    // A menu of its own, never in the menu bar; it opens over a placed object.
    ObjectPopUp = new QMenu(this);
    ObjectPopUp->setObjectName(QStringLiteral("ObjectPopUp"));
    struct Item {
        const char* name;
        const char* caption;
        void (MapDocument::*command)(int);
    };
    const Item items[] = {
        {"mnuDeleteObject", "Delete Object", &MapDocument::DeleteObject},
        {nullptr, nullptr, nullptr},
        {"mnuObjectShadow", "Toggle Object Shadow", &MapDocument::ToggleObjectShadow},
        {nullptr, nullptr, nullptr},
        {"mnuRotateRight", "Rotate Right", &MapDocument::RotateObjectRight},
        {"mnuRotateLeft", "Rotate Left", &MapDocument::RotateObjectLeft},
        {"mnuFlipHorizontally", "Flip Horizontally", &MapDocument::FlipObjectHorizontally},
        {"mnuFlipVertically", "Flip Vertically", &MapDocument::FlipObjectVertically},
    };
    for (const Item& i : items) {
        if (!i.name) {
            ObjectPopUp->addSeparator();
            continue;
        }
        QAction* item = AddItem(ObjectPopUp, i.name, QLatin1String(i.caption));
        const auto command = i.command;
        connect(item, &QAction::triggered, this, [this, command] { ObjectCommand(command); });
    }
}

void frmMain::Toolbar1_ButtonClick(QAction* button)
{
    const QString command = button->data().toString();
    if (command == QLatin1String("New Map"))
        mnuNew_Click();
    else if (command == QLatin1String("Open Map"))
        mnuOpen_Click();
    else if (command == QLatin1String("Save Map"))
        mnuSave_Click();
    else if (command == QLatin1String("Print Map"))
        mnuPrint_Click();
    else if (command == QLatin1String("Zoom In"))
        mnuZoomIn_Click();
    else if (command == QLatin1String("Zoom Out"))
        mnuZoomOut_Click();
}

void frmMain::mnuOpen_Click()
{
    // This edition cannot read maps.
}

void frmMain::mnuSave_Click()
{
    // Nothing is written: this edition only remembers that the user asked.
    map_.MarkSaved();
}

void frmMain::mnuExport_Click()
{
    ExportMap(this, Canvas->Picture(), exportFileName_, exportFilterIndex_);
}

void frmMain::mnuPrint_Click()
{
    PrintMap(this, Canvas->Picture());
}

void frmMain::mnuOptions_Click()
{
    frmOptions dialog(this);
    connect(&dialog, &frmOptions::RedrawRequested, this, [this] { Redraw(true); });
    dialog.exec();
}

void frmMain::mnuAbout_Click()
{
    frmAbout dialog(this);
    dialog.exec();
}

} // namespace halvorn
