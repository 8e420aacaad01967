// A window with the tile library panel over three empty tile folders, for
// the tests that drive the preview boxes and palette panes.
#pragma once

#include "PaletteSupport.h"
#include "TestSupport.h"

#include "imaging/Imaging.h"
#include "library/TileLibraryPanel.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace paneltest {

using namespace halvorn;
using testsupport::WritePng;

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitGdip();
        for (const char* name : {"floors", "walls", "objects"})
            ASSERT_TRUE(QDir(root.path()).mkdir(QLatin1String(name)));
        SaveSetting(QLatin1String(keys::LocationFloors), root.filePath(QStringLiteral("floors")));
        SaveSetting(QLatin1String(keys::LocationWalls), root.filePath(QStringLiteral("walls")));
        SaveSetting(QLatin1String(keys::LocationObjects), root.filePath(QStringLiteral("objects")));
        window.resize(640, 520);
        panel = std::make_unique<TileLibraryPanel>(&window, brush);
        // The status text the window shows on each announcement.
        QObject::connect(panel.get(), &TileLibraryPanel::BrushChanged,
                         [this] { announced.push_back(brush.StatusText()); });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QString Png(const char* folder, const QString& name, QColor c, int w = 36, int h = 36)
    {
        const QString path = root.filePath(QLatin1String(folder)) + QLatin1Char('/') + name;
        EXPECT_TRUE(WritePng(path, w, h, c));
        return path;
    }
    template <class T>
    T* Find(const char* name)
    {
        return window.findChild<T*>(QLatin1String(name));
    }
    // A click on a preview box; one that opens a pane waits for its listing,
    // which comes from a thread of its own, not its thumbnails.
    void Click(const char* box)
    {
        QTest::mouseClick(Find<QWidget>(box), Qt::LeftButton);
        ASSERT_TRUE(testsupport::WaitUntilListed(panel->Model()));
    }
    QWidget* Canvas(BrushKind kind) { return panel->Pane(kind)->Canvas(); }

    QTemporaryDir root;
    QWidget window;
    Brush brush{QColor(240, 240, 240)};
    std::unique_ptr<TileLibraryPanel> panel;
    QStringList announced;
};

} // namespace paneltest
