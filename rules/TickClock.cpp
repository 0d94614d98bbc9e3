#include "rules/TickClock.h"

#include <algorithm>

namespace TickClock {

namespace {

Nanos IntervalOf(const Clock& c)
{
    return std::chrono::milliseconds(c.Interval);
}

// Ticks as far apart as the screen's frames, or farther, are each shown at once.
bool AtScreenPace(const Clock& c, Nanos refreshPeriod)
{
    return IntervalOf(c) >= refreshPeriod;
}

void CountFrom(Clock& c, Nanos now)
{
    c.phase = now;
    c.ran = 0;
}

}  // namespace

bool Ticking(const Clock& c)
{
    return c.Enabled && c.Interval > 0;
}

void SetEnabled(Clock& c, bool on, Nanos now)
{
    c.Enabled = on;
    if (on)
        CountFrom(c, now);
}

void SetInterval(Clock& c, int milliseconds, Nanos now)
{
    c.Interval = milliseconds;
    if (c.Enabled)
        CountFrom(c, now);
}

std::optional<Nanos> NextDue(const Clock& c)
{
    if (!Ticking(c))
        return std::nullopt;
    return c.phase + (c.ran + 1) * IntervalOf(c);
}

std::int64_t FallenDue(const Clock& c, Nanos now)
{
    if (!Ticking(c) || now < c.phase)
        return 0;
    return std::max<std::int64_t>(0, (now - c.phase) / IntervalOf(c) - c.ran);
}

std::int64_t MostAtOnce(int intervalMs, Nanos refreshPeriod)
{
    return refreshPeriod / std::chrono::milliseconds(intervalMs) + 1;
}

std::int64_t TakeDue(Clock& c, Nanos now, Nanos refreshPeriod)
{
    const std::int64_t due = FallenDue(c, now);
    if (due == 0)
        return 0;
    if (c.watched && due > MostAtOnce(c.Interval, refreshPeriod)) {
        CountFrom(c, now);
        return MostAtOnce(c.Interval, refreshPeriod);
    }
    c.ran += due;
    return due;
}

bool MayShowTickFrame(const Clock& c, Nanos now, Nanos refreshPeriod)
{
    return AtScreenPace(c, refreshPeriod) || !c.shownAt || now - *c.shownAt >= refreshPeriod;
}

std::optional<Nanos> NextWake(const Clock& c, Nanos refreshPeriod, bool frameWaiting)
{
    if (!c.watched)
        return std::nullopt;
    const std::optional<Nanos> nextFrame =
        c.shownAt && !AtScreenPace(c, refreshPeriod) ? std::optional(*c.shownAt + refreshPeriod) : std::nullopt;
    std::optional<Nanos> wake = NextDue(c);
    if (wake && nextFrame)
        wake = std::max(*wake, *nextFrame);
    if (frameWaiting && nextFrame)
        wake = wake ? std::min(*wake, *nextFrame) : *nextFrame;
    return wake;
}

}  // namespace TickClock
