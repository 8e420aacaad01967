#include "render/Stamps.h"

#include "map/Numeric.h"
#include "render/ShadeTable.h"
#include "render/SpriteCache.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace halvorn {

namespace {

int FloorInt(float v)
{
    return static_cast<int>(std::floor(v));
}

float Fraction(float v)
{
    return v - std::floor(v);
}

// A picture put down unscaled at `at`.
void Add(std::vector<Stamp>& out, const QImage* image, QPoint at, QRect area,
         Stamp::Kind kind = Stamp::Picture)
{
    if (!image)
        return;
    const QRect bounds(at, image->size());
    if (bounds.intersects(area))
        out.push_back(Stamp{
            image, bounds, {}, {}, kind, kind == Stamp::Picture && !image->hasAlphaChannel()});
}

// The `source` part of a picture scaled into `target`; put down unscaled
// when no scaling is needed.
void AddScaled(std::vector<Stamp>& out, const QImage* image, QRect source, QRect target, QRect area)
{
    if (!image || !target.intersects(area))
        return;
    const bool whole = source == image->rect();
    const bool opaque = !image->hasAlphaChannel() && whole;
    const bool unscaled = target.size() == image->size() && whole;
    out.push_back(Stamp{image, target, source, QRectF(target),
                        unscaled ? Stamp::Picture : Stamp::Scaled, opaque});
}

// A grid line is one canvas pixel wide: at a device pixel ratio r it covers
// r device pixels, rounded to whole ones, since an unsmoothed line must fill
// whole pixels to stay sharp and every line must come out equally wide (a
// line spanning the device pixels between its rounded edges would be 1 or 2
// wide by turns at 150 %). Never thinner than one pixel.
int GridLineWidth(float ratio)
{
    return std::max(1, RoundToInt(ratio));
}

// A floor cell spans from its rounded left edge to its neighbour's, so cells
// of a fractional size (67.5 device pixels at 75 % on a 125 % screen) tile
// without a seam; where the size is whole it is the rounded cell size.
QRect FloorCell(float scale, int x, int y)
{
    const float cell = static_cast<float>(CellSize) * scale;
    const int left = RoundToInt(cell * static_cast<float>(x));
    const int top = RoundToInt(cell * static_cast<float>(y));
    return QRect(QPoint(left, top), QPoint(RoundToInt(cell * static_cast<float>(x + 1)) - 1,
                                           RoundToInt(cell * static_cast<float>(y + 1)) - 1));
}

void Grid(const View& v, QRect area, std::vector<Stamp>& out)
{
    const float cell = static_cast<float>(CellSize) * v.Scale();
    const int width = RoundToInt(cell * v.map.MapWidth());
    const int height = RoundToInt(cell * v.map.MapHeight());
    const int thick = GridLineWidth(v.ratio);
    // Each line is the last `thick` pixel columns or rows before the cell
    // edge, reaching `thick` past the far edge as a line's end does.
    for (float k = 0; k <= v.map.MapWidth(); k += 1) {
        const QRect line(RoundToInt(cell * k) - thick, 0, thick, height + thick);
        if (line.intersects(area))
            out.push_back(Stamp{nullptr, line, {}, {}, Stamp::Line, true});
    }
    for (float k = 0; k <= v.map.MapHeight(); k += 1) {
        const QRect line(0, RoundToInt(cell * k) - thick, width + thick, thick);
        if (line.intersects(area))
            out.push_back(Stamp{nullptr, line, {}, {}, Stamp::Line, true});
    }
}

void Floors(const View& v, QRect area, SpriteCache& sprites, std::vector<Stamp>& out)
{
    for (int x = 0; x < v.map.FloorColumns(); ++x) {
        const QRect column = FloorCell(v.Scale(), x, 0);
        if (column.left() > area.right() || column.right() < area.left())
            continue;
        for (int y = 0; y < v.map.FloorRows(); ++y) {
            const ImageHandle tile = v.map.FloorAt(x, y);
            if (tile == 0)
                continue;
            const QRect target = FloorCell(v.Scale(), x, y);
            if (target.intersects(area)) {
                const QImage* picture = sprites.Picture(tile);
                if (picture)
                    AddScaled(out, picture, picture->rect(), target, area);
            }
        }
    }
}

void Objects(const View& v, QRect area, SpriteCache& sprites, std::vector<Stamp>& out)
{
    const float z = v.Scale();
    const float d = static_cast<float>(v.shadows.ObjectShadowOffset);
    const std::vector<PlacedObject>& objects = v.map.Objects();
    for (size_t i = 0; i + 1 < objects.size(); ++i) {
        const PlacedObject& o = objects[i];
        if (o.Image == 0)
            continue;
        const int w = RoundToInt(z * static_cast<float>(o.Width));
        const int h = RoundToInt(z * static_cast<float>(o.Height));
        if (v.drawshadows && o.Shadow) {
            const QRect target(RoundToInt(o.X * z + d * z), RoundToInt(o.Y * z + d * z), w, h);
            if (target.intersects(area))
                AddScaled(out,
                          sprites.Silhouette(o.Image, o.orientation, v.shadows.ObjectShadowAlpha),
                          QRect(0, 0, o.Width, o.Height), target, area);
        }
        const QRect target(RoundToInt(o.X * z), RoundToInt(o.Y * z), w, h);
        if (target.intersects(area)) {
            const QImage* turned = sprites.Turned(o.Image, o.orientation);
            if (turned)
                AddScaled(out, turned, turned->rect(), target, area);
        }
    }
}

// Wall point indices whose pieces or shadows can reach [from, to] on one axis.
std::pair<int, int> WallSpan(float scale, int from, int to, int count)
{
    const float s = static_cast<float>(WallStep) * scale;
    const int first = std::max(0, FloorInt((static_cast<float>(from) - 18 * scale - 4) / s));
    const int last =
        std::min(count - 1, FloorInt((static_cast<float>(to) + 9 * scale + 2) / s) + 1);
    return {first, last};
}

void Walls(const View& v, QRect area, SpriteCache& sprites, std::vector<Stamp>& out)
{
    const float z = v.Scale();
    const float s = static_cast<float>(WallStep) * z;
    // The zoom, not the device scale, decides the layers: a 200 % screen
    // shows the 50 % view's five layers, each two device pixels apart.
    const int firstLayer = FirstShadowLayer(v.zoom);
    const bool shade = DrawsWallShadowLayers(v.zoom, v.shadows, v.drawshadows);
    const auto [x0, x1] = WallSpan(z, area.left(), area.right(), v.map.WallColumns());
    const auto [y0, y1] = WallSpan(z, area.top(), area.bottom(), v.map.WallRows());
    const QRectF canvas(QPointF(0, 0), QSizeF(v.canvas));
    // Half a canvas pixel larger than the step, so neighbours overlap.
    const float side = s + 0.5f * v.ratio;
    // Thousands of points share a few pieces and phases: remember the last
    // few answers instead of asking the cache each time.
    struct Known {
        ImageHandle piece;
        float fx, fy;
        const QImage* image;
    };
    std::array<Known, 16> known{};
    size_t knownCount = 0, nextSlot = 0;
    const auto lookup = [&](ImageHandle piece, float fx, float fy, auto make) {
        for (size_t k = 0; k < knownCount; ++k)
            if (known[k].piece == piece && known[k].fx == fx && known[k].fy == fy)
                return known[k].image;
        const QImage* image = make();
        known[nextSlot] = Known{piece, fx, fy, image};
        nextSlot = (nextSlot + 1) % known.size();
        knownCount = std::max(knownCount, nextSlot == 0 ? known.size() : nextSlot);
        return image;
    };
    // A picture much larger than a piece is reduced so strongly that where
    // it lands on the canvas changes the raster engine's samples: such
    // pieces are drawn in place like those at the edge. Wall tiles are a
    // wall step square, so this is the odd picture only.
    ImageHandle lastPiece = 0;
    bool lastOversized = false;
    const auto oversized = [&](ImageHandle piece) {
        if (piece != lastPiece) {
            const QImage* picture = sprites.Picture(piece);
            lastPiece = piece;
            lastOversized =
                picture && (picture->width() > 2 * WallStep || picture->height() > 2 * WallStep);
        }
        return lastOversized;
    };
    for (int x = x0; x <= x1; ++x) {
        const float cx = s * static_cast<float>(x);
        for (int y = y0; y <= y1; ++y) {
            const ImageHandle piece = v.map.WallAt(x, y);
            if (piece == 0)
                continue;
            const float cy = s * static_cast<float>(y);
            // Counts are taken only where there are layers to count.
            if (v.taken.On(Shortcut::Counts)) {
                const float left = cx - 8 * z;
                const float top = cy - 8 * z;
                const float fx = Fraction(left), fy = Fraction(top);
                const QImage* counts =
                    lookup(0, fx, fy, [&] { return sprites.WallShade(z, firstLayer, fx, fy); });
                if (counts)
                    Add(out, counts, QPoint(FloorInt(left), FloorInt(top)) + counts->offset(), area,
                        Stamp::Shade);
            } else if (shade) {
                for (int n = firstLayer; n <= 8; ++n) {
                    const float off = static_cast<float>(n) * z;
                    const QRectF square(cx - off, cy - off, s, s);
                    if (square.toAlignedRect().intersects(area))
                        out.push_back(Stamp{
                            nullptr, square.toAlignedRect(), {}, square, Stamp::Square, false});
                }
            }
            const float left = cx - 9 * z;
            const float top = cy - 9 * z;
            const QRectF target(left, top, side, side);
            if (!v.taken.On(Shortcut::Phases) || !canvas.contains(target) || oversized(piece)) {
                // Where the device's edge cuts a scaled draw the raster
                // engine samples it differently, so pieces reaching over
                // the edge are drawn directly, as the literal redraw does.
                const QImage* picture = sprites.Picture(piece);
                if (picture && target.toAlignedRect().intersects(area))
                    out.push_back(Stamp{picture, target.toAlignedRect(), picture->rect(), target,
                                        Stamp::Scaled, false});
                continue;
            }
            const float fx = Fraction(left), fy = Fraction(top);
            const QImage* drawn =
                lookup(piece, fx, fy, [&] { return sprites.WallPiece(piece, side, fx, fy); });
            if (drawn)
                Add(out, drawn, QPoint(FloorInt(left), FloorInt(top)) + drawn->offset(), area);
        }
    }
}

// One bit per pixel of an area: set where a later opaque stamp covers it.
class Coverage {
public:
    explicit Coverage(QRect area)
        : area_(area), words_((area.width() + 63) / 64),
          bits_(static_cast<size_t>(words_) * static_cast<size_t>(std::max(0, area.height())), 0)
    {
    }

