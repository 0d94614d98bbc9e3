#pragma once
#include <QString>

// The desktop a program runs on, as both programs see it.
namespace platform {

// Whether a display server is named at all. Without one Qt would abort when the
// application object is made; the programs say plainly what is missing instead.
bool DisplayNamed();

// A name for the claims a program makes on this desktop (see DesktopClaim): the
// prefix, a "-" and a digest of the display.
QString DesktopKey(const QString& prefix);

// Whether the process at the other end of a connected local socket runs as this
// user, as the kernel reports it. For a program's claim that takes requests from
// its next copy: another user's process must not be obeyed.
bool PeerIsThisUser(qintptr socketDescriptor);

// Settings of the desktop connection that must be made before the application
// object exists, the same for both programs. Call first thing in main().
void PrepareDesktop();

}  // namespace platform
