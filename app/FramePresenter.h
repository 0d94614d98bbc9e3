#pragma once
#include <QObject>
#include <QRegion>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

// Decides when the display repaints what the rules composed into its picture.
// The ticks may compose far more often than a screen can show: a tick's frame is
// repainted at once when a whole refresh period of the screen has passed since
// the last repaint, otherwise at the end of that period together with everything
// composed meanwhile. So every frame reaches the screen within one refresh
// period, the last one always, and nothing waits while nothing is pending. The
// frames of a key press or a drag step are repainted at once.
class FramePresenter : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<std::chrono::nanoseconds()>;
    using Repaint = std::function<void(const QRegion&)>;
    using RefreshPeriod = std::function<std::chrono::nanoseconds()>;

    FramePresenter(Repaint repaint, RefreshPeriod refreshPeriod, QObject* parent = nullptr);

    // The steady clock and the screen's refresh period, unless a test drives its own.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setRefreshPeriod(RefreshPeriod refreshPeriod)
    {
        m_refreshPeriod = std::move(refreshPeriod);
        m_period.reset();
    }

    // Called after every composed frame with the part of the picture it changed;
    // a tick says its interval (ticks a refresh period or more apart are at the
    // screen's pace already, and each is repainted at once), other frames none.
    void composed(const QRegion& changed, std::chrono::milliseconds tickInterval = {});

    // When the repaint of what is pending is due, on the clock; none when nothing is.
    std::optional<std::chrono::nanoseconds> due() const;
    // Repaints what is pending: called when it is due.
    void repaintPending();

private:
    void repaintNow(std::chrono::nanoseconds now);

    Repaint m_repaint;
    RefreshPeriod m_refreshPeriod;
    Clock m_clock;
    QTimer m_dueTimer;
    QRegion m_pending;
    std::optional<std::chrono::nanoseconds> m_period;
    std::optional<std::chrono::nanoseconds> m_lastRepaint;
    std::optional<std::chrono::nanoseconds> m_due;
};

// A screen's refresh period: 60 Hz where the platform does not say.
std::chrono::nanoseconds RefreshPeriodOf(double refreshRateHz);
