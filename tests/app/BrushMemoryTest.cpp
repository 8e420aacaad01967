// Turning the object brush many times must not make the program grow: every
// press loads the picture again under a new handle, but all those handles
// share the one decoded picture, and the turned copies stay in their budget.
#include "AppFixture.h"

#include "imaging/Imaging.h"

#include <QPainter>

namespace apptest {

namespace {

// The budget the imaging layer keeps its turned copies in.
constexpr std::size_t TurnedCopiesBudget = std::size_t{64} << 20;

} // namespace

TEST_F(AppFixture, TenThousandBrushTurnsShareOnePictureWithinTheBudget)
{
    // A 1024 x 1024 object with four different quarters, alone in its folder.
    const QString folder = dir.filePath(QStringLiteral("Big"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage big(1024, 1024, QImage::Format_ARGB32);
    {
        QPainter p(&big);
        p.fillRect(0, 0, 512, 512, Qt::red);
        p.fillRect(512, 0, 512, 512, Qt::green);
        p.fillRect(0, 512, 512, 512, Qt::blue);
        p.fillRect(512, 512, 512, 512, Qt::yellow);
    }
    ASSERT_TRUE(big.save(folder + QStringLiteral("/big.png")));
    SaveSetting(QLatin1String(keys::LocationObjects), folder);
    PickObject();
    const Brush& brush = window->CurrentBrush();
    const ImageHandle firstHandle = brush.ObjectImage;
    const QImage first = ImageOf(firstHandle);
    ASSERT_EQ(first.size(), QSize(1024, 1024));

    // Rotate right four times out of five and flip the fifth: every one of
    // the eight orientations comes round, again and again.
    QWidget* rotate = Find("btnRotateRight");
    QWidget* flip = Find("btnFlipHorizontal");
    ImageHandle previous = firstHandle;
    for (int press = 1; press <= 10000; ++press) {
        QTest::mouseClick(press % 5 == 0 ? flip : rotate, Qt::LeftButton);
        // Each press loads anew: a new handle, never one used before...
        ASSERT_GT(brush.ObjectImage, previous) << press;
        previous = brush.ObjectImage;
        // ...on the same decoded pixels, and the copies stay within budget.
        ASSERT_EQ(ImageOf(brush.ObjectImage).constBits(), first.constBits()) << press;
        ASSERT_LE(OrientedCacheBytes(), TurnedCopiesBudget) << press;
    }
    EXPECT_EQ(brush.Paths[BrushKind::Object], folder + QStringLiteral("/big.png"));
    // 10,000 presses: 8,000 quarter turns and 2,000 flips from code 0.
    EXPECT_EQ(brush.ObjectOrientation, 0);
    EXPECT_EQ(Find<FootprintMarker>("Cursor")->Size(), QSizeF(1024, 1024));
}

} // namespace apptest
