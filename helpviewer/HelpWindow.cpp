#include "helpviewer/HelpWindow.h"

#include "platform/AppIcon.h"
#include "platform/AppInfo.h"
#include "platform/Desktop.h"
#include "platform/Log.h"
#include "platform/SingleInstance.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QScrollBar>
#include <QTextBrowser>
#include <QThread>
#include <QToolBar>
#include <QUrl>

namespace {

// A request is one line: the file's path, percent-encoded so that any name fits.
constexpr qint64 MaxRequestBytes = 64 * 1024;
constexpr int HandOverMs = 2000;
// How long a viewer waits for a holder that does not answer to let its claim
// go, and how often it looks.
constexpr int HolderClosingMs = 5000;
constexpr int HolderRetryMs = 50;

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(Caption());
    setWindowIcon(platform::aelorinIcon());

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpText"));
    // Links only move within the help text; nothing is fetched or opened.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    setCentralWidget(m_browser);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::linkClicked);

    auto* bar = addToolBar(QStringLiteral("ヘルプ"));
    bar->setMovable(false);
    m_contents = bar->addAction(QStringLiteral("目次(&C)"), this, &HelpWindow::showContents);
    m_contents->setObjectName(QStringLiteral("showContents"));
    QAction* quit = bar->addAction(QStringLiteral("閉じる(&X)"), this, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::Key_Escape));

    resize(560, 520);
}

HelpWindow::~HelpWindow() = default;

QString HelpWindow::Caption()
{
    return platform::AppTitle + QStringLiteral(" ヘルプ");
}

void HelpWindow::openFile(const QString& path)
{
    m_text = helpview::ReadHelpFile(path);
    helpview::RenderHelp(*m_browser->document(), m_text);
    showContents();
}

void HelpWindow::showContents()
{
    // The text cursor is kept in view whenever the browser is laid out: it goes
    // to the top with the view.
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->verticalScrollBar()->setValue(0);
    m_browser->horizontalScrollBar()->setValue(0);
}

void HelpWindow::linkClicked(const QUrl& url)
{
    if (url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment())
        m_browser->scrollToAnchor(url.fragment(QUrl::FullyDecoded));
}

QString HelpWindow::DesktopKey()
{
    return platform::DesktopKey(platform::AppTitle + QStringLiteral("-help"));
}

bool HelpWindow::listen(const QString& socketPath, Claim claim)
{
    if (m_server)
        return true;
    if (claim == ClaimHeld)
        QLocalServer::removeServer(socketPath);
    auto* server = new QLocalServer(this);
    // A socket in this user's private directory: only this user's processes
    // can reach it. Bound in place (no access options, which would have Qt
    // bind elsewhere and rename it over a window that serves it already).
    if (!server->listen(socketPath)) {
        qCWarning(platform::lcDesktop, "cannot serve help requests at %s: %s; each opens a window of its own",
                  qUtf8Printable(socketPath), qUtf8Printable(server->errorString()));
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &HelpWindow::serveRequest);
    return true;
}

void HelpWindow::serveRequest()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Only this user's viewers are heard.
        if (!platform::PeerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            continue;
        }
        // The request may arrive in pieces, or together with the hang-up.
        auto take = [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > MaxRequestBytes)
                    socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(MaxRequestBytes).trimmed();
            socket->disconnect(this);
            socket->abort();
            openFile(QString::fromUtf8(QByteArray::fromPercentEncoding(line)));
            showNormal();
            raise();
            activateWindow();
        };
        connect(socket, &QLocalSocket::readyRead, this, take);
        connect(socket, &QLocalSocket::disconnected, this, take);
        if (socket->bytesAvailable() > 0)
            take();
    }
}

bool HelpWindow::forwardTo(const QString& socketPath, const QString& path)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(HandOverMs))
        return false;
    // The file's name goes to none but a window of this user's.
    if (!platform::PeerIsThisUser(socket.socketDescriptor()))
        return false;
    const QString absolute = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    socket.write(QUrl::toPercentEncoding(absolute) + '\n');
    if (!socket.waitForBytesWritten(HandOverMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(HandOverMs);
    return true;
}

bool HelpWindow::handOverOrServe(platform::DesktopClaim& claim, const QString& path)
{
    using Outcome = platform::DesktopClaim::Outcome;
    const QDeadlineTimer closing(HolderClosingMs);
    for (bool waited = false;; waited = true) {
        const Outcome outcome = claim.take();
        if (outcome == Outcome::Taken)
            listen(claim.socketPath(), ClaimHeld);
        if (outcome != Outcome::HeldByThisUser || path.isEmpty())
            return false;
        if (forwardTo(claim.socketPath(), path))
            return true;
        if (closing.hasExpired()) {
            qCWarning(platform::lcDesktop, "the help window of this desktop does not answer; this one serves alone");
            return false;
        }
        if (!waited)
            qCDebug(platform::lcDesktop, "the help window of this desktop does not answer; waiting for its claim");
        QThread::msleep(HolderRetryMs);
    }
}
