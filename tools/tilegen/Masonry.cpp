#include "Masonry.h"

#include <algorithm>
#include <cmath>

namespace tileset::kit {

static double wrapTo(double v, double period)
{
    const double m = std::fmod(v, period);
    return m < 0 ? m + period : m;
}

Block locateBlock(const std::vector<Course>& courses, double period, double x, double y)
{
    x = wrapTo(x, period);
    y = wrapTo(y, period);
    Block b;
    int row = int(courses.size()) - 1;
    for (int i = 0; i < int(courses.size()); ++i)
        if (y >= courses[i].y0 && y < courses[i].y0 + courses[i].height)
            row = i;
    const Course& c = courses[row];
    const int n = int(c.cuts.size());
    int col = n - 1; // before the first cut we are still in the last, wrapping block
    for (int i = 0; i < n; ++i)
        if (x >= c.cuts[i])
            col = i;
    const double start = c.cuts[col];
    const double end = col + 1 < n ? c.cuts[col + 1] : c.cuts[0] + period;
    b.row = row;
    b.column = col;
    b.id = row * 64 + col;
    b.u = wrapTo(x - start, period);
    b.w = end - start;
    b.v = y - c.y0;
    b.h = c.height;
    return b;
}

double borderDistance(const Block& b)
{
    return std::min({b.u, b.v, b.w - b.u, b.h - b.v});
}

double bevel(const Block& b, double width)
{
    auto near = [&](double d) { return 1.0 - smooth(0.0, width, d); };
    const double lit = std::max(near(b.u), near(b.v));
    const double dark = std::max(near(b.w - b.u), near(b.h - b.v));
    return std::clamp(lit - dark, -1.0, 1.0);
}

} // namespace tileset::kit
