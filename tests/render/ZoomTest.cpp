#include "map/Zoom.h"

#include <gtest/gtest.h>

using namespace halvorn;

// Each zoom's steps, button states and exact text; that the window shows
// them after every zoom is the monkey's invariant.
TEST(Zoom, StepsStatesAndTexts)
{
    // clang-format off
    const struct { float zoom, in, out; bool inOn, outOn; const char* text; } rows[] = {
        {0.25f, 0.5f, 0.25f, true, false, "ZoomLevel =  25%"}, {0.5f, 0.75f, 0.25f, true, true, "ZoomLevel =  50%"},
        {0.75f, 1.0f, 0.5f, true, true, "ZoomLevel =  75%"},   {1.0f, 1.0f, 0.75f, false, true, "ZoomLevel =  100%"},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ZoomInStep(r.zoom), r.in);
        EXPECT_EQ(ZoomOutStep(r.zoom), r.out);
        EXPECT_EQ(ZoomInEnabled(r.zoom), r.inOn);
        EXPECT_EQ(ZoomOutEnabled(r.zoom), r.outOn);
        EXPECT_EQ(ZoomLevelText(r.zoom), QString::fromLatin1(r.text));
    }
}

// A touchpad's burst of small deltas: one step per 120.
TEST(Zoom, WheelCountsWholeNotches)
{
    // clang-format off
    const std::pair<std::vector<int>, std::vector<int>> rows[] = {
        {{120}, {1}}, {{-120}, {-1}}, {{240}, {2}}, {{30, 30, 30, 30}, {0, 0, 0, 1}},
        {{15, 15, 15, 15, 15, 15, 15, 15, 15}, {0, 0, 0, 0, 0, 0, 0, 1, 0}}, {{60, -60, -60}, {0, 0, -1}}, {{0}, {0}},
    };
    // clang-format on
    for (const auto& [deltas, notches] : rows) {
        SCOPED_TRACE(deltas.size());
        WheelAccumulator w;
        for (size_t i = 0; i < deltas.size(); ++i)
            EXPECT_EQ(w.Add(deltas[i]), notches[i]) << i;
    }
}