    void Cover(QRect r)
    {
        const Span sp = SpanOf(r);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            uint64_t* row = Row(y);
            row[sp.first] |= sp.firstMask;
            for (int w = sp.first + 1; w < sp.last; ++w)
                row[w] = ~uint64_t{0};
            if (sp.last != sp.first)
                row[sp.last] |= sp.lastMask;
        }
    }

    // The smallest rectangle holding every pixel of r (inside the area)
    // that is not covered; empty when all are.
    QRect UncoveredBounds(QRect r) const
    {
        const Span sp = SpanOf(r);
        int top = INT_MAX, bottom = INT_MIN, left = INT_MAX, right = INT_MIN;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const uint64_t* row = Row(y);
            for (int w = sp.first; w <= sp.last; ++w) {
                uint64_t mask = ~uint64_t{0};
                if (w == sp.first)
                    mask &= sp.firstMask;
                if (w == sp.last && sp.last != sp.first)
                    mask &= sp.lastMask;
                const uint64_t open = ~row[w] & mask;
                if (open == 0)
                    continue;
                top = std::min(top, y);
                bottom = y;
                left = std::min(left, w * 64 + std::countr_zero(open));
                right = std::max(right, w * 64 + 63 - std::countl_zero(open));
            }
        }
        if (top == INT_MAX)
            return {};
        return QRect(QPoint(left + area_.left(), top), QPoint(right + area_.left(), bottom));
    }

    // Runs of pixels no stamp covers, row by row.
    void Uncovered(std::vector<WhiteRun>& out) const
    {
        const int width = area_.width();
        for (int y = area_.top(); y <= area_.bottom(); ++y) {
            const uint64_t* row = Row(y);
            int x = 0;
            while (x < width) {
                const uint64_t word = row[static_cast<size_t>(x / 64)];
                if (x % 64 == 0 && word == ~uint64_t{0}) {
                    x += 64;
                    continue;
                }
                if ((word >> (x % 64)) & 1) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < width && !((row[static_cast<size_t>(x / 64)] >> (x % 64)) & 1))
                    x = (x % 64 == 0 && row[static_cast<size_t>(x / 64)] == 0) ? x + 64 : x + 1;
                out.push_back({y, area_.left() + start, area_.left() + std::min(x, width) - 1});
            }
        }
    }

