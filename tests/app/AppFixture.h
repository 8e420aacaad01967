// A fresh main window over a small tile set of solid colours, driven through
// its real widgets.
#pragma once

#include "app/MapCanvas.h"
#include "app/frmMain.h"
#include "settings/SettingsStore.h"

#include "PaletteSupport.h"
#include "TestSupport.h"
#include "library/TileLibraryPanel.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace apptest {

using namespace halvorn;

// Stands in for the browser: records the addresses the program opens.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope,
                  QStringLiteral("Halvorn 3 Tallow Edition"))
            .clear();
        for (const auto& [key, sub] : {std::pair{keys::LocationFloors, "Floors"},
                                       {keys::LocationWalls, "Walls"},
                                       {keys::LocationObjects, "Objects"}}) {
            QDir(dir.path()).mkdir(QLatin1String(sub));
            SaveSetting(QLatin1String(key), dir.filePath(QLatin1String(sub)));
        }
        testsupport::WritePng(dir.filePath(QStringLiteral("Floors/red.png")), 72, 72, Qt::red);
        testsupport::WritePng(dir.filePath(QStringLiteral("Floors/blue.png")), 72, 72, Qt::blue);
        testsupport::WritePng(dir.filePath(QStringLiteral("Walls/green.png")), 18, 18, Qt::green);
        testsupport::WritePng(dir.filePath(QStringLiteral("Objects/box.png")), 40, 20, Qt::yellow);
        window = std::make_unique<frmMain>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        // Closing asks the exit question; the tests leave without it.
        window->hide();
        window.reset();
    }

    template <typename T = QWidget>
    T* Find(const char* name) const
    {
        T* w = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* Action(const char* name) const { return Find<QAction>(name); }
    MapCanvas* Canvas() const { return Find<MapCanvas>("Canvas"); }
    QString Panel(const char* name) const { return Find<QLabel>(name)->text(); }

    // Opens a kind's palette by its preview box and picks entry `index`.
    void Pick(BrushKind kind, int index)
    {
        const TileKindInfo& info = KindInfo(kind);
        QTest::mouseClick(Find(info.boxName), Qt::LeftButton, {}, QPoint(10, 10));
        auto* c = Find<PaletteCanvas>(info.canvasName);
        Settle(); // the cells come with the listing, from a thread of its own
        QTest::mouseClick(c, Qt::LeftButton, {}, c->Grid().Cell(index).center());
    }
    // Runs the event loop until the open pane has its listing and every
    // thumbnail, which come from threads of their own.
    void Settle()
    {
        ASSERT_TRUE(testsupport::WaitUntilFilled(window->findChild<TileLibraryPanel*>()->Model()));
    }
    // Two clicks on a preview box: the kind's mode, its palette opened and closed.
    void ChooseKind(const char* box)
    {
        QTest::mouseClick(Find(box), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseClick(Find(box), Qt::LeftButton, {}, QPoint(10, 10));
    }

    // Mouse input straight to the canvas, as the window system delivers it.
    void Move(QPointF at, Qt::MouseButtons held = Qt::NoButton)
    {
        testsupport::SendMouse(Canvas(), QEvent::MouseMove, Qt::NoButton, held, at);
    }
    void Press(Qt::MouseButton b, QPointF at)
    {
        Move(at);
        testsupport::SendMouse(Canvas(), QEvent::MouseButtonPress, b, b, at);
    }
    void Release(Qt::MouseButton b, QPointF at)
    {
        testsupport::SendMouse(Canvas(), QEvent::MouseButtonRelease, b, Qt::NoButton, at);
    }
    void Click(Qt::MouseButton b, QPointF at)
    {
        Press(b, at);
        Release(b, at);
    }

    QTemporaryDir dir;
    std::unique_ptr<frmMain> window;
};

} // namespace apptest
