#pragma once
// The choices the two format dialogs offer and the rules by which a dialog
// picks the option that shows a label's colour, size and typeface when it
// opens. Each rule gives the index of the first matching option of its group,
// or NoOption when the label's value is none of them.
#include "labels/LabelStyle.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace StyleChoices {

inline constexpr int NoOption = -1;

// A range of font sizes in units of 1/10000 point, both ends included.
struct SizeWindow {
    std::int64_t low;
    std::int64_t high;
};

// Exact equality of the 32-bit value: a system colour or a near miss matches nothing.
int MatchColor(std::uint32_t foreColor, std::span<const std::uint32_t> colors);
// The first window that holds the size; sizes between windows match nothing.
int MatchSize(std::int64_t sizeUnits, std::span<const SizeWindow> windows);
// Character for character: a different space or letter width matches nothing.
int MatchFace(const QString& name, std::span<const QString> faces);

// Title dialog: red, green, blue; 24, 26, 28 points.
inline constexpr std::array<std::uint32_t, 3> TitleColors = {LabelStyle::RGB(255, 0, 0), LabelStyle::RGB(0, 255, 0),
                                                             LabelStyle::RGB(0, 0, 255)};
inline constexpr std::array<int, 3> TitleSizes = {24, 26, 28};
inline constexpr std::array<SizeWindow, 3> TitleSizeWindows = {{
    {235000, 245000},  // 23.5 to 24.5
    {255000, 265000},  // 25.5 to 26.5
    {275000, 285000},  // 27.5 to 28.5
}};

// Explanation dialog: black, green, blue; 8, 9, 10 points. The windows end at
// .49 so that they do not overlap.
inline constexpr std::array<std::uint32_t, 3> ExplaColors = {LabelStyle::RGB(0, 0, 0), LabelStyle::RGB(0, 255, 0),
                                                             LabelStyle::RGB(0, 0, 255)};
inline constexpr std::array<int, 3> ExplaSizes = {8, 9, 10};
inline constexpr std::array<SizeWindow, 3> ExplaSizeWindows = {{
    {75000, 84900},   // 7.5 to 8.49
    {85000, 94900},   // 8.5 to 9.49
    {95000, 104900},  // 9.5 to 10.49
}};

// The four face names both dialogs offer, in the order of their options.
const std::array<QString, 4>& Faces();

}  // namespace StyleChoices