private:
    // The words of one row a rectangle touches, and the bits in the first
    // and last of them.
    struct Span {
        int first, last;
        uint64_t firstMask, lastMask;
    };

    Span SpanOf(QRect r) const
    {
        const int from = r.left() - area_.left();
        const int to = r.right() - area_.left();
        const int first = from / 64, last = to / 64;
        const uint64_t fromFirst = ~uint64_t{0} << (from % 64);
        const uint64_t upToLast =
            (to % 64) == 63 ? ~uint64_t{0} : (uint64_t{1} << (to % 64 + 1)) - 1;
        if (first == last)
            return {first, last, fromFirst & upToLast, 0};
        return {first, last, fromFirst, upToLast};
    }

    uint64_t* Row(int y) { return &bits_[static_cast<size_t>(y - area_.top()) * words_]; }
    const uint64_t* Row(int y) const
    {
        return &bits_[static_cast<size_t>(y - area_.top()) * words_];
    }

    QRect area_;
    size_t words_;
    std::vector<uint64_t> bits_;
};

} // namespace

void CollectStamps(const View& view, QRect area, SpriteCache& sprites, std::vector<Stamp>& out)
{
    if (view.layers.ShowGridLayer)
        Grid(view, area, out);
    if (view.layers.ShowFloorLayer)
        Floors(view, area, sprites, out);
    if (view.layers.ShowObjectLayer)
        Objects(view, area, sprites, out);
    if (view.layers.ShowWallLayer)
        Walls(view, area, sprites, out);
}

