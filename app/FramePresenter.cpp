#include "app/FramePresenter.h"

#include <cmath>
#include <utility>

using std::chrono::ceil;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

namespace {

// A region of many small bands costs more to repaint and send to the X server
// than the few pixels between them: past this, the bounding rectangle goes.
constexpr int MostRects = 8;

}  // namespace

FramePresenter::FramePresenter(Repaint repaint, RefreshPeriod refreshPeriod, QObject* parent)
    : QObject(parent)
    , m_repaint(std::move(repaint))
    , m_refreshPeriod(std::move(refreshPeriod))
    , m_clock([] { return std::chrono::steady_clock::now().time_since_epoch(); })
{
    m_dueTimer.setSingleShot(true);
    m_dueTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_dueTimer, &QTimer::timeout, this, &FramePresenter::repaintPending);
}

void FramePresenter::composed(const QRegion& changed, milliseconds tickInterval)
{
    m_pending += changed;
    if (m_pending.rectCount() > MostRects)
        m_pending = m_pending.boundingRect();
    const nanoseconds now = m_clock();
    // Read again after each repaint: the window may have moved to another screen.
    if (!m_period)
        m_period = m_refreshPeriod();
    const nanoseconds period = *m_period;
    // A person's key press or drag step comes at the pace of a hand and is
    // shown at once, as are ticks a refresh period or more apart.
    const bool paced = tickInterval == milliseconds::zero() || tickInterval >= period;
    if (m_due && !paced)
        return;  // repainted with the rest at the end of the period
    if (paced || !m_lastRepaint || now - *m_lastRepaint >= period) {
        repaintNow(now);
        return;
    }
    m_due = *m_lastRepaint + period;
    m_dueTimer.start(ceil<milliseconds>(*m_due - now));
}

std::optional<nanoseconds> FramePresenter::due() const
{
    return m_due;
}

void FramePresenter::repaintPending()
{
    repaintNow(m_clock());
}

void FramePresenter::repaintNow(nanoseconds now)
{
    m_dueTimer.stop();
    m_due.reset();
    if (m_pending.isEmpty())
        return;
    m_lastRepaint = now;
    m_period.reset();
    const QRegion region = std::exchange(m_pending, QRegion());
    m_repaint(region);
}

nanoseconds RefreshPeriodOf(double refreshRateHz)
{
    if (!(refreshRateHz >= 1.0 && std::isfinite(refreshRateHz)))
        refreshRateHz = 60.0;
    return nanoseconds(std::llround(1e9 / refreshRateHz));
}
