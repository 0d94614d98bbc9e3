#include "platform/AnimTimer.h"

namespace platform {

AnimTimer::AnimTimer(QObject* parent)
    : QObject(parent)
{
    // A precise timer keeps short intervals close to the requested rate.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AnimTimer::Timer);
    apply();
}

void AnimTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    apply();
}

void AnimTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    apply();
}

void AnimTimer::apply()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

}  // namespace platform
