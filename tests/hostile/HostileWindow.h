// The real main window with its floor folder pointed where a test wants,
// and the steps of picking, painting and checking the picture.
#pragma once

#include "HostileCorpus.h"
#include "MapSnapshot.h"
#include "PaletteSupport.h"
#include "TestSupport.h"

#include "app/MapCanvas.h"
#include "app/frmMain.h"
#include "imaging/Imaging.h"
#include "library/Brush.h"
#include "library/TileLibraryPanel.h"
#include "oracle/LiteralRenderer.h"
#include "settings/SettingsStore.h"
#include "settings/ShadowSettings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace hostile {

struct PickResult {
    bool picked = false;
    QString message; // the box's text when the pick was refused
};

inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs `action`, answering each message box with OK and keeping its
// "title|text".
inline QStringList AnswerBoxes(const std::function<void()>& action)
{
    QStringList texts;
    for (const testsupport::BoxRecord& box : testsupport::AnswerBoxes(action, QMessageBox::Ok))
        texts << box.title + QStringLiteral("|") + box.text;
    return texts;
}

class HostileWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope,
                  QLatin1String(halvorn::SettingsApplication))
            .clear();
        halvorn::InitGdip();
        window = std::make_unique<halvorn::frmMain>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        library = window->findChild<halvorn::TileLibraryPanel*>();
        ASSERT_NE(library, nullptr);
    }
    void TearDown() override
    {
        window->hide();
        window.reset();
    }

    static void SetFolders(const QString& folder)
    {
        for (const char* key : {halvorn::keys::LocationFloors, halvorn::keys::LocationWalls,
                                halvorn::keys::LocationObjects})
            halvorn::SaveSetting(QLatin1String(key), folder);
    }
    bool PaletteOpen() const { return library->IsOpen(halvorn::BrushKind::Floor); }
    // An opening waits for the whole pane, every thumbnail read.
    void ClickFloorBox()
    {
        QTest::mouseClick(library->Box(halvorn::BrushKind::Floor), Qt::LeftButton);
        EXPECT_TRUE(testsupport::WaitUntilFilled(library->Model()));
    }
    void OpenPalette()
    {
        if (!PaletteOpen())
            ClickFloorBox();
    }
    void ClosePalette()
    {
        if (PaletteOpen())
            ClickFloorBox();
    }
    QStringList ShownPaths() const { return library->PathsOf(halvorn::BrushKind::Floor); }

    void ZoomOutFully()
    {
        QAction* out = window->findChild<QAction*>(QStringLiteral("mnuZoomOut"));
        for (int i = 0; i < 3; ++i)
            out->trigger();
        ASSERT_FLOAT_EQ(window->Zoom(), 0.25f);
    }

    // A folder with one good picture, "slot.png", whose content the picks change.
    void UseSlotFolder()
    {
        SetFolders(slotDir.path());
        slot = slotDir.filePath(QStringLiteral("slot.png"));
        ClosePalette();
    }

    PickResult PickContent(const QByteArray& bytes)
    {
        return Pick([&] {
            QFile f(slot);
            return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   f.write(bytes) == bytes.size();
        });
    }

    // Puts a folder, a dangling link or a named pipe where the slot file was.
    PickResult PickSpecial(const QString& kind)
    {
        const QByteArray raw = QFile::encodeName(slot);
        const PickResult r = Pick([&] {
            QFile::remove(slot);
            if (kind == QLatin1String("folder"))
                return ::mkdir(raw.constData(), 0755) == 0;
            if (kind == QLatin1String("fifo"))
                return ::mkfifo(raw.constData(), 0644) == 0;
            return ::symlink("nowhere.png", raw.constData()) == 0;
        });
        ::rmdir(raw.constData());
        ::unlink(raw.constData());
        return r;
    }

    // Opens the pane over a good slot picture, lets `change` replace what is
    // behind the entry, and picks it.
    PickResult Pick(const std::function<bool()>& change)
    {
        PickResult result;
        if (!PaletteOpen()) {
            const QImage good = SourcePicture(30, 30, false, 7);
            EXPECT_TRUE(good.save(slot, "PNG"));
            ClickFloorBox();
            EXPECT_EQ(ShownPaths(), QStringList{slot});
        }
        EXPECT_TRUE(change());
        const MapSnapshot before = MapSnapshot::Of(window->Map());
        const halvorn::Brush& brush = window->CurrentBrush();
        const halvorn::ImageHandle oldImage = brush.FloorImage;
        const QString oldPath = brush.Paths[halvorn::BrushKind::Floor];
        const QStringList boxes = AnswerBoxes([&] {
            QTest::mouseClick(library->Pane(halvorn::BrushKind::Floor)->Canvas(), Qt::LeftButton,
                              {}, QPoint(19, 19));
        });
        if (boxes.isEmpty()) {
            result.picked = true;
            EXPECT_NE(brush.FloorImage, oldImage);
            EXPECT_EQ(brush.Paths[halvorn::BrushKind::Floor], slot);
            EXPECT_FALSE(PaletteOpen());
            return result;
        }
        EXPECT_EQ(boxes.size(), 1);
        result.message = boxes.value(0);
        const QString prefix =
            QStringLiteral("Error|The picture \"%1\" cannot be loaded.\n\n").arg(slot);
        EXPECT_TRUE(result.message.startsWith(prefix)) << result.message.toStdString();
        EXPECT_TRUE(result.message.contains(QLatin1String(": Status = ")))
            << result.message.toStdString();
        EXPECT_TRUE(MapSnapshot::Of(window->Map()) == before);
        EXPECT_EQ(brush.FloorImage, oldImage);
        EXPECT_EQ(brush.Paths[halvorn::BrushKind::Floor], oldPath);
        EXPECT_TRUE(PaletteOpen());
        return result;
    }

    // Paints floor cell `index` (row by row) with the brush and compares the
    // canvas with the oracle's picture of the map.
    void PaintAndCheck(int index)
    {
        halvorn::MapCanvas* canvas =
            window->findChild<halvorn::MapCanvas*>(QStringLiteral("Canvas"));
        const float cellPixels = 72 * window->Zoom();
        const QPointF at((index % 15 + 0.5) * cellPixels, (index / 15 + 0.5) * cellPixels);
        for (const auto type :
             {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButton button =
                type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent e(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
            QApplication::sendEvent(canvas, &e);
        }
        ASSERT_EQ(window->Map().FloorAt(index % 15, index / 15), window->CurrentBrush().FloorImage);
        QImage expected(canvas->Picture().size(), QImage::Format_RGB32);
        halvorn::oracle::LiteralRedraw(expected, window->Map(), window->Layers(), window->Zoom(),
                                       halvorn::CurrentShadowParams(), window->LastRedrawShadows());
        ASSERT_LE(halvorn::oracle::MaxChannelDifference(canvas->Picture(), expected), 1);
    }

    std::unique_ptr<halvorn::frmMain> window;
    halvorn::TileLibraryPanel* library = nullptr;
    CorpusDir slotDir;
    QString slot;
};

} // namespace hostile
