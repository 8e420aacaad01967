// The canvas tool's rules on a map alone; tests/app/EditingTest.cpp drives
// the same rules through the window, objects placed under the marker and
// the pop-up on one of them there only.
#include "map/CanvasTool.h"
#include "map/GridSearch.h"

#include <gtest/gtest.h>

using namespace halvorn;

namespace {

QSizeF Canvas(float zoom)
{
    return QSizeF(1080.0 * zoom, 1080.0 * zoom);
}

CanvasBrush Brush(BrushKind mode)
{
    CanvasBrush b;
    b.Mode = mode;
    b.FloorImage = 11;
    b.WallImage = 22;
    b.ObjectImage = 33;
    b.ObjectWidth = 40;
    b.ObjectHeight = 20;
    return b;
}

ToolOutcome Apply(MapDocument& map, CanvasTool& tool, BrushKind kind, int button, QPointF at,
                  float zoom = 1, QPointF marker = {})
{
    return tool.ApplyTool(map, Brush(kind), button, at, marker, Canvas(zoom), zoom);
}

constexpr auto Floor = BrushKind::Floor;
constexpr auto Wall = BrushKind::Wall;
constexpr auto Quick = ToolOutcome::RedrawWithoutShadows;
constexpr auto Nothing = ToolOutcome::Nothing;

} // namespace

TEST(GridSearch, MarkerTakesTheLastPixelTheToolDoesNot)
{
    // clang-format off
    const struct { Grid grid; float pos, zoom; int marker, tool; } rows[] = {
        {Grid::Floor, 0, 1, 0, 0},      {Grid::Floor, 71, 1, 0, -1},  {Grid::Floor, 72, 1, 1, 1},     {Grid::Floor, -1, 1, -1, -1},
        {Grid::Floor, 40, 0.5f, 1, 1},  {Grid::Floor, 1079, 1, 14, -1}, {Grid::Floor, 1100, 1, 15, 15}, {Grid::Floor, 1152, 1, -1, -1},
        {Grid::Wall, -8.5f, 1, 0, 0},   {Grid::Wall, 9, 1, 0, -1},    {Grid::Wall, 10, 1, 1, 1},      {Grid::Wall, -9, 1, -1, -1},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.grid == Grid::Floor ? "floor " : "wall ") << r.pos);
        EXPECT_EQ(SearchGrid(r.grid, Edge::Marker, r.pos, 1080 * r.zoom, r.zoom), r.marker);
        EXPECT_EQ(SearchGrid(r.grid, Edge::Tool, r.pos, 1080 * r.zoom, r.zoom), r.tool);
    }
    EXPECT_FLOAT_EQ(GridPosition(Grid::Wall, 0, 1), -8);
    EXPECT_FLOAT_EQ(GridPosition(Grid::Wall, 1, 1), 10);
    EXPECT_FLOAT_EQ(GridPosition(Grid::Wall, 1, 0.75f), 7.5f);
}

// One press on an empty map: the effect, the cell or wall point it leaves
// with `value`, and whether the map still counts as saved.
TEST(CanvasTool, OnePressPaintsByTheToolRule)
{
    // clang-format off
    const struct { const char* name; BrushKind kind; int button; float x, y, zoom; ToolOutcome::Effect effect; int cx, cy; ImageHandle value; bool saved; } rows[] = {
        {"floor, first pixel of cell 1", Floor, LeftButton, 72, 10, 1, Quick, 1, 0, 11, false},
        {"floor at 50 %", Floor, LeftButton, 40, 40, 0.5f, Quick, 1, 1, 11, false},
        {"floor, a cell's last pixel: redrawn, not painted", Floor, LeftButton, 71, 10, 1, Quick, 0, 0, 0, true},
        {"floor, right on an empty cell is an edit", Floor, RightButton, 200, 200, 1, Quick, 2, 2, 0, false},
        {"floor, middle button", Floor, MiddleButton, 500, 500, 1, Nothing, 6, 6, 0, true},
        {"wall, right on an empty point", Wall, RightButton, 100, 100, 1, Nothing, 6, 6, 0, true},
        {"wall, column 0 left of the map", Wall, LeftButton, -8.5f, 10, 1, Quick, 0, 1, 22, false},
        {"wall, x = 9 resolves nothing", Wall, LeftButton, 9, 100, 1, Nothing, 0, 6, 0, true},
        {"wall, x = 10 is column 1", Wall, LeftButton, 10, 100, 1, Quick, 1, 6, 22, false},
        {"wall at 75 %", Wall, LeftButton, 8, 8, 0.75f, Quick, 1, 1, 22, false},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        MapDocument map;
        CanvasTool tool;
        EXPECT_EQ(Apply(map, tool, r.kind, r.button, {r.x, r.y}, r.zoom).effect, r.effect);
        EXPECT_EQ(r.kind == Floor ? map.FloorAt(r.cx, r.cy) : map.WallAt(r.cx, r.cy), r.value);
        EXPECT_EQ(map.MapSaved(), r.saved);
    }
}

TEST(CanvasTool, RepeatsPaintOnce)
{
    // A drag over five cells redraws once per cell.
    MapDocument map;
    CanvasTool tool;
    int redraws = 0;
    for (float x = 5; x < 360; x += 9)
        redraws += Apply(map, tool, Floor, LeftButton, {x, 30}).effect == Quick;
    EXPECT_EQ(redraws, 5);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(map.FloorAt(c, 0), 11u) << c;
    // A wall point already of that value is not written again, even when
    // the repeat check is passed.
    Apply(map, tool, Wall, LeftButton, {-8.5f, 10});
    tool.LastPaintX = -1;
    EXPECT_EQ(Apply(map, tool, Wall, LeftButton, {-8.5f, 10}).effect, Nothing);
    // At 75 % odd positions are fractional: the repeat check never matches,
    // the value check keeps them from being written again.
    Apply(map, tool, Wall, LeftButton, {8, 8}, 0.75f);
    EXPECT_EQ(Apply(map, tool, Wall, LeftButton, {8, 8}, 0.75f).effect, Nothing);
}

TEST(CanvasTool, MarkerSnapsPerMode)
{
    const QSizeF c = Canvas(1);
    // clang-format off
    const struct { std::optional<BrushKind> mode; QPointF mouse, marker; QSizeF size; QPointF at; } rows[] = {
        {Floor, {71, 10}, {5, 5}, {72, 72}, {0, 0}}, {Floor, {-3, 150}, {5, 5}, {72, 72}, {5, 144}},
        {Wall, {9, 10}, {}, {18, 18}, {-8, 10}},     {std::nullopt, {9, 10}, {3, 4}, {18, 18}, {3, 4}},
    };
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(CanvasTool::MarkerPosition(r.mode, r.mouse, r.marker, r.size, c, 1), r.at)
            << r.mouse.x();
}
