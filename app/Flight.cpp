#include "app/Flight.h"

#include "rules/Raster.h"
#include "widgets/PictureBox.h"

#include <QScreen>

#include <cmath>
#include <utility>

using std::chrono::nanoseconds;

Flight::Flight(widgets::PictureBox* display, QObject* parent)
    : QObject(parent)
    , m_display(display)
    , m_refreshPeriod([this] {
        const QScreen* screen = m_display->screen();
        return RefreshPeriodOf(screen ? screen->refreshRate() : 0.0);
    })
{
    // The timer runs from the moment the window is made.
    m_clock.phase = m_now();
    connect(&timAnime, &platform::AnimTimer::Timer, this, &Flight::timAnime_Timer);
    reschedule();
}

void Flight::setPictures(QImage kite, QImage back)
{
    m_surfaces.picKite = std::move(kite);
    m_surfaces.picBack = std::move(back);
    m_drawnCell.reset();
    if (m_surfaces.picWork.isNull()) {
        m_surfaces.picWork = QImage(mdlAelor::DisplayWidth, mdlAelor::DisplayHeight, raster::SurfaceFormat);
        m_surfaces.picWork.fill(Qt::white);
    }
}

void Flight::setTimerEnabled(bool on)
{
    RunDueTicks();
    TickClock::SetEnabled(m_clock, on, m_now());
    reschedule();
}

void Flight::setTimerInterval(int milliseconds)
{
    RunDueTicks();
    TickClock::SetInterval(m_clock, milliseconds, m_now());
    reschedule();
}

void Flight::RunDueTicks()
{
    const nanoseconds now = m_now();
    const nanoseconds period = refreshPeriod();
    runTicks(TickClock::TakeDue(m_clock, now, period));
    if (m_owed && m_clock.watched && TickClock::MayShowTickFrame(m_clock, now, period))
        present(*std::exchange(m_owed, std::nullopt), now);
    reschedule();
}

void Flight::timAnime_Timer()
{
    RunDueTicks();
}

void Flight::runTicks(std::int64_t count)
{
    if (count <= 0)
        return;
    // Each tick shows the state before it moves on: of a run of ticks, only the
    // last one's frame can still be seen.
    mdlAelor::AdvanceTicks(m_st, static_cast<std::uint64_t>(count - 1));
    m_owed = m_st;
    mdlAelor::AdvanceTick(m_st);
    m_ticksRun += count;
}

void Flight::ComposeFrame()
{
    if (m_clock.watched) {
        m_owed.reset();
        present(m_st, m_now());
    } else {
        m_owed = m_st;
    }
    reschedule();
}

void Flight::setWatched(bool watched)
{
    if (watched == m_clock.watched)
        return;
    // The ticks up to this moment count by the rule that held until now.
    RunDueTicks();
    m_clock.watched = watched;
    if (watched && m_owed)
        present(*std::exchange(m_owed, std::nullopt), m_now());
    reschedule();
}

// The rules compose what can differ from the last frame (all of it the first time
// and on a display of a new size) and the display repaints that.
void Flight::present(const mdlAelor::FlightState& shown, nanoseconds now)
{
    QImage& display = m_display->image();
    QRegion area;
    if (m_drawnCell && display.size() == m_drawnOn) {
        area = mdlAelor::ChangedArea(*m_drawnCell, shown);
        mdlAelor::ComposeArea(shown, area, m_surfaces, display);
    } else {
        area = display.rect();
        mdlAelor::ComposeInto(shown, m_surfaces, display);
    }
    m_drawnCell = mdlAelor::KiteCell(shown);
    m_drawnOn = display.size();
    m_display->Refresh(area);
    m_clock.shownAt = now;
}

void Flight::reschedule()
{
    m_wake = TickClock::NextWake(m_clock, refreshPeriod(), m_owed.has_value());
    if (!m_testDriven)
        timAnime.wakeAt(m_wake);
}

nanoseconds Flight::refreshPeriod() const
{
    return m_refreshPeriod();
}

void Flight::driveBy(Clock now, Clock refreshPeriod)
{
    m_testDriven = true;
    timAnime.wakeAt(std::nullopt);
    m_now = std::move(now);
    m_refreshPeriod = std::move(refreshPeriod);
    // As if the timer had been made, or last switched on, at this moment.
    m_clock.phase = m_now();
    m_clock.ran = 0;
    m_clock.shownAt.reset();
    reschedule();
}

nanoseconds RefreshPeriodOf(double refreshRateHz)
{
    if (!(refreshRateHz >= 1.0 && std::isfinite(refreshRateHz)))
        refreshRateHz = 60.0;
    return nanoseconds(std::llround(1e9 / refreshRateHz));
}
