#pragma once
#include <chrono>
#include <cstdint>
#include <optional>

// The animation timer's clock. A tick is a step of the flight that falls due at
// a moment of a steady clock: one interval after the timer was switched on or
// given a new interval, and every interval after that. The timer need not wake
// for each one: ticks that come faster than the screen refreshes run together,
// in order, at most once a refresh period, and while nobody can see the display
// the timer does not wake at all. These rules say which ticks have fallen due,
// how many of them run, and when the timer must wake next.
namespace TickClock {

using Nanos = std::chrono::nanoseconds;

struct Clock {
    // The timer's enabled flag and interval in milliseconds; at 0 nothing ticks.
    bool Enabled = true;
    int Interval = 100;
    // Tick k (counted from 1) falls due at `phase` + k intervals; `ran` of them
    // have run.
    Nanos phase{};
    std::int64_t ran = 0;
    // Whether a person can see the display.
    bool watched = true;
    // When the display last showed a frame; none before the first.
    std::optional<Nanos> shownAt;
};

// True while ticks fall due: enabled with a positive interval.
bool Ticking(const Clock& c);

// Every switch-on, even of a timer already on, and every new interval while on
// count the ticks afresh from `now`: the next falls due a whole interval later.
void SetEnabled(Clock& c, bool on, Nanos now);
void SetInterval(Clock& c, int milliseconds, Nanos now);

// When the next tick falls due; none while the timer does not tick.
std::optional<Nanos> NextDue(const Clock& c);

// The ticks fallen due by `now` that have not run.
std::int64_t FallenDue(const Clock& c, Nanos now);

// The most ticks that run together while the display is watched: those of one
// refresh period, and one more for a wake-up that comes a little late.
std::int64_t MostAtOnce(int intervalMs, Nanos refreshPeriod);

// Counts the ticks fallen due by `now` as run and says how many run, in order,
// before anything else happens. Two cases are kept apart:
// - a stall: while the display is watched, a thread held for longer than that
//   (by the opening chime, by a busy machine) runs at most MostAtOnce of them and
//   the clock counts afresh from `now`, as a timer that cannot catch up does; the
//   kite never jumps;
// - time unseen: while nobody watches, every tick that fell due runs, none is
//   dropped: the flight went on where no one could see it.
std::int64_t TakeDue(Clock& c, Nanos now, Nanos refreshPeriod);

// Whether the frame of a tick may be shown at `now`: ticks a refresh period or
// more apart come at the screen's pace already and are shown at once, faster
// ones once a whole refresh period has passed since the last frame shown.
bool MayShowTickFrame(const Clock& c, Nanos now, Nanos refreshPeriod);

// When the timer must wake next: when the next tick falls due, but, while ticks
// come faster than the screen, no sooner than a refresh period after the last
// frame shown; sooner for a tick's frame that waits to be shown. None while
// nobody watches: the ticks are counted, not run, until someone does.
std::optional<Nanos> NextWake(const Clock& c, Nanos refreshPeriod, bool frameWaiting);

}  // namespace TickClock
