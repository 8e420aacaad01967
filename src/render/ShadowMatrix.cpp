#include "render/ShadowMatrix.h"

#include "map/Numeric.h"

#include <algorithm>

namespace halvorn {

ColorMatrix MakeShadowMatrix(float objectShadowAlpha)
{
    ColorMatrix m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = 0.01f;
    m[3][3] = objectShadowAlpha;
    m[4][4] = 1.0f;
    return m;
}

QImage ApplyColorMatrix(const QImage& source, const ColorMatrix& m)
{
    QImage out = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            const float in[5] = {static_cast<float>(qRed(p)), static_cast<float>(qGreen(p)),
                                 static_cast<float>(qBlue(p)), static_cast<float>(qAlpha(p)),
                                 255.0f};
            int outc[4];
            for (int j = 0; j < 4; ++j) {
                float v = 0;
                for (int i = 0; i < 5; ++i)
                    v += in[i] * m[i][j];
                outc[j] = std::clamp(RoundToInt(v), 0, 255);
            }
            line[x] = qRgba(outc[0], outc[1], outc[2], outc[3]);
        }
    }
    return out;
}

} // namespace halvorn
