#pragma once
#include "helpviewer/HelpDocument.h"

#include <QMainWindow>

class QAction;
class QLocalServer;
class QTextBrowser;
class QUrl;
namespace platform {
class DesktopClaim;
}

// The help window: one help file, opened at its contents page. It belongs to no
// other window and lives until the user closes it.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Loads the file and shows it from its contents page; a file that cannot be
    // shown is reported in the window itself.
    void openFile(const QString& path);
    // Back to the top of the text, where the contents are.
    void showContents();

    // Serves later viewers of this desktop at a local socket: a request names a
    // help file, which this window then opens and brings forward. False when
    // another window already serves the socket, unless this process holds the
    // desktop's claim: then what lies there is a crashed window's, and goes.
    enum Claim { ClaimNotHeld, ClaimHeld };
    bool listen(const QString& socketPath, Claim claim = ClaimNotHeld);
    // Hands the file over to the window serving the socket; false when none of
    // this user's answers.
    static bool forwardTo(const QString& socketPath, const QString& path);
    // Called once at start, before the window shows: hands `path` over to the
    // window that holds the desktop's claim and answers true, or takes the
    // claim and serves it. Where the holder does not answer, it waits a
    // moment for the claim to come free (a holder that is closing lets it go
    // last), then serves alone. Whatever cannot be served is logged.
    bool handOverOrServe(platform::DesktopClaim& claim, const QString& path);
    // The name of the viewer's claim on this desktop.
    static QString DesktopKey();

    QTextBrowser* browser() const { return m_browser; }
    const helpview::HelpText& current() const { return m_text; }

    static QString Caption();

private:
    void linkClicked(const QUrl& url);
    void serveRequest();

    QTextBrowser* m_browser = nullptr;
    QAction* m_contents = nullptr;
    QLocalServer* m_server = nullptr;
    helpview::HelpText m_text;
};
