#include "app/Flight.h"

#include "rules/Raster.h"
#include "widgets/PictureBox.h"

#include <QScreen>

#include <utility>

using std::chrono::nanoseconds;

Flight::Flight(widgets::PictureBox* display, QObject* parent)
    : QObject(parent)
    , m_display(display)
    , m_refreshPeriod([this] {
        const QScreen* screen = m_display->screen();
        return TickClock::RefreshPeriodOf(screen ? screen->refreshRate() : 0.0);
    })
{
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

mdlAelor::FlightState& Flight::change()
{
    runDueTicks();
    return m_st;
}

void Flight::setTimerEnabled(bool on)
{
    runDueTicks();
    m_clock.setEnabled(on, m_now());
    reschedule();
}

void Flight::setTimerInterval(int milliseconds)
{
    runDueTicks();
    m_clock.setInterval(milliseconds, m_now());
    reschedule();
}

void Flight::runDueTicks()
{
    const nanoseconds now = m_now();
    const nanoseconds period = refreshPeriod();
    runTicks(m_clock.takeDue(now, period));
    if (m_owed && m_clock.watched() && m_clock.mayShowTickFrame(now, period))
        present(*std::exchange(m_owed, std::nullopt), now);
    reschedule();
}

void Flight::timAnime_Timer()
{
    runDueTicks();
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
    if (m_clock.watched()) {
        m_owed.reset();
        present(m_st, m_now());
    } else {
        m_owed = m_st;
    }
    reschedule();
}

void Flight::setWatched(bool watched)
{
    if (watched == m_clock.watched())
        return;
    // The ticks up to this moment count by the rule that held until now.
    runDueTicks();
    m_clock.setWatched(watched);
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
    m_clock.frameShown(now, refreshPeriod());
}

void Flight::reschedule()
{
    const auto wake = m_clock.schedule(refreshPeriod(), m_owed.has_value());
    if (!m_testDriven)
        timAnime.wakeAt(wake);
}

nanoseconds Flight::refreshPeriod() const
{
    return m_refreshPeriod();
}

void Flight::driveBy(TimeSource now, PeriodSource refreshPeriod)
{
    m_testDriven = true;
    timAnime.wakeAt(std::nullopt);
    m_now = std::move(now);
    m_refreshPeriod = std::move(refreshPeriod);
    // As if the timer had been made, or last switched on, at this moment.
    m_clock.restart(m_now());
    reschedule();
}
