#pragma once
#include "app/mdlAelor.h"

#include <cstdint>

// Moving the kite by hand: the rules behind the display's pointer and key events,
// on the flight state alone. The window's handlers add the timer and the redraw.
namespace Steering {

// Key codes of the arrow keys as the display reports them.
inline constexpr int KeyLeft = 37;
inline constexpr int KeyUp = 38;
inline constexpr int KeyRight = 39;
inline constexpr int KeyDown = 40;

// Modifier mask bits.
inline constexpr int ShiftBit = 1;

inline constexpr std::int16_t NormalKeyStep = 5;
inline constexpr std::int16_t FastKeyStep = 15;

// True when a press at (x, y) lies strictly inside the kite's cell: its left
// column and top row, and the column and row just past it, do not count.
bool HitsKite(const mdlAelor::FlightState& s, float x, float y);

// Called on a press: takes hold of the kite when the press hits it, remembering
// where inside the cell the pointer took hold (rounded half to even). Returns
// whether a drag began; a miss changes nothing.
bool TakeHold(mdlAelor::FlightState& s, float x, float y);

// Called on every pointer move: while dragging, puts the kite's corner under the
// pointer with the grip kept, as long as that corner lies strictly inside the
// limits. Returns whether the kite moved; outside the limits it waits where it was.
bool FollowPointer(mdlAelor::FlightState& s, float x, float y);

// Called on every button release, whether or not a drag is under way.
void LetGo(mdlAelor::FlightState& s);

// The step of one arrow-key press: fast only with Shift alone held.
std::int16_t KeyStepFor(int shiftMask);

// Whether the timer goes back on after an arrow or any other key: only while the
// flight runs and nothing is held. A key during a drag leaves it off until the
// release, so that no tick pulls the kite from under the hand.
bool TimerResumesAfterKey(const mdlAelor::FlightState& s);

// Moves the kite by `KeyStep` for an arrow key, when it is not yet at or beyond
// the limit in that direction. The move is not clamped, so it can end past the
// limit by less than a step. Returns whether the kite moved; other keys move nothing.
bool Nudge(mdlAelor::FlightState& s, int keyCode);

}  // namespace Steering
