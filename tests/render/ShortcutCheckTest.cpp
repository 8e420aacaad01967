#include "render/ShortcutCheck.h"
#include "imaging/Imaging.h"
#include "render/ShortcutVerdict.h"

#include "QStringPrint.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

using namespace halvorn;

TEST(ShortcutCheck, OnlyTheVerifiedReleasesSkipTheCheck)
{
    // clang-format off
    const struct { const char* version; bool verified; } rows[] = {
        {"6.4.2", true}, {"6.4", true}, {"6.8.2", true}, {"6.8.3", true}, {"6.11.0", true},
        {"6.5.3", false}, {"6.9.1", false}, {"6.1.0", false}, {"6.10", false}, {"7.4.0", false},
        {"6", false}, {"", false}, {"6.x.1", false},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        EXPECT_EQ(QtVersionVerified(QString::fromLatin1(row.version)), row.verified);
        // On a verified release nothing is drawn and the configured set holds at once.
        std::atomic<int> draws = 0;
        const ProbeDrawer count = [&](const ShortcutProbe& p, RenderShortcuts s, float r) {
            ++draws;
            return DrawShortcutProbe(p, s, r);
        };
        const RenderShortcuts configured = RenderShortcuts().Without(Shortcut::Cover);
        const ShortcutVerdict verdict(configured, QString::fromLatin1(row.version), {1.0f}, false,
                                      count);
        EXPECT_EQ(verdict.Checking(), !row.verified);
        EXPECT_EQ(verdict.Final(), configured);
        EXPECT_EQ(draws.load(), row.verified ? 0 : 6);
    }
}

// A shortcut that draws one pixel wrong on this Qt is switched off, and only
// that one; the plain path stands in for all of them until the check ends.
TEST(ShortcutCheck, AShortcutThatDrawsWrongIsSwitchedOff)
{
    InitGdip();
    for (const Shortcut broken : AllShortcuts) {
        const std::string name(ShortcutName(broken));
        SCOPED_TRACE(name);
        std::atomic<bool> release = false;
        const ProbeDrawer wrong = [&](const ShortcutProbe& p, RenderShortcuts s, float r) {
            while (!release)
                std::this_thread::yield();
            std::vector<QImage> pictures = DrawShortcutProbe(p, s, r);
            if (s.On(broken)) {
                QImage& last = pictures.back();
                last.setPixel(3, 3, last.pixel(3, 3) ^ 0x020000);
            }
            return pictures;
        };
        const ShortcutVerdict verdict(RenderShortcuts(), QStringLiteral("6.9.1"), {1.0f, 2.0f},
                                      false, wrong);
        EXPECT_EQ(verdict.Current(), RenderShortcuts::AllOff());
        EXPECT_EQ(verdict.Report(), QString());
        release = true;
        EXPECT_EQ(verdict.Final(), RenderShortcuts().Without(broken));
        EXPECT_EQ(verdict.Current(), RenderShortcuts().Without(broken));
        EXPECT_EQ(verdict.Report().toStdString(),
                  "halvorn3: Qt 6.9.1 draws the map differently with the renderer shortcuts " +
                      name + "; they are off for this run.");
    }
}

// The probe itself, forced on this Qt with the real renderer, keeps every
// shortcut at both ratios: the shortcuts hold here, and a probe drawn wrong
// by the shortcuts would fail the render tests first.
TEST(ShortcutCheck, TheRealProbeKeepsEveryShortcutHere)
{
    InitGdip();
    const ShortcutVerdict verdict(RenderShortcuts(), QString::fromLatin1(qVersion()), {1.0f, 2.0f},
                                  true);
    EXPECT_TRUE(verdict.Checking());
    EXPECT_EQ(verdict.Final(), RenderShortcuts());
    EXPECT_EQ(verdict.Report(), QString());
}

} // namespace
