#include "platform/SingleInstance.h"

#include "platform/Desktop.h"
#include "platform/Log.h"

#include <QLocalServer>

namespace platform {

SingleInstance::SingleInstance(const QString& key)
    : m_key(key)
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::PrevInstance()
{
    if (m_answer >= 0)
        return m_answer != 0;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    // Binding is atomic: of copies started at the same moment exactly one wins.
    bool taken = false;
    if (!m_server->listen(m_key)) {
        taken = m_server->serverError() == QAbstractSocket::AddressInUseError;
        // Any other failure (a sandbox without local sockets) must not lock the
        // user out: this copy runs without the claim.
        if (!taken)
            qCDebug(lcDesktop, "cannot claim the single copy, starting without it: %s",
                    qUtf8Printable(m_server->errorString()));
        m_server.reset();
    }
    m_answer = taken ? 1 : 0;
    return m_answer != 0;
}

QString SingleInstance::DesktopKey(const QString& title)
{
    return platform::DesktopKey(title);
}

}  // namespace platform
