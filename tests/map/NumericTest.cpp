#include "map/Numeric.h"
#include "map/Orientation.h"

#include <gtest/gtest.h>

using namespace halvorn;

TEST(Numeric, RoundsHalvesToEvenAndSaturates)
{
    const struct {
        double in;
        int32_t out;
    } rows[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {6.5, 6},
        {7.5, 8},
        {52.5, 52},
        {22.5, 22},
        {1e12, 2147483647},
        {-1e12, -2147483647 - 1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(RoundToInt(r.in), r.out) << r.in;
    EXPECT_EQ(RoundToInt16(40000.0), 32767);
    EXPECT_EQ(RoundToInt16(-40000.0), -32768);
    EXPECT_EQ(RoundToInt16(-3.5), -4);
}

TEST(Numeric, ValReadsTheNumberAtTheStart)
{
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"40", 40},  {"  7.5", 7.5}, {"12abc", 12},  {"abc12", 0}, {"", 0},
        {"4e1", 40}, {"1 2 3", 123}, {"-3", -3},     {"+.5", 0.5}, {"1e", 1},
        {"0x10", 0}, {".", 0},       {"1.5.5", 1.5}, {"\t\n2", 2}, {"inf", 0},
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(Val(QString::fromLatin1(r.text)), r.value) << r.text;
}

TEST(Numeric, IsNumericNeedsTheWholeText)
{
    const struct {
        const char* text;
        bool numeric;
    } rows[] = {
        {"100", true},
        {" 100 ", true},
        {"100.5", true},
        {"-1", true},
        {"1e2", true},
        {"3px", false},
        {"abc", false},
        {"", false},
        {"  ", false},
        {"1,000", false},
        // Only the blanks Val skips may stand around the number: Val reads
        // "\v-3" as 0, so accepting it would store a value read back as 0.
        {"\t\r\n-3 \n", true},
        {"\v-3", false},
        {"\f7", false},
        {"\xa0"
         "5",
         false},
        {"5\xa0", false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(IsNumeric(QString::fromLatin1(r.text)), r.numeric) << r.text;
    EXPECT_EQ(NumberText(Val(QStringLiteral("4e1"))), QStringLiteral("40"));
    EXPECT_EQ(NumberText(0.5), QStringLiteral("0.5"));
}

TEST(Orientation, TransitionsFromEveryCode)
{
    // current: flip horizontally, flip vertically, rotate left, rotate right
    const int table[8][4] = {
        {4, 6, 3, 1}, {5, 7, 0, 2}, {6, 4, 1, 3}, {7, 5, 2, 0},
        {0, 2, 5, 7}, {1, 3, 6, 4}, {2, 0, 7, 5}, {3, 1, 4, 6},
    };
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(FlipHorizontally(c), table[c][0]) << c;
        EXPECT_EQ(FlipVertically(c), table[c][1]) << c;
        EXPECT_EQ(RotateLeft(c), table[c][2]) << c;
        EXPECT_EQ(RotateRight(c), table[c][3]) << c;
        EXPECT_EQ(RotateRight(RotateLeft(c)), c);
    }
}
