#pragma once
// Pieces shared by the desktop benchmarks: silent services for a real main
// window, and the wall clock the launching script compares with.
#include "app/Services.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/Sound.h"

#include <QFile>
#include <QRegularExpression>

#include <cstdlib>
#include <ctime>

class SilentSound : public platform::SoundService {
public:
    void sndPlaySound(const std::optional<QString>&, std::uint32_t) override { }
};

class AnswerYes : public platform::MessageBoxService {
public:
    int MsgBox(const QString&, int, const QString&) override { return platform::vbYes; }
};

class NoHelp : public platform::HelpService {
public:
    void WinHelp(QWidget*, const QString&, std::uint32_t, std::uint32_t) override { }
};

// Services for a main window that runs unattended: every box answered Yes, no
// help, no other copy, and the program's data read from `programDir`.
inline Services BenchServices(platform::SoundService& sound, const QString& programDir)
{
    static AnswerYes msgbox;
    static NoHelp help;
    Services services;
    services.sound = &sound;
    services.msgbox = &msgbox;
    services.help = &help;
    services.prevInstance = [] { return false; };
    services.end = [](int status) { std::exit(status); };
    services.programDir = programDir;
    return services;
}

// Milliseconds since the epoch, as `date +%s%3N` prints them.
inline long long WallMs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Peak resident memory of this process in kB.
inline long long PeakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(status.readAll());
    const auto m = QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+)")).match(text);
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}
