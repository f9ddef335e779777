// The level tick's arithmetic: which bar takes which divisor, and what the whole level word
// divided by it gives for the readings that matter.
#include "visual/level_bars.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <utility>

using visual::LevelBars;
using visual::LevelPosition;
using visual::TLevelSide;

namespace {

// Positions of the seven bars of one side, indexed by the column from the left (0..6).
std::array<int, 7> Columns(TLevelSide side, std::uint32_t word) {
    // Left: ProgressBar1..7 from the left. Right: ProgressBar2, ProgressBar1, then 3..7.
    const std::array<int, 7> leftOrder = {1, 2, 3, 4, 5, 6, 7};
    const std::array<int, 7> rightOrder = {2, 1, 3, 4, 5, 6, 7};
    const auto& order = side == TLevelSide::Left ? leftOrder : rightOrder;
    std::array<int, 7> columns{};
    columns.fill(-1);
    for (const auto& b : LevelBars) {
        if (b.side != side)
            continue;
        for (int c = 0; c < 7; ++c)
            if (order[c] == b.bar)
                columns[c] = LevelPosition(word, b.divisor);
    }
    return columns;
}

TEST(LevelBars, EveryBarOfBothWindowsIsFedExactlyOnce) {
    std::map<std::pair<TLevelSide, int>, int> seen;
    for (const auto& b : LevelBars)
        ++seen[{b.side, b.bar}];
    EXPECT_EQ(seen.size(), 14u);
    for (const auto& [bar, count] : seen)
        EXPECT_EQ(count, 1) << "bar " << bar.second;
}

TEST(LevelBars, ReadingOrderIsTheLeftColumnThenTheRightOneFromOutside) {
    const std::array<std::pair<TLevelSide, int>, 14> order = {{
        {TLevelSide::Left, 1},
        {TLevelSide::Left, 2},
        {TLevelSide::Left, 3},
        {TLevelSide::Left, 4},
        {TLevelSide::Left, 5},
        {TLevelSide::Left, 6},
        {TLevelSide::Left, 7},
        {TLevelSide::Right, 7},
        {TLevelSide::Right, 6},
        {TLevelSide::Right, 5},
        {TLevelSide::Right, 4},
        {TLevelSide::Right, 3},
        {TLevelSide::Right, 1},
        {TLevelSide::Right, 2},
    }};
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(LevelBars[i].side, order[i].first) << i;
        EXPECT_EQ(LevelBars[i].bar, order[i].second) << i;
    }
}

struct WordCase {
    const char* what;
    std::uint32_t word;
    std::array<int, 7> left; // columns 1..7 of the left window
};

TEST(LevelBars, WholeWordDividedPerColumnAndMirroredOnTheRight) {
    const WordCase cases[] = {
        {"silence", 0, {0, 0, 0, 0, 0, 0, 0}},
        {"left channel alone at full level", 32768, {1, 1, 1, 1, 1, 0, 0}},
        {"right level 16384", 0x40000000, {35791, 44553, 39768, 53687, 51130, 31580, 28941}},
        {"right level at full", 0x80000000, {71582, 89107, 79536, 107374, 102261, 63161, 57883}},
        {"engine failure", 0xFFFFFFFF, {143165, 178214, 159072, 214748, 204522, 126322, 115767}},
    };
    for (const WordCase& c : cases) {
        const auto left = Columns(TLevelSide::Left, c.word);
        const auto right = Columns(TLevelSide::Right, c.word);
        for (int col = 0; col < 7; ++col) {
            EXPECT_EQ(left[col], c.left[col]) << c.what << ", left column " << col + 1;
            // The right window is the mirror image: its column 7 is the left's column 1.
            EXPECT_EQ(right[6 - col], c.left[col]) << c.what << ", right column " << 7 - col;
        }
    }
}

TEST(LevelBars, WordIsDividedUnsignedAndTruncated) {
    // Taken as signed the failure word would be -1 and give 0 everywhere.
    EXPECT_EQ(LevelPosition(0xFFFFFFFFu, 20000), 214748);
    EXPECT_EQ(LevelPosition(59999, 30000), 1);
    EXPECT_EQ(LevelPosition(60000, 30000), 2);
}

} // namespace
