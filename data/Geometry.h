// The sizes the pictures are drawn at and the display shows them at. The
// artwork draws by these numbers and the flight rules compose by them, so a
// change here reaches both.
#pragma once

namespace Geometry {

// One cell of the kite's sprite sheet, and how many frames the sheet holds.
inline constexpr int KiteCellWidth = 30;
inline constexpr int KiteCellHeight = 60;
inline constexpr int KiteFrames = 6;

// The background, which is also the extent of the display.
inline constexpr int BackWidth = 380;
inline constexpr int BackHeight = 350;

}  // namespace Geometry
