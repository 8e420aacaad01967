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
    struct Row {
        QString setting;
        bool shown;
    };
    const Row rows[] = {{QStringLiteral("1"), true},
                        {QStringLiteral("0"), false},
                        {QString(), false},
                        {QStringLiteral("yes"), false},
                        {QStringLiteral("1 "), false},
                        {QStringLiteral(" 1"), false},
                        {QStringLiteral("01"), false},
                        {QStringLiteral("true"), false},
                        {QString(), false}};
    for (const Row& row : rows) {
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
}

TEST(Splash, RealWaitShowsAndDestroys)
{
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
    enum class Where { Label, Artwork, Margin, ReleaseOnly, RightClickLabel };
    struct Row {
        const char* name;
        Where where;
        int expected;
    };
    const Row rows[] = {
        {"label", Where::Label, QDialog::Accepted},
        {"artwork", Where::Artwork, QDialog::Accepted},
        {"margin", Where::Margin, QDialog::Accepted},
        {"right button on label", Where::RightClickLabel, QDialog::Accepted},
        // A release alone (the press was on whatever opened the box) is no click.
        {"release only", Where::ReleaseOnly, QDialog::Rejected},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frmAbout dlg;
        QTimer::singleShot(0, &dlg, [&] {
            // Whatever the click did, the box must not stay open.
            QTimer::singleShot(0, &dlg, [&] {
                if (dlg.isVisible())
                    dlg.reject();
            });
            EXPECT_EQ(QApplication::activeModalWidget(), &dlg);
            QWindow* window = dlg.windowHandle();
            const auto centreOf = [&](const QWidget* w) {
                return w->mapTo(&dlg, w->rect().center());
            };
            const QPoint label = centreOf(dlg.findChild<QLabel*>(QStringLiteral("lblVersion")));
            switch (row.where) {
            case Where::Label:
                QTest::mouseClick(window, Qt::LeftButton, {}, label);
                break;
            case Where::Artwork:
                QTest::mouseClick(window, Qt::LeftButton, {},
                                  centreOf(dlg.findChild<ArtworkView*>()));
                break;
            case Where::Margin:
                QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(3, 3));
                break;
            case Where::RightClickLabel:
                QTest::mouseClick(window, Qt::RightButton, {}, label);
                break;
            case Where::ReleaseOnly:
                QTest::mouseRelease(window, Qt::LeftButton, {}, label);
                break;
            }
        });
        EXPECT_EQ(dlg.exec(), row.expected);
    }
}

} // namespace
} // namespace halvorn
