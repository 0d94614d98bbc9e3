#include "platform/AnimTimer.h"

namespace platform {

using std::chrono::ceil;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

AnimTimer::AnimTimer(QObject* parent)
    : QObject(parent)
{
    // A precise timer keeps to the millisecond; a coarse one may come 5 % early.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_moment.reset();
        emit Timer();
    });
}

nanoseconds AnimTimer::Now()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

void AnimTimer::wakeAt(std::optional<nanoseconds> moment)
{
    if (moment == m_moment && m_timer.isActive())
        return;
    m_moment = moment;
    if (!moment) {
        m_timer.stop();
        return;
    }
    // Whole milliseconds, rounded up and counted from after the clock was read:
    // the wake never comes before the moment.
    m_timer.start(std::max(milliseconds::zero(), ceil<milliseconds>(*moment - Now())));
}

std::optional<nanoseconds> AnimTimer::wakeMoment() const
{
    return m_timer.isActive() ? m_moment : std::nullopt;
}

}  // namespace platform
