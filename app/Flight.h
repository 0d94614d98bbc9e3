#pragma once
#include "platform/AnimTimer.h"
#include "rules/TickClock.h"
#include "rules/mdlAelor.h"

#include <QObject>
#include <QRect>
#include <QSize>

#include <chrono>
#include <functional>
#include <optional>

namespace widgets {
class PictureBox;
}

// The flight: the state the main window's handlers share, the surfaces its
// frames are composed on, the animation timer timAnime with its clock, and the
// frames' way to the display.
//
// A tick is a step of the flight's clock, not a wake-up of the program: the
// ticks that fell due run, one by one and in order, when the timer wakes (at
// most once a refresh period of the screen while they come faster than that) and
// whenever a handler reaches the state or the timer, so that each lands on the
// same side of every input as if the program woke for it. Only the last tick's frame is composed,
// and only while someone can see the display.
class Flight : public QObject {
    Q_OBJECT
public:
    explicit Flight(widgets::PictureBox* display, QObject* parent = nullptr);

    // The state as a handler reaches it to decide or to change: every tick due
    // up to this moment has run first, so that each lands on the same side of
    // every input as if the program had woken for it.
    mdlAelor::FlightState& change();
    // The state as it stands, for what only shows it.
    const mdlAelor::FlightState& st() const { return m_st; }
    const mdlAelor::Surfaces& surfaces() const { return m_surfaces; }
    // The two pictures of start-up, each at least as large as the rules read.
    void setPictures(QImage kite, QImage back);

    // timAnime's enabled flag and interval in milliseconds. Switching it on, and
    // a new interval while on, runs the ticks due under the old setting and then
    // counts afresh: the next tick falls due one whole interval later.
    bool timerEnabled() const { return m_clock.enabled(); }
    void setTimerEnabled(bool on);
    int timerInterval() const { return m_clock.interval(); }
    void setTimerInterval(int milliseconds);
    // True while ticks fall due: enabled with a positive interval.
    bool isTicking() const { return m_clock.ticking(); }

    // Shows the current state at once: the arrow keys and the drag call it.
    void ComposeFrame();

    // Whether a person can see the display. While nobody can, nothing is
    // composed or repainted and the timer does not wake; when someone can again,
    // the ticks that fell due meanwhile run, all of them, and their last frame is
    // shown at once.
    void setWatched(bool watched);
    bool watched() const { return m_clock.watched(); }

    // How many ticks have run since the flight began.
    std::int64_t ticksRun() const { return m_ticksRun; }

private:
    // Tests drive the flight's clock and the screen through the one door.
    friend class Probe;
    // Where the flight reads the moment, and the screen's refresh period.
    using TimeSource = std::function<std::chrono::nanoseconds()>;
    using PeriodSource = std::function<std::chrono::nanoseconds()>;

    // A test's clock and screen: the timer then only notes when it would wake,
    // and the test wakes it at that moment (or later, as a held thread would).
    void driveBy(TimeSource now, PeriodSource refreshPeriod);
    std::optional<std::chrono::nanoseconds> nextWake() const { return m_clock.wakeAsked(); }

    // The timer's wake-up: the ticks due run and their last frame is shown.
    void timAnime_Timer();
    // Runs every tick that fell due up to now, and shows the last one's frame
    // when the screen is due one.
    void runDueTicks();
    // Runs `count` ticks; the last one's frame is owed to the display.
    void runTicks(std::int64_t count);
    // Composes the frame for `shown` into the display's picture and repaints
    // what changed at once.
    void present(const mdlAelor::FlightState& shown, std::chrono::nanoseconds now);
    // Asks the timer for the next wake the clock needs.
    void reschedule();
    std::chrono::nanoseconds refreshPeriod() const;

    widgets::PictureBox* m_display;
    mdlAelor::FlightState m_st;
    mdlAelor::Surfaces m_surfaces;
    TimeSource m_now = &platform::AnimTimer::Now;
    PeriodSource m_refreshPeriod;
    // The timer runs from the moment the window is made.
    TickClock::Clock m_clock{m_now()};
    platform::AnimTimer timAnime;
    bool m_testDriven = false;
    // The frame the last tick composed while it could not be shown yet: the
    // state before that tick.
    std::optional<mdlAelor::FlightState> m_owed;
    // Where the last frame drew the kite, and on a display of what size; none
    // before the first frame and after a surface was replaced.
    std::optional<QRect> m_drawnCell;
    QSize m_drawnOn;
    std::int64_t m_ticksRun = 0;
};
