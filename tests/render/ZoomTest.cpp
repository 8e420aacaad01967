#include "map/Zoom.h"

#include <gtest/gtest.h>

using namespace halvorn;

// Each zoom's steps, button states and text: the monkey's invariants after
// every zoom. Here a touchpad's burst of small deltas: one step per 120.
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
