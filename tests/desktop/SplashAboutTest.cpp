#include "desktop/ArtworkView.h"
#include "desktop/Version.h"
#include "desktop/frmAbout.h"
#include "desktop/frmSplash.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>

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
            EXPECT_TRUE(splash.isVisible());
            ASSERT_NE(splash.windowHandle(), nullptr);
            EXPECT_TRUE(splash.windowHandle()->isExposed()); // on screen before the wait
            EXPECT_EQ(splash.objectName(), QStringLiteral("frmSplash"));
            EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
            EXPECT_EQ(splash.findChildren<QWidget*>().size(), 1);
            EXPECT_NE(splash.findChild<ArtworkView*>(), nullptr);
            const QRect screen = splash.screen()->availableGeometry();
            EXPECT_LE((splash.frameGeometry().center() - screen.center()).manhattanLength(), 2);
        });
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(holds, row.shown ? 1 : 0);
        EXPECT_FALSE(AnySplashLeft());
    }
    // The real wait shows and destroys it the same way.
    EXPECT_FALSE(RunSplash(QStringLiteral("0")));
    EXPECT_TRUE(RunSplash(QStringLiteral("1")));
    EXPECT_FALSE(AnySplashLeft());
}

TEST(About, CaptionAndVersionLine)
{
    frmAbout dlg;
    auto* label = dlg.findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(dlg.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About MyApp"));
    EXPECT_EQ(label->text(), QStringLiteral("Version:"));
    dlg.show();
    EXPECT_EQ(label->text(), QStringLiteral("Version: Tallow ") + QLatin1String(VersionText));
    EXPECT_TRUE(label->isVisible());
    dlg.hide();
}

TEST(About, ClickAnywhereCloses)
{
    using Act = std::function<void(QWindow*, QPoint label, QPoint artwork)>;
    // clang-format off
    const struct { const char* name; Act act; int expected; } rows[] = {
        {"label", [](QWindow* w, QPoint label, QPoint) { QTest::mouseClick(w, Qt::LeftButton, {}, label); }, QDialog::Accepted},
        {"artwork", [](QWindow* w, QPoint, QPoint art) { QTest::mouseClick(w, Qt::LeftButton, {}, art); }, QDialog::Accepted},
        {"margin", [](QWindow* w, QPoint, QPoint) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3)); }, QDialog::Accepted},
        // A release alone (the press was on whatever opened the box) is no click.
        {"release only", [](QWindow* w, QPoint label, QPoint) { QTest::mouseRelease(w, Qt::LeftButton, {}, label); }, QDialog::Rejected},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        frmAbout dlg;
        QTimer::singleShot(0, &dlg, [&] {
            // Whatever the click did, the box must not stay open.
            QTimer::singleShot(0, &dlg, [&] {
                if (dlg.isVisible())
                    dlg.reject();
            });
            EXPECT_EQ(QApplication::activeModalWidget(), &dlg);
            const auto centreOf = [&](const QWidget* w) {
                return w->mapTo(&dlg, w->rect().center());
            };
            row.act(dlg.windowHandle(),
                    centreOf(dlg.findChild<QLabel*>(QStringLiteral("lblVersion"))),
                    centreOf(dlg.findChild<ArtworkView*>()));
        });
        EXPECT_EQ(dlg.exec(), row.expected);
    }
}

} // namespace
} // namespace halvorn
