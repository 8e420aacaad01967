// The wall shadow's arithmetic: black squares of one alpha laid over a
// pixel k times, with the raster engine's own rounding for a translucent
// solid fill, so darkening a pixel by its layer count in one step equals
// filling the squares one by one.
#pragma once

#include <QRgb>

#include <array>
#include <cstddef>
#include <cstdint>

namespace halvorn {

class ShadeTable {
public:
    // For layers of `alpha` (0..255).
    explicit ShadeTable(int alpha = 0) { Fill(alpha); }
    int Alpha() const { return layerAlpha_; }

    QRgb Apply(QRgb p, int k) const
    {
        const auto& c = colour_[static_cast<size_t>(k)];
        return qRgba(c[qRed(p)], c[qGreen(p)], c[qBlue(p)],
                     alpha_[static_cast<size_t>(k)][qAlpha(p)]);
    }

private:
    static int ByteMul(int x, int a)
    {
        const int t = x * a;
        return (t + (t >> 8) + 0x80) >> 8;
    }

    void Fill(int alpha)
    {
        layerAlpha_ = alpha;
        for (int v = 0; v < 256; ++v) {
            int c = v, a = v;
            for (size_t k = 0; k < Layers; ++k) {
                colour_[k][static_cast<size_t>(v)] = static_cast<uint8_t>(c);
                alpha_[k][static_cast<size_t>(v)] = static_cast<uint8_t>(a);
                c = ByteMul(c, 255 - alpha);
                a = alpha + ByteMul(a, 255 - alpha);
            }
        }
    }

    static constexpr size_t Layers = 8;
    std::array<std::array<uint8_t, 256>, Layers> colour_{};
    std::array<std::array<uint8_t, 256>, Layers> alpha_{};
    int layerAlpha_ = 0;
};

} // namespace halvorn
