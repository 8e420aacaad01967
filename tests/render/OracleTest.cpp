// The literal renderer's own helpers.
#include "oracle/LiteralRenderer.h"


#include <gtest/gtest.h>

#include <climits>


using namespace halvorn;

TEST(Oracle, DifferenceCountsEveryChannelAndSize)
{
    QImage a(4, 3, QImage::Format_ARGB32);
    a.fill(qRgba(10, 20, 30, 40));
    QImage b = a;
    EXPECT_EQ(oracle::MaxChannelDifference(a, b), 0);
    const QRgb changed[] = {qRgba(13, 20, 30, 40), qRgba(10, 15, 30, 40), qRgba(10, 20, 37, 40),
                            qRgba(10, 20, 30, 42)};
    const int expected[] = {3, 5, 7, 2};
    for (int i = 0; i < 4; ++i) {
        b = a;
        b.setPixel(3, 2, changed[i]);
        EXPECT_EQ(oracle::MaxChannelDifference(a, b), expected[i]) << i;
    }
    EXPECT_EQ(oracle::MaxChannelDifference(a, QImage(4, 4, QImage::Format_ARGB32)), INT_MAX);
}
