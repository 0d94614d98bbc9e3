#pragma once
#include <QString>

#include <cstdint>
#include <optional>

// Reads the number a settings entry holds.
//
// Blanks (also the ideographic space), tabs and line feeds are ignored wherever
// they stand, and the full-width forms a Japanese input method types (０-９, ＋,
// －, ．, letters, ＆) read as their plain forms. The longest leading decimal number
// gives the value: an optional sign, digits with at most one decimal point and an
// optional exponent introduced by E or D. "&H" and "&O" introduce a hexadecimal or
// an octal integer instead. Letters are read in either case. A text that does not
// begin with a number reads as 0; whatever follows the number is ignored.
//
// A number too large for a double reads as an infinity of its sign, one too small
// as 0; nothing overflows, whatever the length of the text.
double ReadNumber(const QString& text);

// The limits of the three settings entries, in pixels per tick and milliseconds.
inline constexpr int MaxStepX = 30;
inline constexpr int MaxStepY = 60;
inline constexpr int MaxInterval = 3000;

// The step an entry's number gives when it lies above 0 and not above `upper`,
// rounded half to even; nothing when it is out of range. The range is tested
// before rounding, so 0.3 is accepted and gives 0 (no motion on that axis).
std::optional<std::int16_t> AcceptStep(double v, int upper);

// The timer interval an entry's number gives, under the same rule with the upper
// limit 3000 ms; nothing when it is out of range. A number that would round to an
// interval of 0 is out of range too: such a timer never ticks, and the flight
// would stand still while it is shown as running.
std::optional<std::int32_t> AcceptInterval(double v);
