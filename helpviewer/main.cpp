// The help viewer: shows one help file of the program at its contents page, in a
// window of its own. The program starts it detached, with the file's path.
#include "helpviewer/HelpWindow.h"
#include "platform/AppIcon.h"
#include "platform/Desktop.h"
#include "platform/Fonts.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QLoggingCategory>

// Reports for whoever started the viewer from a terminal: "aelorin-help: <message>".
Q_LOGGING_CATEGORY(lcHelpViewer, "aelorin-help", QtInfoMsg)

int main(int argc, char* argv[])
{
    if (!platform::DisplayNamed()) {
        qCCritical(lcHelpViewer, "no display to open the window on (DISPLAY is not set)");
        return 1;
    }
    platform::PrepareDesktop();
    QApplication app(argc, argv);
    platform::InstallFonts();
    QApplication::setWindowIcon(platform::aelorinIcon());

    const QString path = QApplication::arguments().value(1);
    // One help window per desktop: a window already open takes the file over.
    // The window is made first, so that the claim is served from the moment it
    // is taken.
    HelpWindow window;
    platform::DesktopClaim claim(HelpWindow::DesktopKey());
    switch (claim.take()) {
    case platform::DesktopClaim::Outcome::Taken:
        window.listen(claim.socketPath(), HelpWindow::ClaimHeld);
        break;
    case platform::DesktopClaim::Outcome::HeldByThisUser:
        if (!path.isEmpty() && HelpWindow::forwardTo(claim.socketPath(), path))
            return 0;
        break;
    case platform::DesktopClaim::Outcome::Unavailable:
        break;
    }
    window.openFile(path);
    window.show();
    return QApplication::exec();
}
