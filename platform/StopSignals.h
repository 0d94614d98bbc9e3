#pragma once
#include <QObject>

#include <functional>

class QSocketNotifier;

namespace platform {

// Turns the stop requests a process gets from outside (SIGTERM from `kill` or a
// session manager, SIGINT from Ctrl+C in its terminal, SIGHUP when the terminal
// goes away) into one call on the event loop, where the program can close the
// way a person closes its window. A signal handler may do almost nothing
// safely, so it only writes a byte into a socket that the event loop watches.
// One instance at a time. A signal that the starting process set to be ignored
// stays ignored, whichever of the three it is: `nohup` ignores SIGHUP, a shell
// ignores SIGINT for a background job, and a wrapper ignores SIGTERM to shield
// what it starts from a stop sent to its whole group; each did so on purpose.
class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(std::function<void()> onStop, QObject* parent = nullptr);
    ~StopSignals() override;

private:
    void drain();

    std::function<void()> m_onStop;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace platform