void KeepVisible(const std::vector<Stamp>& stamps, std::vector<int>& which, QRect area,
                 std::vector<QRect>& parts, std::vector<WhiteRun>& white, RenderShortcuts taken)
{
    if (!taken.On(Shortcut::Cover)) {
        // Everything that reaches the area, whole, over a white area.
        size_t kept = 0;
        parts.clear();
        for (const int k : which) {
            const QRect r = stamps[static_cast<size_t>(k)].bounds & area;
            if (r.isEmpty())
                continue;
            which[kept++] = k;
            parts.push_back(r);
        }
        which.resize(kept);
        for (int y = area.top(); y <= area.bottom(); ++y)
            white.push_back({y, area.left(), area.right()});
        return;
    }
    Coverage covered(area);
    size_t kept = which.size();
    parts.resize(which.size());
    // Backwards, so each stamp meets the coverage of everything drawn after
    // it; the survivors gather at the end in painting order.
    for (size_t i = which.size(); i-- > 0;) {
        const Stamp& s = stamps[static_cast<size_t>(which[i])];
        const QRect r = s.bounds & area;
        if (r.isEmpty())
            continue;
        const QRect open = covered.UncoveredBounds(r);
        if (open.isEmpty())
            continue;
        if (s.opaque)
            covered.Cover(r);
        --kept;
        which[kept] = which[i];
        parts[kept] = open;
    }
    which.erase(which.begin(), which.begin() + static_cast<std::ptrdiff_t>(kept));
    parts.erase(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(kept));
    covered.Uncovered(white);
}

void UseScaledCopies(std::vector<Stamp>& stamps, const std::vector<int>& which, QSize canvas,
                     SpriteCache& sprites, RenderShortcuts taken)
{
    const bool kept = taken.On(Shortcut::Placed);
    const bool every = taken.On(Shortcut::Partial);
    if (!kept && !every)
        return;
    for (const int i : which) {
        Stamp& s = stamps[static_cast<size_t>(i)];
        if (s.kind != Stamp::Scaled)
            continue;
        const QImage* copy = nullptr;
        // Only whole-pixel places have kept copies: a wall piece at the edge
        // is drawn directly.
        if (kept && s.target == QRectF(s.bounds))
            copy = sprites.PlacedIfSeen(*s.image, s.source, s.bounds, canvas);
        if (!copy && every)
            copy = sprites.AtPlaceForThisRedraw(*s.image, s.source, s.target, canvas);
        if (copy)
            s = Stamp{copy, QRect(copy->offset(), copy->size()), {}, {}, Stamp::Picture, s.opaque};
    }
}

