#include "GeneratedLibrary.h"

#include "TestSupport.h"

#include <algorithm>
#include <random>

namespace hostile {

bool WriteGeneratedLibrary(const QString& folder, LibraryShape shape, int count, uint32_t seed,
                           const QString& prefix)
{
    std::mt19937 random(seed);
    const auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // Most props 60 to 150 pixels a side, some smaller, some much larger.
    const auto propSide = [&] {
        const int band = between(0, 99);
        return band < 15 ? between(18, 59) : band < 85 ? between(60, 150) : between(151, 512);
    };
    for (int n = 1; n <= count; ++n) {
        int w = 72, h = 72;
        if (shape == LibraryShape::Packs && n == 250) {
            w = h = 2400;
        } else if (shape != LibraryShape::Floors) {
            const bool large = shape == LibraryShape::Packs && n % 500 == 250;
            const int low = shape == LibraryShape::Packs ? 16 : 18, high = large ? 2400 : 512;
            w = large ? between(1200, 2400) : std::max(low, propSide());
            // Oblong as often as not.
            h = between(0, 1) ? std::clamp(static_cast<int>(w * between(30, 250) / 100), low, high)
                              : w;
        }
        // Speckles over the generated picture, so the files compress and
        // decode as drawn art does, not as smooth gradients.
        QImage picture = testsupport::Picture(w, h, n + static_cast<int>(seed) * 7,
                                              testsupport::Alpha::Translucent);
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const int d = between(-24, 24);
                line[x] = qRgba(std::clamp(qRed(line[x]) + d, 0, 255),
                                std::clamp(qGreen(line[x]) + d, 0, 255),
                                std::clamp(qBlue(line[x]) + d, 0, 255), qAlpha(line[x]));
            }
        }
        if (!picture.save(QStringLiteral("%1/%2_%3.png").arg(folder, prefix).arg(n), "PNG"))
            return false;
    }
    return true;
}

} // namespace hostile
