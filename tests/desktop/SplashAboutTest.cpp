#include "desktop/ArtworkView.h"
#include "desktop/Version.h"
#include "desktop/frmAbout.h"
#include "desktop/frmSplash.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace halvorn {
namespace {

bool AnySplashLeft()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmSplash"))
            return true;
    return false;
}

TEST(Splash, ShownOnlyForExactlyOne)
{
    // clang-format off
    const struct { QString setting; bool shown; } rows[] = {
        {QStringLiteral("1"), true}, {QStringLiteral("0"), false}, {QString(), false}, {QStringLiteral("yes"), false}, {QStringLiteral("1 "), false},
        {QStringLiteral(" 1"), false}, {QStringLiteral("01"), false}, {QStringLiteral("true"), false},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.setting.toStdString());
        int holds = 0;
        const bool shown = RunSplash(row.setting, [&](frmSplash& splash) {
            ++holds;
            ASSERT_NE(splash.windowHandle(), nullptr);
            EXPECT_TRUE(splash.windowHandle()->isExposed()); // on screen before the wait
            EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
            EXPECT_EQ(splash.findChildren<QWidget*>().size(), 1);
            EXPECT_NE(splash.findChild<ArtworkView*>(), nullptr);
            const QRect screen = splash.screen()->availableGeometry();
            EXPECT_LE((splash.frameGeometry().center() - screen.center()).manhattanLength(), 2);
        });
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(holds, row.shown ? 1 : 0);
        EXPECT_FALSE(AnySplashLeft()); // by its name, as the start-up test sees it
    }
    // (The real wait: the start-up test, tests/app/StartupTest.cpp.)
}

// The caption and the version line, which the box fills in as it opens. A
// click anywhere closes it (on its margin: the monkey's About), but a release
// alone, whose press was on whatever opened the box, is no click.
TEST(About, CaptionAndVersionLineAndAClickAnywhereCloses)
{
    frmAbout dlg;
    auto* label = dlg.findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About MyApp"));
    EXPECT_EQ(label->text(), QStringLiteral("Version:"));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(label->text(), QStringLiteral("Version: Tallow ") + QLatin1String(VersionText));
    const QPoint at = label->mapTo(&dlg, label->rect().center());
    QTest::mouseRelease(dlg.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(dlg.isVisible());
    QTest::mouseClick(dlg.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(dlg.isVisible());
}

} // namespace
} // namespace halvorn
