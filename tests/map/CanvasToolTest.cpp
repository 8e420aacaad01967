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

} // namespace

TEST(GridSearch, MarkerTakesTheLastPixelTheToolDoesNot)
{
    const struct {
        Grid grid;
        float pos, zoom;
        int marker, tool;
    } rows[] = {
        {Grid::Floor, 0, 1, 0, 0},      {Grid::Floor, 71, 1, 0, -1},
        {Grid::Floor, 72, 1, 1, 1},     {Grid::Floor, -1, 1, -1, -1},
        {Grid::Floor, 40, 0.5f, 1, 1},  {Grid::Floor, 1079, 1, 14, -1},
        {Grid::Floor, 1100, 1, 15, 15}, {Grid::Floor, 1152, 1, -1, -1},
        {Grid::Wall, -8.5f, 1, 0, 0},   {Grid::Wall, 9, 1, 0, -1},
        {Grid::Wall, 10, 1, 1, 1},      {Grid::Wall, -9, 1, -1, -1},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(SearchGrid(r.grid, Edge::Marker, r.pos, 1080 * r.zoom, r.zoom), r.marker)
            << r.pos;
        EXPECT_EQ(SearchGrid(r.grid, Edge::Tool, r.pos, 1080 * r.zoom, r.zoom), r.tool) << r.pos;
    }
    EXPECT_FLOAT_EQ(GridPosition(Grid::Wall, 0, 1), -8);
    EXPECT_FLOAT_EQ(GridPosition(Grid::Wall, 1, 1), 10);
    EXPECT_FLOAT_EQ(GridPosition(Grid::Wall, 1, 0.75f), 7.5f);
}

TEST(CanvasTool, FloorPressesPaintByTheToolRule)
{
    const struct {
        float x, y, zoom;
        int cellX, cellY;
    } rows[] = {
        {0, 0, 1, 0, 0},
        {72, 10, 1, 1, 0},
        {40, 40, 0.5f, 1, 1},
        {1100, 5, 1, 15, 0},
    };
    for (const auto& r : rows) {
        MapDocument map;
        CanvasTool tool;
        const ToolOutcome o = tool.ApplyTool(map, Brush(BrushKind::Floor), LeftButton, {r.x, r.y},
                                             {}, Canvas(r.zoom), r.zoom);
        EXPECT_EQ(o.effect, ToolOutcome::RedrawWithoutShadows);
        EXPECT_EQ(map.FloorAt(r.cellX, r.cellY), 11u) << r.x;
        EXPECT_FALSE(map.MapSaved());
    }
    // The last pixel column of a cell moves the marker but paints nothing.
    MapDocument map;
    CanvasTool tool;
    tool.ApplyTool(map, Brush(BrushKind::Floor), LeftButton, {71, 10}, {}, Canvas(1), 1);
    EXPECT_EQ(map.FloorAt(0, 0), 0u);
    EXPECT_TRUE(map.MapSaved());
}

TEST(CanvasTool, DragPaintsEachCellOnceAndOtherButtonsNothing)
{
    MapDocument map;
    CanvasTool tool;
    int redraws = 0;
    for (float x = 5; x < 360; x += 9) {
        const ToolOutcome o =
            tool.ApplyTool(map, Brush(BrushKind::Floor), LeftButton, {x, 30}, {}, Canvas(1), 1);
        redraws += o.effect == ToolOutcome::RedrawWithoutShadows;
    }
    EXPECT_EQ(redraws, 5);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(map.FloorAt(c, 0), 11u);
    for (const int button : {3, 4, 0}) {
        MapDocument fresh;
        EXPECT_EQ(
            tool.ApplyTool(fresh, Brush(BrushKind::Floor), button, {500, 500}, {}, Canvas(1), 1)
                .effect,
            ToolOutcome::Nothing);
        EXPECT_EQ(fresh.FloorAt(6, 6), 0u);
    }
    // A right press erases, also an empty cell, and counts as an edit.
    map.MarkSaved();
    tool.ApplyTool(map, Brush(BrushKind::Floor), RightButton, {200, 200}, {}, Canvas(1), 1);
    EXPECT_FALSE(map.MapSaved());
}

