#include "rules/mdlAelor.h"

#include "rules/Raster.h"

namespace mdlAelor {

namespace {

// One axis of the flight: where the kite is on it and which way it travels.
struct Axis {
    std::int16_t at;
    std::int16_t dir;
    bool operator==(const Axis&) const = default;
};

std::int16_t NextFrame(std::int16_t frame)
{
    frame = Add16(frame, 1);
    return frame == FrameCount + 1 ? std::int16_t{1} : frame;
}

Axis NextOnAxis(Axis a, std::int16_t step, int limit)
{
    a.at = Add16(a.at, Mul16(step, a.dir));
    if (a.at > limit)
        a.dir = -1;
    else if (a.at < 0)
        a.dir = 1;
    return a;
}

// Up to this many ticks are stepped one by one: finding a round costs about as
// much as a few of them.
constexpr std::uint64_t SteppedOneByOne = 4096;

template <class State, class Next>
State Stepped(State s, std::uint64_t count, Next next)
{
    for (std::uint64_t i = 0; i < count; ++i)
        s = next(s);
    return s;
}

// The state `next` reaches from `s` in `count` steps. From some step on, the
// states repeat in rounds of a fixed length; the round is found as Brent finds
// it (a runner sent ahead from a marker moved at every power of two), then where
// it begins (two runners a round apart meet there).
template <class State, class Next>
State AfterSteps(State s, std::uint64_t count, Next next)
{
    if (count <= SteppedOneByOne)
        return Stepped(s, count, next);
    std::uint64_t power = 1, round = 1;
    State marker = s, runner = next(s);
    while (!(marker == runner)) {
        if (power == round) {
            marker = runner;
            power *= 2;
            round = 0;
        }
        runner = next(runner);
        ++round;
    }
    State first = s;
    runner = Stepped(s, round, next);
    std::uint64_t lead = 0;
    while (!(first == runner)) {
        first = next(first);
        runner = next(runner);
        ++lead;
    }
    // `first` is the state after `lead` steps, the first of the round.
    if (count < lead)
        return Stepped(s, count, next);
    return Stepped(first, (count - lead) % round, next);
}

}  // namespace

void AdvanceTick(FlightState& s)
{
    s.FrameNo = NextFrame(s.FrameNo);
    const Axis x = NextOnAxis({s.KiteX, s.DirX}, s.StepX, RightLimit);
    s.KiteX = x.at;
    s.DirX = x.dir;
    const Axis y = NextOnAxis({s.KiteY, s.DirY}, s.StepY, BottomLimit);
    s.KiteY = y.at;
    s.DirY = y.dir;
}

void AdvanceTicks(FlightState& s, std::uint64_t count)
{
    s.FrameNo = AfterSteps(s.FrameNo, count, NextFrame);
    const std::int16_t stepX = s.StepX, stepY = s.StepY;
    const Axis x =
        AfterSteps(Axis{s.KiteX, s.DirX}, count, [stepX](Axis a) { return NextOnAxis(a, stepX, RightLimit); });
    s.KiteX = x.at;
    s.DirX = x.dir;
    const Axis y =
        AfterSteps(Axis{s.KiteY, s.DirY}, count, [stepY](Axis a) { return NextOnAxis(a, stepY, BottomLimit); });
    s.KiteY = y.at;
    s.DirY = y.dir;
}

void ComposeInto(const FlightState& s, Surfaces& surfaces, QImage& display)
{
    ComposeArea(s, QRect(0, 0, DisplayWidth, DisplayHeight), surfaces, display);
}

QRegion ChangedArea(const QRect& drawnCell, const FlightState& s)
{
    return QRegion(drawnCell).united(KiteCell(s)).intersected(QRect(0, 0, DisplayWidth, DisplayHeight));
}

void ComposeArea(const FlightState& s, const QRegion& area, Surfaces& surfaces, QImage& display)
{
    using raster::BitBlt;
    const int cellX = (s.FrameNo - 1) * KiteWidth;
    for (const QRect& r : area)
        BitBlt(surfaces.picWork, r.x(), r.y(), r.width(), r.height(), surfaces.picBack, r.x(), r.y(), raster::SRCCOPY);
    BitBlt(surfaces.picWork, s.KiteX, s.KiteY, KiteWidth, KiteHeight, surfaces.picKite, cellX, KiteHeight,
           raster::SRCPAINT);
    BitBlt(surfaces.picWork, s.KiteX, s.KiteY, KiteWidth, KiteHeight, surfaces.picKite, cellX, 0, raster::SRCAND);
    for (const QRect& r : area)
        BitBlt(display, r.x(), r.y(), r.width(), r.height(), surfaces.picWork, r.x(), r.y(), raster::SRCCOPY);
}

QRect KiteCell(const FlightState& s)
{
    return QRect(s.KiteX, s.KiteY, KiteWidth, KiteHeight);
}

}  // namespace mdlAelor
