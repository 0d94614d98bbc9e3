// The music menu, help and the version box.
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"

#include <QAction>

void frmMain::mnuBgmItem_Click(int)
{
}

void frmMain::mnuHelp_Click()
{
}

void frmMain::mnuVer_Click()
{
    // A box closed a moment ago may still wait for its deletion: it counts as gone.
    if (about && about->Unloaded())
        about.clear();
    if (!about)
        about = new frmAbout();
    // Brought to the front means visible: a minimised box comes back.
    about->setWindowState(about->windowState() & ~Qt::WindowMinimized);
    about->show();
    about->raise();
    about->activateWindow();
}
