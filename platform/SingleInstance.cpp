#include "platform/SingleInstance.h"

#include "platform/Desktop.h"

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
    // Any other failure (no sockets at all) must not lock the user out.
    const bool taken = !m_server->listen(m_key) && m_server->serverError() == QAbstractSocket::AddressInUseError;
    if (!m_server->isListening())
        m_server.reset();
    m_answer = taken ? 1 : 0;
    return m_answer != 0;
}

QString SingleInstance::DesktopKey(const QString& title)
{
    return platform::DesktopKey(title);
}

}  // namespace platform
