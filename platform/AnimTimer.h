#pragma once
#include <QObject>
#include <QTimer>

#include <chrono>
#include <optional>

namespace platform {

// The animation timer's wake-up: one wake of the event loop at a moment of the
// steady clock, never sooner. The flight's clock chooses the moments; between
// them the program sleeps.
class AnimTimer : public QObject {
    Q_OBJECT
public:
    explicit AnimTimer(QObject* parent = nullptr);

    // The steady clock the moments are read on.
    static std::chrono::nanoseconds Now();

    // Wakes once at `moment` (at once if it has passed), in place of any wake
    // asked for before; none cancels it.
    void wakeAt(std::optional<std::chrono::nanoseconds> moment);
    // The moment asked for, while the wake has not come.
    std::optional<std::chrono::nanoseconds> wakeMoment() const;

signals:
    void Timer();

private:
    QTimer m_timer;
    std::optional<std::chrono::nanoseconds> m_moment;
};

}  // namespace platform
