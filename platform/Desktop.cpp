#include "platform/Desktop.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QGuiApplication>

#include <sys/socket.h>
#include <unistd.h>

namespace platform {

bool DisplayNamed()
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    // A platform that draws without a display server (offscreen, for one) needs
    // none; the X and Wayland ones would abort without theirs.
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    return !platform.isEmpty() && !platform.startsWith(QLatin1String("xcb"))
           && !platform.startsWith(QLatin1String("wayland"));
}

QString DesktopKey(const QString& prefix)
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    // Each desktop of the user has its claims of its own. The display's name may
    // hold any character; its digest is a plain file name.
    const QByteArray digest = QCryptographicHash::hash(display.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return prefix + QLatin1Char('-') + QString::fromLatin1(digest);
}

bool PeerIsThisUser(qintptr socketDescriptor)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
           && size == sizeof peer && peer.uid == getuid();
}

void PrepareDesktop()
{
    // The X11 platform wherever an X server is named, XWayland on a Wayland
    // desktop included: only there can the window be centred, the version box
    // placed and the frame's extents read. Wayland when X is named but does not
    // answer, or is not named at all. A platform the user chose stays chosen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));

    // Whole scale factors only: a 120-dpi desktop (1.25) keeps its pixels at 1:1
    // and gets the fonts rescaled by its resolution instead, and 2 stays a sharp 2;
    // a fractional factor would stretch the pixel layout and blur the display.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);

    // With the shared-memory backing store every paint first waits for the X
    // server to finish with the previous one; a frame here changes two small
    // kite cells, so that round trip cost more than sending the cells over the
    // socket (at 1 ms, about 15 % of the program's time). The pixels are the same
    // either way. Whatever the user set is left as it is.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
}

}  // namespace platform
