#include "rules/Steering.h"

#include "rules/Arith16.h"

namespace Steering {

using mdlAelor::BottomLimit;
using mdlAelor::FlightState;
using mdlAelor::KiteHeight;
using mdlAelor::KiteWidth;
using mdlAelor::RightLimit;

namespace {

// Pointer positions are single precision; the grip and the corner are stored as
// 16-bit integers. Only values inside the display's limits reach this.
std::int16_t Rounded(float v)
{
    return static_cast<std::int16_t>(arith16::RoundHalfEven(static_cast<double>(v)));
}

}  // namespace

bool HitsKite(const FlightState& s, float x, float y)
{
    const int left = s.KiteX;
    const int top = s.KiteY;
    return x > static_cast<float>(left) && x < static_cast<float>(left + KiteWidth) && y > static_cast<float>(top)
           && y < static_cast<float>(top + KiteHeight);
}

bool TakeHold(FlightState& s, float x, float y)
{
    if (!HitsKite(s, x, y))
        return false;
    s.Dragging = mdlAelor::True;
    s.GrabX = Rounded(x - static_cast<float>(s.KiteX));
    s.GrabY = Rounded(y - static_cast<float>(s.KiteY));
    return true;
}

bool FollowPointer(FlightState& s, float x, float y)
{
    const float newX = x - static_cast<float>(s.GrabX);
    const float newY = y - static_cast<float>(s.GrabY);
    if (!(s.Dragging && newX > 0.0f && newX < static_cast<float>(RightLimit) && newY > 0.0f
          && newY < static_cast<float>(BottomLimit)))
        return false;
    s.KiteX = Rounded(newX);
    s.KiteY = Rounded(newY);
    return true;
}

void LetGo(FlightState& s)
{
    s.Dragging = mdlAelor::False;
}

std::int16_t KeyStepFor(int shiftMask)
{
    return shiftMask == ShiftBit ? FastKeyStep : NormalKeyStep;
}

bool TimerResumesAfterKey(const FlightState& s)
{
    return s.Running && !s.Dragging;
}

bool Nudge(FlightState& s, int keyCode)
{
    using arith16::Add16;
    // The first row whose key matches decides; its test comes before its move.
    if (keyCode == KeyUp) {
        if (s.KiteY > 0) {
            s.KiteY = Add16(s.KiteY, -s.KeyStep);
            return true;
        }
    } else if (keyCode == KeyDown) {
        if (s.KiteY < BottomLimit) {
            s.KiteY = Add16(s.KiteY, s.KeyStep);
            return true;
        }
    } else if (keyCode == KeyLeft) {
        if (s.KiteX > 0) {
            s.KiteX = Add16(s.KiteX, -s.KeyStep);
            return true;
        }
    } else if (keyCode == KeyRight) {
        if (s.KiteX < RightLimit) {
            s.KiteX = Add16(s.KiteX, s.KeyStep);
            return true;
        }
    }
    return false;
}

}  // namespace Steering
