#include "GeneratedLibrary.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <random>

namespace hostile {

namespace {

// Speckles, so the pictures compress and decode as drawn art does, not as
// flat colour.
void Texture(QImage& picture, std::mt19937& random)
{
    std::uniform_int_distribution<int> shade(-24, 24);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            if (a == 0)
                continue;
            const int d = shade(random) * a / 255;
            line[x] = qRgba(std::clamp(qRed(p) + d, 0, a), std::clamp(qGreen(p) + d, 0, a),
                            std::clamp(qBlue(p) + d, 0, a), a);
        }
    }
}

QImage HexTile(std::mt19937& random)
{
    QImage tile(72, 72, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    std::uniform_int_distribution<int> hue(0, 359), sat(40, 200), val(80, 230);
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hex;
    for (int i = 0; i < 6; ++i) {
        const double angle = (60.0 * i - 30.0) * M_PI / 180.0;
        const QPointF corner(36 + 35.5 * std::cos(angle), 36 + 35.5 * std::sin(angle));
        i == 0 ? hex.moveTo(corner) : hex.lineTo(corner);
    }
    hex.closeSubpath();
    p.fillPath(hex, QColor::fromHsv(hue(random), sat(random), val(random)));
    p.setPen(QPen(QColor(0, 0, 0, 90), 3));
    p.drawPath(hex);
    p.end();
    Texture(tile, random);
    return tile;
}

int PropSide(std::mt19937& random)
{
    const int band = std::uniform_int_distribution<int>(0, 99)(random);
    if (band < 15)
        return std::uniform_int_distribution<int>(18, 59)(random);
    if (band < 85)
        return std::uniform_int_distribution<int>(60, 150)(random);
    return std::uniform_int_distribution<int>(151, 512)(random);
}

QImage Prop(std::mt19937& random, int side, int smallest, int largest)
{
    const int w = side;
    int h = w;
    if (std::uniform_int_distribution<int>(0, 1)(random) == 1)
        h = std::clamp(
            static_cast<int>(w * std::uniform_real_distribution<double>(0.3, 2.5)(random)),
            smallest, largest);
    QImage prop(w, h, QImage::Format_ARGB32_Premultiplied);
    prop.fill(Qt::transparent);
    std::uniform_int_distribution<int> hue(0, 359), sat(60, 255), val(60, 255);
    const QColor colour = QColor::fromHsv(hue(random), sat(random), val(random));
    QRadialGradient soft(QPointF(w / 2.0, h / 2.0), std::max(w, h) / 2.0);
    soft.setColorAt(0.0, colour);
    soft.setColorAt(0.75, colour);
    QColor edge = colour;
    edge.setAlpha(0);
    soft.setColorAt(1.0, edge);
    QPainter p(&prop);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(soft);
    p.drawEllipse(QRectF(0, 0, w, h));
    p.end();
    Texture(prop, random);
    return prop;
}

} // namespace

bool WriteGeneratedLibrary(const QString& folder, LibraryShape shape, int count, uint32_t seed,
                           const QString& prefix)
{
    std::mt19937 random(seed);
    for (int n = 1; n <= count; ++n) {
        QImage picture;
        if (shape == LibraryShape::Floors)
            picture = HexTile(random);
        else if (shape == LibraryShape::Objects)
            picture = Prop(random, PropSide(random), 18, 512);
        else if (n % 500 == 250)
            picture = n == 250
                          ? Prop(random, 2400, 16, 2400).copy(0, 0, 2400, 2400)
                          : Prop(random, std::uniform_int_distribution<int>(1200, 2400)(random), 16,
                                 2400);
        else
            picture = Prop(random, std::max(16, PropSide(random) - 2), 16, 512);
        if (!picture.save(QStringLiteral("%1/%2_%3.png").arg(folder, prefix).arg(n), "PNG"))
            return false;
    }
    return true;
}

} // namespace hostile
