#pragma once
#include <chrono>
#include <cstdint>
#include <optional>

// The animation timer's clock. A tick is a step of the flight that falls due at
// a moment of a steady clock: one interval after the timer was switched on or
// given a new interval, and every interval after that. The timer need not wake
// for each one: ticks that come faster than the screen refreshes run together,
// in order, once a refresh period, and while nobody can see the display the
// timer does not wake at all. These rules say which ticks have fallen due, how
// many of them run, when a frame may be shown and when the timer must wake next.
namespace TickClock {

using Nanos = std::chrono::nanoseconds;

// A screen's refresh period, from the rate its platform reports: 60 Hz where
// the rate is not one a screen has.
Nanos RefreshPeriodOf(double refreshRateHz);

// The most ticks that run together after a stall while the display is watched:
// those of one refresh period, and one more.
std::int64_t MostAtOnce(int intervalMs, Nanos refreshPeriod);

class Clock {
public:
    // A timer made at `now`: on, at the start-up interval of 100 ms, watched.
    explicit Clock(Nanos now = Nanos::zero());

    // The timer's enabled flag and interval in milliseconds; at 0 nothing ticks.
    bool enabled() const { return m_enabled; }
    int interval() const { return m_interval; }
    // True while ticks fall due: enabled with a positive interval.
    bool ticking() const { return m_enabled && m_interval > 0; }
    // Whether a person can see the display.
    bool watched() const { return m_watched; }

    // Every switch-on, even of a timer already on, and every new interval while on
    // count the ticks afresh from `now`: the next falls due a whole interval later.
    void setEnabled(bool on, Nanos now);
    void setInterval(int milliseconds, Nanos now);
    void setWatched(bool watched) { m_watched = watched; }
    // As if the timer had been made at `now`, with nothing shown yet and no wake
    // asked for; the interval and the flags stay.
    void restart(Nanos now);

    // When the next tick falls due; none while the timer does not tick.
    std::optional<Nanos> nextDue() const;
    // The ticks fallen due by `now` that have not run.
    std::int64_t fallenDue(Nanos now) const;

    // Counts the ticks fallen due by `now` as run and says how many run, in order,
    // before anything else happens. Every one of them runs, unless the thread was
    // held: a wake that comes more than a refresh period after the moment asked
    // for, while the display is watched (the opening chime, a busy machine), runs
    // at most MostAtOnce of them, and the clock counts afresh from `now`, as a
    // timer that cannot catch up does; the kite never jumps. A wake a little late,
    // as every real one is, is not a stall; time unseen is not one either: the
    // flight went on where no one could see it.
    std::int64_t takeDue(Nanos now, Nanos refreshPeriod);

    // Whether the frame of a tick may be shown at `now`: ticks a refresh period or
    // more apart come at the screen's pace already and are shown at once, faster
    // ones when the screen's next refresh is due.
    bool mayShowTickFrame(Nanos now, Nanos refreshPeriod) const;
    // A frame was shown at `now`. The next is due a refresh period after this one
    // was due, so that a wake a little late costs no refresh its frame; a frame
    // shown more than a period after it was due sets the pace afresh from `now`.
    void frameShown(Nanos now, Nanos refreshPeriod);

    // Decides when the timer must wake next, and remembers it: when the next tick
    // falls due, but, while ticks come faster than the screen, not before the next
    // refresh is due; sooner for a tick's frame that waits to be shown. None while
    // nobody watches: the ticks are counted, not run, until someone does.
    std::optional<Nanos> schedule(Nanos refreshPeriod, bool frameWaiting);
    // The wake decided last.
    std::optional<Nanos> wakeAsked() const { return m_wake; }

private:
    Nanos intervalLength() const { return std::chrono::milliseconds(m_interval); }
    bool atScreenPace(Nanos refreshPeriod) const { return intervalLength() >= refreshPeriod; }
    void countFrom(Nanos now);

    bool m_enabled = true;
    int m_interval = 100;
    bool m_watched = true;
    // Tick k (counted from 1) falls due at m_phase + k intervals; m_ran of them
    // have run.
    Nanos m_phase;
    std::int64_t m_ran = 0;
    // When the screen's next refresh is due a frame; none before the first frame.
    std::optional<Nanos> m_frameDue;
    std::optional<Nanos> m_wake;
};

}  // namespace TickClock
