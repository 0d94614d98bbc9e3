#pragma once
#include <cstdint>

// 16-bit flags and arithmetic, as the program's state is kept: true is -1, false
// is 0, any non-zero value counts as true, and sums and products wrap as 16-bit
// registers do.
namespace arith16 {

inline constexpr std::int16_t True = -1;
inline constexpr std::int16_t False = 0;

constexpr std::int16_t Add16(int a, int b)
{
    return static_cast<std::int16_t>(a + b);
}
constexpr std::int16_t Mul16(int a, int b)
{
    return static_cast<std::int16_t>(a * b);
}

// Rounds to the nearest integer, a half to the even neighbour, whatever rounding
// mode is set.
double RoundHalfEven(double v);

}  // namespace arith16
