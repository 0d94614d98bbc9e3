#include "platform/StopSignals.h"
#include "platform/Log.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

int g_fds[2] = {-1, -1};
// The end the handler writes to, as the handler may read it.
volatile std::sig_atomic_t g_writeFd = -1;
constexpr int Routed[] = {SIGTERM, SIGINT, SIGHUP};
// What each routed signal did before, to be put back when the routing ends.
struct sigaction g_previous[std::size(Routed)] = {};
bool g_installed[std::size(Routed)] = {};

extern "C" void OnStopSignal(int sig)
{
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    // A full socket already holds a pending request; losing this byte is harmless.
    [[maybe_unused]] const auto n = ::write(g_writeFd, &byte, 1);
    errno = saved;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> onStop, QObject* parent)
    : QObject(parent)
    , m_onStop(std::move(onStop))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_fds) != 0) {
        qCDebug(lcDesktop, "stop signals keep their default action, no socket pair: %s", std::strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::drain);

    g_writeFd = g_fds[0];
    for (std::size_t i = 0; i < std::size(Routed); ++i) {
        const int sig = Routed[i];
        struct sigaction old = {};
        ::sigaction(sig, nullptr, &old);
        if (old.sa_handler == SIG_IGN)
            continue;
        struct sigaction sa = {};
        sa.sa_handler = OnStopSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        g_installed[i] = ::sigaction(sig, &sa, &g_previous[i]) == 0;
    }
}

StopSignals::~StopSignals()
{
    if (g_fds[0] < 0)
        return;
    for (std::size_t i = 0; i < std::size(Routed); ++i) {
        if (g_installed[i])
            ::sigaction(Routed[i], &g_previous[i], nullptr);
        g_installed[i] = false;
    }
    g_writeFd = -1;
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
