// Courses of rectangular blocks repeating over a square period: the layout
// behind flagstones, bricks, slabs and wall blocks.
#pragma once

#include "PaintKit.h"

#include <vector>

namespace tileset::kit {

struct Course {
    double y0 = 0, height = 0;
    std::vector<double> cuts; // block starts within [0, period), ascending
};

struct Block {
    int id = 0; // unique per block within the period
    int row = 0, column = 0;
    double u = 0, v = 0; // position inside the block
    double w = 0, h = 0; // block size
};

Block locateBlock(const std::vector<Course>& courses, double period, double x, double y);

// Distance from the block border, and a light-from-top-left bevel term in
// [-1, 1] over the outer bevel pixels.
double borderDistance(const Block& b);
double bevel(const Block& b, double width);

} // namespace tileset::kit
