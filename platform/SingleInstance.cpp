#include "platform/SingleInstance.h"

#include "platform/Desktop.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// A directory of this user's that no one else may enter or write. lstat: a
// link to a directory, which anyone could have made, does not count.
bool IsPrivateDir(const QByteArray& path)
{
    struct stat info { };
    return lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid()
           && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

}  // namespace

QString PrivateRuntimeDir()
{
    const QByteArray session = qgetenv("XDG_RUNTIME_DIR");
    if (session.startsWith('/') && IsPrivateDir(session))
        return QFile::decodeName(session);
    // Without one (a root shell, a remote session), a directory made for this
    // user; mkdir fails on one that exists, whoever made it, and then it counts
    // only if it is this user's and private.
    const QByteArray own = QFile::encodeName(QDir::tempPath()) + "/aelorin-" + QByteArray::number(geteuid());
    if (mkdir(own.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return {};
    if (!IsPrivateDir(own)) {
        qCWarning(lcDesktop, "%s is not this user's own directory: another user made it; starting without claims",
                  own.constData());
        return {};
    }
    return QFile::decodeName(own);
}

DesktopClaim::DesktopClaim(QString name)
    : m_name(std::move(name))
{
}

DesktopClaim::~DesktopClaim()
{
    if (m_lock >= 0)
        close(m_lock);
}

DesktopClaim::Outcome DesktopClaim::take()
{
    if (m_lock >= 0)
        return Outcome::Taken;
    m_dir = PrivateRuntimeDir();
    if (m_dir.isEmpty())
        return Outcome::Unavailable;
    const QByteArray path = QFile::encodeName(m_dir + QLatin1Char('/') + m_name + QLatin1String(".lock"));
    // A lock held through an open file: flock, unlike a record lock, also
    // refuses a second claim made from the same process.
    const int lock = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (lock >= 0 && flock(lock, LOCK_EX | LOCK_NB) == 0) {
        m_lock = lock;
        return Outcome::Taken;
    }
    const int error = errno;
    if (lock >= 0)
        close(lock);
    if (error == EWOULDBLOCK)
        return Outcome::HeldByThisUser;
    // Any other failure (no descriptor left, a name too long) must not lock the
    // user out: the caller goes on without the claim.
    qCDebug(lcDesktop, "cannot claim %s, going on without it: %s", path.constData(), std::strerror(error));
    m_dir.clear();
    return Outcome::Unavailable;
}

QString DesktopClaim::socketPath() const
{
    return m_dir.isEmpty() ? QString() : m_dir + QLatin1Char('/') + m_name;
}

SingleInstance::SingleInstance(const QString& key)
    : m_claim(key)
{
}

bool SingleInstance::PrevInstance()
{
    if (m_answer < 0)
        m_answer = m_claim.take() == DesktopClaim::Outcome::HeldByThisUser ? 1 : 0;
    return m_answer != 0;
}

QString SingleInstance::DesktopKey(const QString& title)
{
    return platform::DesktopKey(title);
}

}  // namespace platform
