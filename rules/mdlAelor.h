#pragma once
#include "data/Geometry.h"
#include "rules/Arith16.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstdint>

// The flight: the state the main window's handlers share, the rules of the tick
// and the compositor that turns the state into a frame on the display.
namespace mdlAelor {

using arith16::Add16;
using arith16::False;
using arith16::Mul16;
using arith16::RoundHalfEven;
using arith16::True;

// The display shows the whole background; the kite is one cell of its sheet.
inline constexpr int DisplayWidth = Geometry::BackWidth;
inline constexpr int DisplayHeight = Geometry::BackHeight;
inline constexpr int KiteWidth = Geometry::KiteCellWidth;
inline constexpr int KiteHeight = Geometry::KiteCellHeight;
inline constexpr int RightLimit = DisplayWidth - KiteWidth;     // 350
inline constexpr int BottomLimit = DisplayHeight - KiteHeight;  // 290
inline constexpr int FrameCount = Geometry::KiteFrames;
inline constexpr int SheetWidth = FrameCount * KiteWidth;  // 180
inline constexpr int SheetHeight = 2 * KiteHeight;         // 120

struct FlightState {
    std::int16_t KiteX = 100;
    std::int16_t KiteY = 100;
    std::int16_t StepX = 1;
    std::int16_t StepY = 1;
    std::int16_t DirX = 1;
    std::int16_t DirY = 1;
    std::int16_t GrabX = 0;
    std::int16_t GrabY = 0;
    std::int16_t FrameNo = 1;
    std::int16_t Dragging = False;
    std::int16_t KeyStep = 5;
    std::int16_t Running = True;
};

// Advances the state by one tick, after the frame has been shown: next sprite
// frame, then each axis moves by its step and turns when it lies beyond an edge.
// The position is never clamped.
void AdvanceTick(FlightState& s);

// Advances the state by `count` ticks, reaching exactly the state that many
// calls of AdvanceTick would reach. Used for the ticks that fell due while
// nobody watched: a day at 1 ms is 86 million of them. The sprite frame and each
// axis (its position and direction) step on their own and, having finitely many
// states, come back to a state they had within a few hundred ticks: whole
// rounds are skipped, only the rest is stepped.
void AdvanceTicks(FlightState& s, std::uint64_t count);

// The picture surfaces a frame is composed from and into.
struct Surfaces {
    QImage picBack;  // background, at least the display's size
    QImage picKite;  // sprite sheet: pictures in the upper row, masks below
    QImage picWork;  // back buffer, the display's size
};

// The block of the display the kite covers in a state.
QRect KiteCell(const FlightState& s);

// Composes the frame for the current state into the back buffer and copies it to
// the display's persistent image: background, mask OR, picture AND, one full copy.
void ComposeInto(const FlightState& s, Surfaces& surfaces, QImage& display);

// Where the frame for `s` can differ from the frame drawn with the kite in
// `drawnCell`: the cell the kite leaves and the cell it enters, cut to the display.
QRegion ChangedArea(const QRect& drawnCell, const FlightState& s);

// The same frame as ComposeInto, with the background and the copy to the display
// limited to `area`: outside it both surfaces must already hold this frame, as
// they do outside ChangedArea after the last frame. Called for every frame but
// the first and those after a surface was replaced or resized.
void ComposeArea(const FlightState& s, const QRegion& area, Surfaces& surfaces, QImage& display);

}  // namespace mdlAelor
