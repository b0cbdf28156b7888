// The polygon outlines of window shapes 4 to 29: points in units of 1/32767 of the window's
// width and height, each outline ending with 0xFFFF.

#include "ui/window/FormWindow.h"

#include <array>

namespace kelvarn::ui {
namespace {

// clang-format off
// 4: triangle pointing up
constexpr uint16_t kShape4[] = {
    16384, 0, 32767, 32767, 0, 32767, 0xFFFF,
};
// 5: triangle pointing down
constexpr uint16_t kShape5[] = {
    0, 0, 32767, 0, 16384, 32767, 0xFFFF,
};
// 6: triangle pointing left
constexpr uint16_t kShape6[] = {
    0, 16384, 32767, 0, 32767, 32767, 0xFFFF,
};
// 7: triangle pointing right
constexpr uint16_t kShape7[] = {
    0, 0, 32767, 16384, 0, 32767, 0xFFFF,
};
// 8: diamond
constexpr uint16_t kShape8[] = {
    16384, 0, 32767, 16384, 16384, 32767, 0, 16384, 0xFFFF,
};
// 9: pentagon
constexpr uint16_t kShape9[] = {
    16384, 0, 31965, 11321, 26013, 29638, 6754, 29638, 802, 11321,
    0xFFFF,
};
// 10: hexagon
constexpr uint16_t kShape10[] = {
    32767, 16384, 24575, 30572, 8192, 30572, 0, 16384, 8192, 2195,
    24575, 2195, 0xFFFF,
};
// 11: octagon
constexpr uint16_t kShape11[] = {
    22653, 1247, 31520, 10114, 31520, 22653, 22653, 31520, 10114, 31520,
    1247, 22653, 1247, 10114, 10114, 1247, 0xFFFF,
};
// 12: five-pointed star
constexpr uint16_t kShape12[] = {
    16384, 0, 20062, 11320, 31965, 11321, 22336, 18317, 26013, 29638,
    16384, 22642, 6754, 29638, 10431, 18317, 802, 11321, 12705, 11320,
    0xFFFF,
};
// 13: six-pointed star
constexpr uint16_t kShape13[] = {
    16384, 0, 21110, 8197, 30572, 8192, 25837, 16384, 30572, 24575,
    21110, 24570, 16384, 32767, 11657, 24570, 2195, 24575, 6930, 16384,
    2195, 8192, 11657, 8197, 0xFFFF,
};
// 14: eight-pointed star
constexpr uint16_t kShape14[] = {
    16384, 0, 20145, 7302, 27968, 4799, 25465, 12622, 32767, 16384,
    25465, 20145, 27968, 27968, 20145, 25465, 16384, 32767, 12622, 25465,
    4799, 27968, 7302, 20145, 0, 16384, 7302, 12622, 4799, 4799,
    12622, 7302, 0xFFFF,
};
// 15: cross
constexpr uint16_t kShape15[] = {
    10922, 0, 21845, 0, 21845, 10922, 32767, 10922, 32767, 21845,
    21845, 21845, 21845, 32767, 10922, 32767, 10922, 21845, 0, 21845,
    0, 10922, 10922, 10922, 0xFFFF,
};
// 16: arrow pointing right
constexpr uint16_t kShape16[] = {
    0, 9830, 19660, 9830, 19660, 0, 32767, 16384, 19660, 32767,
    19660, 22937, 0, 22937, 0xFFFF,
};
// 17: arrow pointing left
constexpr uint16_t kShape17[] = {
    32767, 9830, 13107, 9830, 13107, 0, 0, 16384, 13107, 32767,
    13107, 22937, 32767, 22937, 0xFFFF,
};
// 18: arrow pointing up
constexpr uint16_t kShape18[] = {
    9830, 32767, 9830, 13107, 0, 13107, 16384, 0, 32767, 13107,
    22937, 13107, 22937, 32767, 0xFFFF,
};
// 19: arrow pointing down
constexpr uint16_t kShape19[] = {
    9830, 0, 9830, 19660, 0, 19660, 16384, 32767, 32767, 19660,
    22937, 19660, 22937, 0, 0xFFFF,
};
// 20: trapezoid
constexpr uint16_t kShape20[] = {
    6553, 0, 26214, 0, 32767, 32767, 0, 32767, 0xFFFF,
};
// 21: parallelogram
constexpr uint16_t kShape21[] = {
    8192, 0, 32767, 0, 24575, 32767, 0, 32767, 0xFFFF,
};
// 22: chevron pointing right
constexpr uint16_t kShape22[] = {
    0, 0, 19660, 0, 32767, 16384, 19660, 32767, 0, 32767,
    13107, 16384, 0xFFFF,
};
// 23: house
constexpr uint16_t kShape23[] = {
    16384, 0, 32767, 13107, 32767, 32767, 0, 32767, 0, 13107,
    0xFFFF,
};
// 24: speech balloon
constexpr uint16_t kShape24[] = {
    0, 0, 32767, 0, 32767, 24575, 14745, 24575, 6553, 32767,
    8192, 24575, 0, 24575, 0xFFFF,
};
// 25: cut corners
constexpr uint16_t kShape25[] = {
    4915, 0, 27852, 0, 32767, 4915, 32767, 27852, 27852, 32767,
    4915, 32767, 0, 27852, 0, 4915, 0xFFFF,
};
// 26: heart
constexpr uint16_t kShape26[] = {
    16384, 9926, 16651, 8661, 18311, 5823, 21835, 3559, 26399, 3662,
    30280, 6448, 31803, 10890, 30280, 15659, 26399, 20046, 21835, 24003,
    18311, 27523, 16651, 30139, 16384, 31129, 16116, 30139, 14456, 27523,
    10932, 24003, 6368, 20046, 2487, 15659, 964, 10890, 2487, 6448,
    6368, 3662, 10932, 3559, 14456, 5823, 16116, 8661, 0xFFFF,
};
// 27: lightning
constexpr uint16_t kShape27[] = {
    18022, 0, 4915, 18022, 14745, 18022, 9830, 32767, 27852, 13107,
    18022, 13107, 24575, 0, 0xFFFF,
};
// 28: tab
constexpr uint16_t kShape28[] = {
    0, 0, 13107, 0, 16384, 3932, 32767, 3932, 32767, 32767,
    0, 32767, 0xFFFF,
};
// 29: twelve-pointed seal
constexpr uint16_t kShape29[] = {
    16384, 0, 19776, 3723, 24575, 2195, 25651, 7116, 30572, 8192,
    29044, 12991, 32767, 16384, 29044, 19776, 30572, 24575, 25651, 25651,
    24575, 30572, 19776, 29044, 16384, 32767, 12991, 29044, 8192, 30572,
    7116, 25651, 2195, 24575, 3723, 19776, 0, 16384, 3723, 12991,
    2195, 8192, 7116, 7116, 8192, 2195, 12991, 3723, 0xFFFF,
};
// clang-format on

struct Outline {
    const uint16_t* points;
    size_t count;
};

#define KELVARN_OUTLINE(a)                                                                         \
    Outline {                                                                                      \
        a, std::size(a)                                                                            \
    }
constexpr std::array<Outline, 26> kOutlines = {
    KELVARN_OUTLINE(kShape4),  KELVARN_OUTLINE(kShape5),  KELVARN_OUTLINE(kShape6),
    KELVARN_OUTLINE(kShape7),  KELVARN_OUTLINE(kShape8),  KELVARN_OUTLINE(kShape9),
    KELVARN_OUTLINE(kShape10), KELVARN_OUTLINE(kShape11), KELVARN_OUTLINE(kShape12),
    KELVARN_OUTLINE(kShape13), KELVARN_OUTLINE(kShape14), KELVARN_OUTLINE(kShape15),
    KELVARN_OUTLINE(kShape16), KELVARN_OUTLINE(kShape17), KELVARN_OUTLINE(kShape18),
    KELVARN_OUTLINE(kShape19), KELVARN_OUTLINE(kShape20), KELVARN_OUTLINE(kShape21),
    KELVARN_OUTLINE(kShape22), KELVARN_OUTLINE(kShape23), KELVARN_OUTLINE(kShape24),
    KELVARN_OUTLINE(kShape25), KELVARN_OUTLINE(kShape26), KELVARN_OUTLINE(kShape27),
    KELVARN_OUTLINE(kShape28), KELVARN_OUTLINE(kShape29),
};
#undef KELVARN_OUTLINE

} // namespace

std::vector<uint16_t> windowShapeOutline(int32_t shape) {
    constexpr auto kFirst = static_cast<int32_t>(WindowShape::FirstOutline);
    constexpr auto kLast = static_cast<int32_t>(WindowShape::LastOutline);
    static_assert(kOutlines.size() == static_cast<size_t>(kLast - kFirst + 1));
    if (shape < kFirst || shape > kLast)
        return {};
    const Outline& o = kOutlines[static_cast<size_t>(shape - kFirst)];
    return std::vector<uint16_t>(o.points, o.points + o.count);
}

} // namespace kelvarn::ui
