// The music menu, help and the version box.
#include "app/frmMain.h"
#include "data/DataFiles.h"
#include "dialogs/frmAbout.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "platform/WindowFinder.h"
#include "rules/MusicMenu.h"

#include <QAction>

using platform::PlayLoop;

void frmMain::mnuBgmItem_Click(int Index)
{
    switch (MusicMenu::Choose(Index, BgmOn)) {
    case MusicMenu::Request::StartLoop:
        // A missing file is silent; the music still counts as on.
        m_services.sound->sndPlaySound(AppDir + QLatin1String(datafiles::Music), PlayLoop);
        BgmOn = mdlAelor::True;
        break;
    case MusicMenu::Request::StopLoop:
        m_services.sound->sndPlaySound(std::nullopt, PlayLoop);
        BgmOn = mdlAelor::False;
        break;
    case MusicMenu::Request::None:
        break;
    }
    syncBgmMarks();
}

void frmMain::mnuHelp_Click()
{
    // Whatever becomes of the request (no viewer, no file) is the help window's
    // affair; the main window reports nothing.
    if (m_services.help)
        m_services.help->WinHelp(this, AppDir + QLatin1String(datafiles::Help), platform::HELP_CONTENTS, 0);
}

void frmMain::mnuVer_Click()
{
    // A box closed a moment ago may still wait for its deletion: it counts as gone.
    if (about && about->Unloaded())
        about.clear();
    if (!about)
        about = new frmAbout();
    platform::BringForward(about);
}
