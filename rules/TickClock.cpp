#include "rules/TickClock.h"

#include <algorithm>
#include <cmath>

namespace TickClock {

Nanos RefreshPeriodOf(double refreshRateHz)
{
    // What screens report lies between a film's 24 Hz and 500 Hz; anything else
    // is a platform that does not know.
    if (!(refreshRateHz >= 24.0 && refreshRateHz <= 500.0))
        refreshRateHz = 60.0;
    return Nanos(std::llround(1e9 / refreshRateHz));
}

std::int64_t MostAtOnce(int intervalMs, Nanos refreshPeriod)
{
    return refreshPeriod / std::chrono::milliseconds(intervalMs) + 1;
}

Clock::Clock(Nanos now)
    : m_phase(now)
{
}

void Clock::countFrom(Nanos now)
{
    m_phase = now;
    m_ran = 0;
}

void Clock::setEnabled(bool on, Nanos now)
{
    m_enabled = on;
    if (on)
        countFrom(now);
}

void Clock::setInterval(int milliseconds, Nanos now)
{
    m_interval = milliseconds;
    if (m_enabled)
        countFrom(now);
}

void Clock::restart(Nanos now)
{
    countFrom(now);
    m_frameDue.reset();
    m_wake.reset();
}

std::optional<Nanos> Clock::nextDue() const
{
    if (!ticking())
        return std::nullopt;
    return m_phase + (m_ran + 1) * intervalLength();
}

std::int64_t Clock::fallenDue(Nanos now) const
{
    if (!ticking() || now < m_phase)
        return 0;
    return std::max<std::int64_t>(0, (now - m_phase) / intervalLength() - m_ran);
}

std::int64_t Clock::takeDue(Nanos now, Nanos refreshPeriod)
{
    const std::int64_t due = fallenDue(now);
    if (due == 0)
        return 0;
    // Late against the wake asked for or, with none asked, against the first
    // tick that fell due.
    const Nanos late = now - m_wake.value_or(*nextDue());
    const std::int64_t most = MostAtOnce(m_interval, refreshPeriod);
    if (m_watched && late > refreshPeriod && due > most) {
        countFrom(now);
        return most;
    }
    m_ran += due;
    return due;
}

bool Clock::mayShowTickFrame(Nanos now, Nanos refreshPeriod) const
{
    return atScreenPace(refreshPeriod) || !m_frameDue || now >= *m_frameDue;
}

void Clock::frameShown(Nanos now, Nanos refreshPeriod)
{
    // A frame ahead of the screen's pace (a key's, a drag's) leaves it as it is.
    if (m_frameDue && now < *m_frameDue)
        return;
    m_frameDue = m_frameDue && now - *m_frameDue < refreshPeriod ? *m_frameDue + refreshPeriod : now + refreshPeriod;
}

std::optional<Nanos> Clock::schedule(Nanos refreshPeriod, bool frameWaiting)
{
    m_wake.reset();
    if (!m_watched)
        return m_wake;
    const std::optional<Nanos> nextFrame = atScreenPace(refreshPeriod) ? std::nullopt : m_frameDue;
    m_wake = nextDue();
    if (m_wake && nextFrame)
        m_wake = std::max(*m_wake, *nextFrame);
    if (frameWaiting && nextFrame)
        m_wake = m_wake ? std::min(*m_wake, *nextFrame) : *nextFrame;
    return m_wake;
}

}  // namespace TickClock
