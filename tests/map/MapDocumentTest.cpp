#include "map/MapDocument.h"

#include <gtest/gtest.h>

#include <array>

using namespace halvorn;

TEST(MapDocument, NewMapHasTheArraysAndOneFreeSlot)
{
    MapDocument map;
    map.SetFloor(15, 15, 7);
    map.SetWall(61, 61, 8);
    map.AddObject(9, 0, 0, 10, 10, 0);
    map.NewMap(15, 15);
    EXPECT_EQ((std::array{map.FloorColumns(), map.FloorRows(), map.WallColumns(), map.WallRows()}),
              (std::array{16, 16, 62, 62}));
    EXPECT_EQ(map.FloorAt(15, 15), 0u);
    EXPECT_EQ(map.WallAt(61, 61), 0u);
    ASSERT_EQ(map.Objects().size(), 1u);
    // Outside the arrays nothing is written and nothing is read.
    map.SetFloor(16, 0, 3);
    EXPECT_FALSE(map.SetWall(62, 0, 3));
    EXPECT_EQ(map.FloorAt(16, 0), 0u);
    EXPECT_EQ(map.FloorAt(-1, 0), 0u);
}

TEST(MapDocument, ObjectsKeepTheirSlotsWhenDeleted)
{
    MapDocument map;
    map.MarkSaved();
    for (int i = 0; i < 3; ++i)
        map.AddObject(5, 100.0f * i, 100, 40, 20, 0);
    EXPECT_FALSE(map.MapSaved());
    map.MarkSaved();
    map.DeleteObject(1);
    ASSERT_EQ(map.Objects().size(), 4u);
    EXPECT_EQ(map.Objects()[1].Image, 0u);
    EXPECT_EQ(map.Objects()[2].Image, 5u);
    EXPECT_EQ(map.Objects()[3].Image, 0u); // the free slot
    // Object commands never count as an edit, and a deleted one is never hit.
    EXPECT_TRUE(map.MapSaved());
    EXPECT_EQ(map.ObjectAt(110, 110, 1.0f), -1);
    EXPECT_EQ(map.ObjectAt(20, 110, 1.0f), 0);
    EXPECT_EQ(map.ObjectAt(210, 110, 1.0f), 2);
}

TEST(MapDocument, HitTestIsStrictOnAllSides)
{
    MapDocument map;
    map.AddObject(5, 100, 100, 40, 20, 0);
    // clang-format off
    const struct { float x, y; bool hit; } rows[] = {
        {60, 55, true}, {50, 55, false}, {70, 55, false}, {51, 55, true}, {69.5f, 55, true}, {60, 50, false}, {60, 60, false},
    };
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(map.ObjectAt(r.x, r.y, 0.5f) == 0, r.hit) << r.x << "," << r.y;
    // The later of two overlapping objects is on top.
    map.AddObject(6, 110, 100, 40, 20, 0);
    EXPECT_EQ(map.ObjectAt(130, 110, 1.0f), 1);
}
