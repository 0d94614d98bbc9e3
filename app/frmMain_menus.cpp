// The music menu, help and the version box.
#include "rules/MusicMenu.h"
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "platform/Help.h"
#include "platform/Sound.h"

#include <QAction>

namespace {

const QString MusicFile = QStringLiteral("sounds/Over.wav");
const QString HelpFile = QStringLiteral("help/Aelor.hlp");
constexpr std::uint32_t PlayLoop = platform::SND_ASYNC | platform::SND_NODEFAULT | platform::SND_LOOP;

}  // namespace

void frmMain::mnuBgmItem_Click(int Index)
{
    switch (MusicMenu::Choose(Index, BgmOn)) {
    case MusicMenu::Request::StartLoop:
        // A missing file is silent; the music still counts as on.
        m_services.sound->sndPlaySound(AppDir + MusicFile, PlayLoop);
        BgmOn = mdlAelor::True;
        mnuBgmItem[0]->setChecked(true);
        mnuBgmItem[1]->setChecked(false);
        break;
    case MusicMenu::Request::StopLoop:
        m_services.sound->sndPlaySound(std::nullopt, PlayLoop);
        BgmOn = mdlAelor::False;
        mnuBgmItem[0]->setChecked(false);
        mnuBgmItem[1]->setChecked(true);
        break;
    case MusicMenu::Request::None:
        break;
    }
}

void frmMain::mnuHelp_Click()
{
    // Whatever becomes of the request (no viewer, no file) is the help window's
    // affair; the main window reports nothing.
    if (m_services.help)
        m_services.help->WinHelp(this, AppDir + HelpFile, platform::HELP_CONTENTS, 0);
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
