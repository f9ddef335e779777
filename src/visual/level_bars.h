// How the level tick spreads one engine reading over the fourteen level bars.
#pragma once

#include <array>
#include <cstdint>

namespace visual {

enum class TLevelSide { Left, Right };

struct TLevelBar {
    TLevelSide side; // f1 (left) or f2 (right)
    int bar;         // ProgressBar<n>
    std::uint32_t divisor;
};

// In the order the bars are read: one engine reading per bar. Counted outward from the player,
// both columns show the same divisors, so the right column is the left one mirrored.
inline constexpr std::array<TLevelBar, 14> LevelBars = {{
    {TLevelSide::Left, 1, 30000},
    {TLevelSide::Left, 2, 24100},
    {TLevelSide::Left, 3, 27000},
    {TLevelSide::Left, 4, 20000},
    {TLevelSide::Left, 5, 21000},
    {TLevelSide::Left, 6, 34000},
    {TLevelSide::Left, 7, 37100},
    {TLevelSide::Right, 7, 30000},
    {TLevelSide::Right, 6, 24100},
    {TLevelSide::Right, 5, 27000},
    {TLevelSide::Right, 4, 20000},
    {TLevelSide::Right, 3, 21000},
    {TLevelSide::Right, 1, 34000},
    {TLevelSide::Right, 2, 37100},
}};

// The bar position for a level word: the whole word, unsigned, divided with truncation. The
// word is the right level times 65536 plus the left one, so the bars follow the right channel;
// the engine's failure word (all bits set) gives positions well beyond a bar's maximum.
constexpr int LevelPosition(std::uint32_t word, std::uint32_t divisor) {
    return static_cast<int>(word / divisor);
}

} // namespace visual
