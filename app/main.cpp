#include "app/frmMain.h"
#include "platform/AppInfo.h"
#include "platform/Desktop.h"
#include "platform/Fonts.h"
#include "platform/Help.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "platform/StopSignals.h"
#include "sound/DesktopSound.h"
#include "widgets/FrameStyle.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (!platform::DisplayNamed()) {
        qCCritical(lcAelorin, "no display to open the window on (DISPLAY is not set)");
        return 1;
    }
    platform::PrepareDesktop();
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::AppTitle);
    QApplication::setApplicationVersion(QString::fromLatin1(platform::AppVersion));
    platform::InstallFonts();
    QApplication::setStyle(new widgets::FrameStyle);

    sound::DesktopSoundService desktopSound;
    platform::QtMessageBoxService msgbox;
    platform::ViewerHelpService help;
    platform::SingleInstance instance(platform::SingleInstance::DesktopKey(platform::AppTitle));

    Services services;
    services.sound = &desktopSound;
    services.msgbox = &msgbox;
    services.help = &help;
    services.prevInstance = [&instance] { return instance.PrevInstance(); };
    services.end = [](int status) {
        // At once: no closing handler, no destructor, no sound.
        std::fflush(nullptr);
        std::_Exit(status);
    };
    services.programDir = QCoreApplication::applicationDirPath();

    frmMain window(services);
    switch (window.Form_Load()) {
    case frmMain::LoadResult::Refused:
        return 0;
    case frmMain::LoadResult::PictureFailed:
        return 1;
    case frmMain::LoadResult::Loaded:
        break;
    }
    // The window waits for no sound after its start-up but the closing chime.
    desktopSound.setWaitedSoundName(sound::ClosingChimeName);
    // A stop request from outside closes the window as its close box would:
    // secondary windows closed, music stopped with the closing sound, status 0.
    platform::StopSignals stop([&window] {
        if (window.isVisible())
            window.close();
    });
    window.show();
    return QApplication::exec();
}
