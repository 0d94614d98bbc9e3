#pragma once
// Recording stand-ins for the services the main window calls, so tests can see
// every sound request and message box in order and answer the boxes.
#include "app/Services.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/Sound.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <optional>

struct SoundCall {
    std::optional<QString> name;
    std::uint32_t flags;
    bool operator==(const SoundCall&) const = default;
};

class FakeSound : public platform::SoundService {
public:
    void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) override { calls.append({name, flags}); }
    QList<SoundCall> calls;
};

struct MsgBoxCall {
    QString text;
    int style;
    QString title;
};

class FakeMsgBox : public platform::MessageBoxService {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
    QList<MsgBoxCall> calls;
    // Answers given in turn to boxes with Yes and No; when none is left, Yes.
    QList<int> answers;
    // Called while a box is "open", to check what the program does meanwhile.
    std::function<void(const MsgBoxCall&)> onShow;
};

struct HelpCall {
    QWidget* owner;
    QString file;
    std::uint32_t command;
    std::uint32_t data;
};

class FakeHelp : public platform::HelpService {
public:
    void WinHelp(QWidget* owner, const QString& file, std::uint32_t command, std::uint32_t data) override
    {
        calls.append({owner, file, command, data});
    }
    QList<HelpCall> calls;
};

// One set of fakes wired into Services, with the build tree as the program's
// directory (the data files lie there) unless a test names another.
struct FakeWorld {
    FakeSound sound;
    FakeMsgBox msgbox;
    FakeHelp help;
    bool otherCopyRunning = false;
    QList<int> endCalls;
    QString programDir = QStringLiteral(AELORIN_BUILD_DIR);

    Services services();
};

// The program's data directory in the build tree, ending in a separator.
QString BuildDataDir();