bool DrawsWallShadowLayers(float zoom, const ShadowParams& shadows, bool drawshadows)
{
    return drawshadows && FirstShadowLayer(zoom) <= 8 &&
           std::clamp<int>(shadows.WallShadowAlpha, 0, 255) > 0;
}

void PaintArea(uchar* canvasBits, qsizetype bytesPerLine, QImage::Format format, QSize canvas,
               QRect area, const std::vector<WhiteRun>& white, const std::vector<Stamp>& stamps,
               const std::vector<int>& which, const std::vector<QRect>& parts,
               const ShadeTable& shade)
{
    for (const WhiteRun& run : white) {
        auto* row = reinterpret_cast<QRgb*>(canvasBits + run.y * bytesPerLine);
        std::fill(row + run.left, row + run.right + 1, 0xFFFFFFFFu);
    }
    // Every painter needs a picture of its own, so each area gets a picture
    // over the whole canvas's pixels, clipped to the area: positions stay
    // those of the canvas, where scaled draws sample exactly as drawing on
    // the canvas itself does, and no draw reaches more rows than the area.
    QImage view(canvasBits, canvas.width(), canvas.height(), bytesPerLine, format);
    QPainter p(&view);
    // Scaled pictures filtered, shapes crisp, as everywhere in the program.
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(area);
    for (size_t k = 0; k < which.size(); ++k) {
        const Stamp& s = stamps[static_cast<size_t>(which[k])];
        // Only the part not covered by later opaque stamps can show.
        const QRect r = parts[k] & area;
        if (r.isEmpty())
            continue;
        switch (s.kind) {
        case Stamp::Line:
            p.fillRect(r, Qt::black);
            break;
        case Stamp::Picture:
            if (r == s.bounds) {
                p.drawImage(r.topLeft(), *s.image);
            } else {
                // A view of the part, not a copy: drawn at a point, a whole
                // picture takes the raster engine's plain blend, a part of
                // one its slower general path.
                const QImage& img = *s.image;
                const QPoint from = r.topLeft() - s.bounds.topLeft();
                const QImage part(img.constScanLine(from.y()) + from.x() * (img.depth() / 8),
                                  r.width(), r.height(), img.bytesPerLine(), img.format());
                p.drawImage(r.topLeft(), part);
            }
            break;
        case Stamp::Scaled:
            p.drawImage(s.target, *s.image, QRectF(s.source));
            break;
        case Stamp::Square:
            p.fillRect(s.target, QColor(0, 0, 0, shade.Alpha()));
            break;
        case Stamp::Shade:
            // The raster engine writes straight into the rows, so pixels
            // changed here between its draws are seen by the next one.
            for (int y = r.top(); y <= r.bottom(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(canvasBits + y * bytesPerLine);
                const uchar* counts = s.image->constScanLine(y - s.bounds.top()) - s.bounds.left();
                for (int x = r.left(); x <= r.right(); ++x)
                    if (counts[x] != 0)
                        row[x] = shade.Apply(row[x], counts[x]);
            }
            break;
        }
    }
}

QRect FloorReach(float scale, int x, int y)
{
    return FloorCell(scale, x, y);
}

QRect WallReach(float scale, int x, int y)
{
    // The piece from 9 z above-left of the point, the shadow to s + 8 z
    // below-right of where its squares start, with a pixel to spare for the
    // sub-pixel edges.
    const float s = static_cast<float>(WallStep) * scale;
    const float cx = s * static_cast<float>(x);
    const float cy = s * static_cast<float>(y);
    const int left = FloorInt(cx - 9 * scale) - 1;
    const int top = FloorInt(cy - 9 * scale) - 1;
    const int right = static_cast<int>(std::ceil(cx + s + 2)) + 1;
    const int bottom = static_cast<int>(std::ceil(cy + s + 2)) + 1;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace halvorn
