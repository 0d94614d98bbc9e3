#pragma once
#include <QObject>
#include <QTimer>

namespace platform {

// The animation clock. Unlike a bare QTimer, an interval of 0 gives no ticks at
// all, and every switch-on (or change of interval while on) starts a fresh interval.
class AnimTimer : public QObject {
    Q_OBJECT
public:
    explicit AnimTimer(QObject* parent = nullptr);

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);

    // True while ticks are actually due: enabled with a positive interval.
    bool isTicking() const { return m_timer.isActive(); }

signals:
    void Timer();

private:
    void apply();

    QTimer m_timer;
    bool m_enabled = true;
    int m_interval = 100;
};

}  // namespace platform
