#pragma once
#include <QString>

namespace platform {

// A claim on this user's desktop that one process at a time holds: a lock on a
// file in a directory that is this user's alone. The kernel lets the lock go
// when its process ends in any way (a crash too), so no stale claim is ever
// left, and of processes claiming at the same moment exactly one wins. No other
// user can take the claim, hold it or reach a socket beside it. The directory
// is checked once, open, and the lock and the socket are made through that
// descriptor: what is used is what was checked, even where someone else could
// rename or replace the directory's name meanwhile.
class DesktopClaim {
public:
    enum class Outcome {
        Taken,           // this process holds the claim
        HeldByThisUser,  // another process of this user holds it
        Unavailable,     // no claim can be made here; the reason is logged
    };

    // `name` is a file name, as DesktopKey makes one.
    explicit DesktopClaim(QString name);
    ~DesktopClaim();
    DesktopClaim(const DesktopClaim&) = delete;
    DesktopClaim& operator=(const DesktopClaim&) = delete;

    // Makes the claim; once taken, later calls answer Taken. After
    // HeldByThisUser a later call tries again.
    Outcome take();
    // Where a local socket that serves the claim lies, beside it, named
    // through this process's descriptor of the checked directory (which also
    // keeps the name short, whatever the directory's own path); valid while
    // this object lives. Empty when the claim is Unavailable or not yet asked
    // for.
    QString socketPath() const;

private:
    QString m_name;
    int m_dir = -1;
    int m_lock = -1;
};

// The program's claim to be the one running copy on this desktop.
class SingleInstance {
public:
    explicit SingleInstance(const QString& key);

    // True when another copy of this user already holds the claim. The first
    // call makes the claim; later calls answer the same. Where no claim can be
    // made, the copy runs without it.
    bool PrevInstance();

    // The key for this user's desktop: the title, the user and the display.
    static QString DesktopKey(const QString& title);

private:
    DesktopClaim m_claim;
    int m_answer = -1;
};

// The directory for this user's claims, opened (close-on-exec): the session's
// runtime directory where it is this user's alone (mode 0700, as the desktop
// makes it), otherwise one of the same kind that the program makes for the
// user in the temporary directory. -1 when neither can be had (another user
// made that one first, it is a link, it is open to others, it cannot be made),
// with one line in the log that says why. `path` receives the name the
// directory was opened by, for reports.
int OpenPrivateRuntimeDir(QString* path = nullptr);

}  // namespace platform
