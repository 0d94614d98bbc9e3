#include "platform/StopSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

int g_fds[2] = {-1, -1};
constexpr int Routed[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnStopSignal(int sig)
{
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    // A full socket already holds a pending request; losing this byte is harmless.
    [[maybe_unused]] const auto n = ::write(g_fds[0], &byte, 1);
    errno = saved;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> onStop, QObject* parent)
    : QObject(parent)
    , m_onStop(std::move(onStop))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_fds) != 0)
        return;
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::drain);

    for (const int sig : Routed) {
        struct sigaction old = {};
        ::sigaction(sig, nullptr, &old);
        if (sig != SIGTERM && old.sa_handler == SIG_IGN)
            continue;
        struct sigaction sa = {};
        sa.sa_handler = OnStopSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        ::sigaction(sig, &sa, nullptr);
    }
}

StopSignals::~StopSignals()
{
    if (g_fds[0] < 0)
        return;
    for (const int sig : Routed) {
        struct sigaction current = {};
        ::sigaction(sig, nullptr, &current);
        if (current.sa_handler == OnStopSignal)
            ::signal(sig, SIG_DFL);
    }
    delete m_notifier;
    ::close(g_fds[0]);
    ::close(g_fds[1]);
    g_fds[0] = g_fds[1] = -1;
}

void StopSignals::drain()
{
    char bytes[64];
    while (::read(g_fds[1], bytes, sizeof bytes) > 0) { }
    if (m_onStop)
        m_onStop();
}

}  // namespace platform
