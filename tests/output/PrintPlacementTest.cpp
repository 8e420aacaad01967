#include "output/PrintPlacement.h"

#include <gtest/gtest.h>

using namespace halvorn;

TEST(PrintPlacementTest, ScalesToTheWidthOnlyWhenNeededAndCentres)
{
    // clang-format off
    const struct { QSize canvas; QSizeF printable; std::optional<PrintPlacement> expected; } cases[] = {
        // 72 canvas pixels to the inch at 300 dpi: 1080 -> 4500.
        {{1080, 1080}, {4500, 6000}, PrintPlacement{0, 750, 4500, 4500}},
        {{1080, 1080}, {4800, 6000}, PrintPlacement{150, 750, 4500, 4500}},
        {{1080, 1080}, {2400, 3150}, PrintPlacement{0, 375, 2400, 2400}},
        // Taller than the page: cut at top and bottom, not shrunk further.
        {{1080, 1080}, {2400, 1800}, PrintPlacement{0, -300, 2400, 2400}},
        {{540, 540}, {2400, 3150}, PrintPlacement{75, 450, 2250, 2250}},
        // Half pixels round to even.
        {{1080, 1}, {2400.5, 3000}, PrintPlacement{0.25f, 1499, 2400, 2}},
        {{1080, 1}, {2401.5, 3000}, PrintPlacement{-0.25f, 1499, 2402, 2}},
        // Sizes beyond 16 bits cannot be printed.
        {{1080, 20000}, {2400, 3150}, std::nullopt},
        {{8000, 8000}, {40000, 40000}, std::nullopt},
        {{7864, 7864}, {40000, 40000}, PrintPlacement{3616.5f, 3616.5f, 32767, 32767}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.canvas.width() << "x" << c.canvas.height() << " on "
                                        << c.printable.width() << "x" << c.printable.height());
        // Every place is a whole or half printer pixel: exact in a float.
        EXPECT_EQ(ComputePrintPlacement(c.canvas, c.printable), c.expected);
    }
}
