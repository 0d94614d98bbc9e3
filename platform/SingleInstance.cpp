#include "platform/SingleInstance.h"

#include "platform/Desktop.h"
#include "platform/Log.h"

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

// Why an opened directory is not this user's alone; nullptr when it is.
const char* NotPrivateBecause(int dir)
{
    struct stat info { };
    if (fstat(dir, &info) != 0 || !S_ISDIR(info.st_mode))
        return "is not a directory";
    if (info.st_uid != geteuid())
        return "belongs to another user";
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return "is open to other users";
    return nullptr;
}

// Opens a directory by its own name, never through a link (which anyone could
// have made); -1 with errno set, or with *why set when it is not private.
int OpenIfPrivate(const QByteArray& path, const char** why)
{
    const int dir = open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0) {
        *why = errno == ELOOP || errno == ENOTDIR ? "is a link or not a directory" : nullptr;
        return -1;
    }
    *why = NotPrivateBecause(dir);
    if (*why == nullptr)
        return dir;
    close(dir);
    return -1;
}

}  // namespace

int OpenPrivateRuntimeDir(QString* path)
{
    const char* why = nullptr;
    const QByteArray session = qgetenv("XDG_RUNTIME_DIR");
    if (session.startsWith('/')) {
        const int dir = OpenIfPrivate(session, &why);
        if (dir >= 0) {
            if (path)
                *path = QFile::decodeName(session);
            return dir;
        }
    }
    // Without one (a root shell, a remote session), a directory made for this
    // user; mkdir fails on one that exists, whoever made it, and then it counts
    // only if it is this user's and private.
    // TMPDIR as it is: a missing one makes mkdir fail here, where the
    // temporary directory Qt reports would be empty, and the fallback "/".
    QByteArray temp = qgetenv("TMPDIR");
    if (!temp.startsWith('/'))
        temp = "/tmp";
    const QByteArray own = temp + "/aelorin-" + QByteArray::number(geteuid());
    if (mkdir(own.constData(), S_IRWXU) != 0 && errno != EEXIST) {
        qCWarning(lcDesktop, "cannot make %s: %s; starting without claims", own.constData(), std::strerror(errno));
        return -1;
    }
    const int dir = OpenIfPrivate(own, &why);
    if (dir >= 0) {
        if (path)
            *path = QFile::decodeName(own);
        return dir;
    }
    if (why)
        qCWarning(lcDesktop, "%s %s; starting without claims", own.constData(), why);
    else
        qCWarning(lcDesktop, "cannot open %s: %s; starting without claims", own.constData(), std::strerror(errno));
    return -1;
}

DesktopClaim::DesktopClaim(QString name)
    : m_name(std::move(name))
{
}

DesktopClaim::~DesktopClaim()
{
    if (m_lock >= 0)
        close(m_lock);
    if (m_dir >= 0)
        close(m_dir);
}

DesktopClaim::Outcome DesktopClaim::take()
{
    if (m_lock >= 0)
        return Outcome::Taken;
    if (m_dir < 0)
        m_dir = OpenPrivateRuntimeDir();
    if (m_dir < 0)
        return Outcome::Unavailable;
    const QByteArray name = QFile::encodeName(m_name + QLatin1String(".lock"));
    // A lock held through an open file: flock, unlike a record lock, also
    // refuses a second claim made from the same process. Close-on-exec: a
    // program started from here (the help viewer) must not carry the claim on
    // after this process has ended.
    const int lock = openat(m_dir, name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
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
    qCDebug(lcDesktop, "cannot claim %s, going on without it: %s", name.constData(), std::strerror(error));
    close(m_dir);
    m_dir = -1;
    return Outcome::Unavailable;
}

QString DesktopClaim::socketPath() const
{
    if (m_dir < 0)
        return {};
    return QStringLiteral("/proc/self/fd/%1/").arg(m_dir) + m_name;
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
