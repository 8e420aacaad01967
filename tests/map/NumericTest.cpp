#include "map/Numeric.h"
#include "map/Orientation.h"

#include <gtest/gtest.h>

using namespace halvorn;

TEST(Numeric, RoundsHalvesToEvenAndSaturates)
{
    // clang-format off
    const struct { double in; int32_t out; } rows[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {6.5, 6}, {7.5, 8}, {52.5, 52}, {22.5, 22},
        {1e12, 2147483647}, {-1e12, -2147483647 - 1},
    };
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(RoundToInt(r.in), r.out) << r.in;
    EXPECT_EQ(RoundToInt16(40000.0), 32767);
    EXPECT_EQ(RoundToInt16(-40000.0), -32768);
    EXPECT_EQ(RoundToInt16(-3.5), -4);
}

// Val reads the number at the start of a text; IsNumeric takes only a text
// that is a number as a whole, and only with the blanks around it that Val
// skips: Val reads "\v-3" as 0, so accepting it would store a value read
// back as 0.
TEST(Numeric, ValReadsTheStartIsNumericTheWhole)
{
    // clang-format off
    const struct { const char* text; double val; bool numeric; } rows[] = {
        {"40", 40, true},          {"  7.5", 7.5, true},       {"12abc", 12, false},        {"abc12", 0, false},
        {"", 0, false},            {"  ", 0, false},           {"4e1", 40, true},           {"1 2 3", 123, false},
        {" 1 2 ", 12, false},      {"-3", -3, true},           {"+.5", 0.5, true},          {".5", 0.5, true},
        {"1e", 1, false},          {"e5", 0, false},           {"0x10", 0, false},          {".", 0, false},
        {"1.5.5", 1.5, false},     {"\t\n2", 2, true},         {"inf", 0, false},           {" 100 ", 100, true},
        {"100.5", 100.5, true},    {"1e2", 100, true},         {"3px", 3, false},           {"-3.5x", -3.5, false},
        {"1,000", 1, false},       {"\t\r\n-3 \n", -3, true},  {"\v-3", 0, false},          {"\f7", 0, false},
        {"\xa0" "5", 0, false},    {"5\xa0", 5, false},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_DOUBLE_EQ(Val(QString::fromLatin1(r.text)), r.val);
        EXPECT_EQ(IsNumeric(QString::fromLatin1(r.text)), r.numeric);
    }
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