TEST(CanvasTool, WallsChangeOnlyWhenTheValueChanges)
{
    MapDocument map;
    CanvasTool tool;
    const CanvasBrush b = Brush(BrushKind::Wall);
    EXPECT_EQ(tool.ApplyTool(map, b, RightButton, {100, 100}, {}, Canvas(1), 1).effect,
              ToolOutcome::Nothing);
    EXPECT_TRUE(map.MapSaved());
    EXPECT_EQ(tool.ApplyTool(map, b, LeftButton, {-8.5f, 10}, {}, Canvas(1), 1).effect,
              ToolOutcome::RedrawWithoutShadows);
    EXPECT_EQ(map.WallAt(0, 1), 22u);
    tool.LastPaintX = -1;
    EXPECT_EQ(tool.ApplyTool(map, b, LeftButton, {-8.5f, 10}, {}, Canvas(1), 1).effect,
              ToolOutcome::Nothing);
    // x = 9 resolves nothing for the tool; x = 10 is column 1.
    tool.ApplyTool(map, b, LeftButton, {9, 100}, {}, Canvas(1), 1);
    EXPECT_EQ(map.WallAt(0, 6), 0u);
    tool.ApplyTool(map, b, LeftButton, {10, 100}, {}, Canvas(1), 1);
    EXPECT_EQ(map.WallAt(1, 6), 22u);
    // At 75 % odd positions are fractional: the repeat check never matches,
    // the value check keeps them from being written again.
    MapDocument quarter;
    CanvasTool t;
    EXPECT_EQ(t.ApplyTool(quarter, b, LeftButton, {8, 8}, {}, Canvas(0.75f), 0.75f).effect,
              ToolOutcome::RedrawWithoutShadows);
    EXPECT_EQ(quarter.WallAt(1, 1), 22u);
    EXPECT_EQ(t.ApplyTool(quarter, b, LeftButton, {8, 8}, {}, Canvas(0.75f), 0.75f).effect,
              ToolOutcome::Nothing);
}

TEST(CanvasTool, ObjectsGoWhereTheMarkerStands)
{
    const struct {
        float zoom;
        float markerW, markerH;
        float x, y;
    } rows[] = {
        {1, 40, 20, 81, 91},
        {0.5f, 20, 10, 182, 192},
    };
    for (const auto& r : rows) {
        MapDocument map;
        CanvasTool tool;
        const QPointF marker = CanvasTool::MarkerPosition(
            BrushKind::Object, {100, 100}, {}, {r.markerW, r.markerH}, Canvas(r.zoom), r.zoom);
        const ToolOutcome o = tool.ApplyTool(map, Brush(BrushKind::Object), LeftButton, {100, 100},
                                             marker, Canvas(r.zoom), r.zoom);
        EXPECT_EQ(o.effect, ToolOutcome::RedrawWithShadows);
        ASSERT_EQ(map.Objects().size(), 2u);
        EXPECT_FLOAT_EQ(map.Objects()[0].X, r.x);
        EXPECT_FLOAT_EQ(map.Objects()[0].Y, r.y);
        EXPECT_TRUE(map.Objects()[0].Shadow);
        // A right click on it asks for the popup; elsewhere nothing.
        EXPECT_EQ(tool.ApplyTool(map, Brush(BrushKind::Object), RightButton, {100, 100}, marker,
                                 Canvas(r.zoom), r.zoom)
                      .object,
                  0);
        EXPECT_EQ(tool.ApplyTool(map, Brush(BrushKind::Object), RightButton, {5, 5}, marker,
                                 Canvas(r.zoom), r.zoom)
                      .effect,
                  ToolOutcome::Nothing);
    }
}

TEST(CanvasTool, MarkerSnapsPerMode)
{
    const QSizeF c = Canvas(1);
    EXPECT_EQ(CanvasTool::MarkerPosition(BrushKind::Floor, {71, 10}, {5, 5}, {72, 72}, c, 1),
              QPointF(0, 0));
    EXPECT_EQ(CanvasTool::MarkerPosition(BrushKind::Floor, {-3, 150}, {5, 5}, {72, 72}, c, 1),
              QPointF(5, 144));
    EXPECT_EQ(CanvasTool::MarkerPosition(BrushKind::Wall, {9, 10}, {}, {18, 18}, c, 1),
              QPointF(-8, 10));
    EXPECT_EQ(CanvasTool::MarkerPosition(std::nullopt, {9, 10}, {3, 4}, {18, 18}, c, 1),
              QPointF(3, 4));
}
