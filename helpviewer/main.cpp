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
    // The window is made before the claim is taken, so that the claim is served
    // from the moment it is; it is destroyed before the claim, so that its
    // socket goes first and never takes the next holder's with it.
    platform::DesktopClaim claim(HelpWindow::DesktopKey());
    HelpWindow window;
    if (window.handOverOrServe(claim, path))
        return 0;
    window.openFile(path);
    window.show();
    return QApplication::exec();
}
