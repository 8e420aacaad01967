#include "AppFixture.h"

#include "app/Startup.h"
#include "imaging/Imaging.h"

#include <QCoreApplication>
#include <QFile>

namespace apptest {

// Records the order in which top-level windows are shown, and whether the
// document type was registered when the main window appeared.
class ShowRecorder : public QObject {
public:
    QString entry;
    QStringList shown;
    bool registeredAtShow = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && w && w->isWindow() &&
            !watched->objectName().isEmpty()) {
            shown << watched->objectName();
            if (watched->objectName() == QLatin1String("frmMain"))
                registeredAtShow = QFile::exists(entry);
        }
        return false;
    }
};

TEST_F(AppFixture, MainShowsSplashThenWindowThenRegistersTheMapType)
{
    const QString data = dir.filePath(QStringLiteral("data"));
    const testsupport::ScopedEnv dataHome("XDG_DATA_HOME", data);
    const QString entry = data + QStringLiteral("/applications/halvorn-iii-map.desktop");
    SaveSetting(QLatin1String(keys::ShowSplash), QStringLiteral("1"));
    ShowRecorder recorder;
    recorder.entry = entry;
    qApp->installEventFilter(&recorder);

    ASSERT_TRUE(Main());
    qApp->removeEventFilter(&recorder);
    std::unique_ptr<frmMain> started(MainWindow);
    ASSERT_NE(started, nullptr);
    EXPECT_TRUE(started->isVisible());
    // Its title; the background layer's item stays hidden (each layer's
    // switch, check mark and picture after each Shift+F key: the monkey's
    // invariants).
    EXPECT_EQ(started->windowTitle(), QStringLiteral("Halvorn III - Tallow Edition"));
    EXPECT_FALSE(started->findChild<QAction*>(QStringLiteral("mnuBackgroundLayer"))->isVisible());
    EXPECT_EQ(recorder.shown.mid(0, 2),
              (QStringList{QStringLiteral("frmSplash"), QStringLiteral("frmMain")}));
    EXPECT_FALSE(recorder.registeredAtShow);

    // Registered for this very program; what the files hold is tested in
    // tests/desktop/FileTypeRegistrationTest.cpp.
    EXPECT_TRUE(testsupport::ReadAll(entry).contains(
        "\nExec=\"" + QFile::encodeName(QCoreApplication::applicationFilePath()) + "\" %f\n"));

    // The desktop's caches are refreshed in the background; let that end.
    EXPECT_TRUE(testsupport::WaitForDesktopRefresh());
    started->hide();
    started.reset();
    EXPECT_EQ(MainWindow, nullptr);
}

// Closing the window and the Exit item ask the same question.
TEST_F(AppFixture, ExitAsksFirstAndKeepsTheMapOnNo)
{
    Pick(BrushKind::Floor, 1);
    Click(Qt::LeftButton, {10, 10});
    // The floor folder is on a share whose server has gone: every call on it
    // hangs until the end of the test. Its palette opens, empty, and the
    // window still asks and closes at once.
    testsupport::SlowFolder floors(dir.filePath(QStringLiteral("Floors")));
    floors.Hold(true);
    QTest::mouseClick(Find("FloorBox"), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(Find("FloorSelect")->isVisible());

    EXPECT_EQ(testsupport::AnswerBoxes([&] { window->close(); }, QMessageBox::No),
              std::vector{testsupport::WarningBox(
                  QStringLiteral("Exit Halvorn III?"),
                  QStringLiteral("Are you sure you want to exit Halvorn III? The current map will "
                                 "be lost.\nClick NO to export or print your map first."))});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(GdipStarted());
    EXPECT_NE(window->Map().FloorAt(0, 0), 0u);
    // The wheel still zooms after a No.
    testsupport::SendWheel(Canvas(), QPointF(5, 5), QPoint(0, -120));
    EXPECT_EQ(window->Zoom(), 0.75f);

    const auto yes =
        testsupport::AnswerBoxes([&] { Action("mnuExit")->trigger(); }, QMessageBox::Yes);
    EXPECT_EQ(yes.size(), 1u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(GdipStarted());
    InitGdip();
    window.reset();
    EXPECT_TRUE(floors.Release());
    window = std::make_unique<frmMain>(); // for the fixture's end
}

} // namespace apptest
