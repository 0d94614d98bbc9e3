#include "fakes.h"

int FakeMsgBox::MsgBox(const QString& text, int style, const QString& title)
{
    calls.append({text, style, title});
    if (onShow)
        onShow(calls.last());
    if ((style & 0x0F) == platform::vbYesNo)
        return answers.isEmpty() ? platform::vbYes : answers.takeFirst();
    return platform::vbOK;
}

Services FakeWorld::services()
{
    Services s;
    s.sound = &sound;
    s.msgbox = &msgbox;
    s.help = &help;
    s.prevInstance = [this] { return otherCopyRunning; };
    s.end = [this](int status) { endCalls.append(status); };
    s.programDir = programDir;
    return s;
}

QString BuildDataDir()
{
    return QStringLiteral(AELORIN_BUILD_DIR "/");
}
