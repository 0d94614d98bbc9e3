// The music menu with its check marks and sound requests, and the help item with
// the service that starts the help viewer.
#include "LoadedWindow.h"
#include "Probe.h"
#include "fakes.h"

#include "app/frmMain.h"
#include "platform/Fonts.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "rules/MusicMenu.h"
#include "sound/SdlSound.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using MusicMenu::Request;
using platform::SND_ASYNC;
using platform::SND_LOOP;
using platform::SND_NODEFAULT;

Q_DECLARE_METATYPE(Request)

namespace {

constexpr std::uint32_t Loop = SND_ASYNC | SND_NODEFAULT | SND_LOOP;

const SoundCall StopCall{std::nullopt, Loop};
SoundCall LoopCall(const QString& appDir)
{
    return {appDir + QStringLiteral("sounds/Over.wav"), Loop};
}

// A program directory holding the pictures and only the named data files.
struct ProgramDir {
    QTemporaryDir dir;
    explicit ProgramDir(const QStringList& extra)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("images")));
        QDir().mkpath(dir.filePath(QStringLiteral("sounds")));
        QDir().mkpath(dir.filePath(QStringLiteral("help")));
        for (const QString& file :
             QStringList{QStringLiteral("images/kite.bmp"), QStringLiteral("images/back.bmp")} + extra)
            QFile::copy(BuildDataDir() + file, dir.filePath(file));
    }
    QString appDir() const { return dir.path() + QLatin1Char('/'); }
};

// The real sound service, with every request written down on the way.
class RecordingSdlSound : public sound::SdlSoundService {
public:
    void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) override
    {
        calls.append({name, flags});
        sound::SdlSoundService::sndPlaySound(name, flags);
    }
    QList<SoundCall> calls;
};

// The marks always name the music's state.
bool MarksMatch(frmMain& w)
{
    return Child<QAction>(w, "mnuBgmItem", 0)->isChecked() == (Probe::BgmOn(w) != 0)
           && Child<QAction>(w, "mnuBgmItem", 1)->isChecked() == (Probe::BgmOn(w) == 0);
}

QWidget* Control(frmMain& w, const QString& name)
{
    if (name == QLatin1String("picMain"))
        return Child<widgets::PictureBox>(w, "picMain");
    if (name == QLatin1String("txtInter"))
        return Child<QLineEdit>(w, "txtInter");
    if (name == QLatin1String("cmbHoriz"))
        return Child<QComboBox>(w, "cmbHoriz");
    if (name == QLatin1String("cmbVert"))
        return Child<QComboBox>(w, "cmbVert");
    return nullptr;
}

}  // namespace

class TestMusicHelp : public LoadedWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();

    void musicRuleActsOnlyWhenTheOtherStateIsChosen_data();
    void musicRuleActsOnlyWhenTheOtherStateIsChosen();
    void musicMenuCallsTheSoundOnlyOnAChangeOfState_data();
    void musicMenuCallsTheSoundOnlyOnAChangeOfState();
    void musicShortcutsWorkWhicheverControlHasTheFocus_data();
    void musicShortcutsWorkWhicheverControlHasTheFocus();
    void missingMusicFileStillSwitchesTheMarksSilently();

    void helpAsksForTheContentsOfTheHelpFileEveryTime();
    void helpShortcutWorksWhicheverControlHasTheFocus_data();
    void helpShortcutWorksWhicheverControlHasTheFocus();
    void missingHelpFileIsLeftToTheHelpWindow();
    void viewerIsAskedOnlyForTheContents_data();
    void viewerIsAskedOnlyForTheContents();
    void viewerStartsDetachedWithThePathAsOneArgument();
    void missingViewerIsPassedOverInSilence();
    void viewerIsBuiltBesideTheProgram();
};

void TestMusicHelp::initTestCase()
{
    platform::InstallFonts();
}

void TestMusicHelp::musicRuleActsOnlyWhenTheOtherStateIsChosen_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("bgmOn");
    QTest::addColumn<Request>("request");
    QTest::newRow("playing chosen while off") << 0 << 0 << Request::StartLoop;
    QTest::newRow("playing chosen while on") << 0 << -1 << Request::None;
    QTest::newRow("stopped chosen while on") << 1 << -1 << Request::StopLoop;
    QTest::newRow("stopped chosen while off") << 1 << 0 << Request::None;
    // Any non-zero flag counts as on.
    QTest::newRow("playing chosen, flag 1") << 0 << 1 << Request::None;
    QTest::newRow("stopped chosen, flag 1") << 1 << 1 << Request::StopLoop;
    QTest::newRow("index 2 while off") << 2 << 0 << Request::None;
    QTest::newRow("index 2 while on") << 2 << -1 << Request::None;
    QTest::newRow("index -1 while off") << -1 << 0 << Request::None;
    QTest::newRow("index -1 while on") << -1 << -1 << Request::None;
}

void TestMusicHelp::musicRuleActsOnlyWhenTheOtherStateIsChosen()
{
    QFETCH(int, index);
    QFETCH(int, bgmOn);
    QFETCH(Request, request);
    QCOMPARE(MusicMenu::Choose(index, static_cast<std::int16_t>(bgmOn)), request);
}

// clang-format off
void TestMusicHelp::musicMenuCallsTheSoundOnlyOnAChangeOfState_data()
{
    // Choices as the user makes them: P = "演奏中(&P)", N = "停止中(&N)"; calls:
    // L = the loop started, S = stopped.
    QTest::addColumn<QString>("choices");
    QTest::addColumn<QString>("calls");
    QTest::newRow("playing again while on") << "P" << "";
    QTest::newRow("playing three times while on") << "PPP" << "";
    QTest::newRow("stopped") << "N" << "S";
    QTest::newRow("stopped twice stops once") << "NN" << "S";
    QTest::newRow("off then on starts the loop again") << "NP" << "SL";
    QTest::newRow("on twice after off starts it once") << "NPP" << "SL";
    QTest::newRow("back and forth") << "NPNP" << "SLSL";
    QTest::newRow("mixed repeats") << "PNNPPN" << "SLS";
}
// clang-format on

void TestMusicHelp::musicMenuCallsTheSoundOnlyOnAChangeOfState()
{
    QFETCH(QString, choices);
    QFETCH(QString, calls);
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    world.sound.calls.clear();
    QVERIFY(MarksMatch(w));

    std::int16_t expectedOn = mdlAelor::True;
    for (QChar choice : choices) {
        // Through the action itself, as the menu and its shortcut do: Qt toggles a
        // checkable action's mark before the handler runs.
        Child<QAction>(w, "mnuBgmItem", choice == QLatin1Char('P') ? 0 : 1)->trigger();
        expectedOn = choice == QLatin1Char('P') ? mdlAelor::True : mdlAelor::False;
        QCOMPARE(Probe::BgmOn(w), expectedOn);
        QVERIFY2(MarksMatch(w), qPrintable(QStringLiteral("after %1").arg(choice)));
    }

    QList<SoundCall> expected;
    for (QChar call : calls)
        expected.append(call == QLatin1Char('L') ? LoopCall(BuildDataDir()) : StopCall);
    QCOMPARE(world.sound.calls, expected);
    QVERIFY(world.msgbox.calls.isEmpty());
}

void TestMusicHelp::musicShortcutsWorkWhicheverControlHasTheFocus_data()
{
    QTest::addColumn<QString>("control");
    for (const char* control : {"picMain", "txtInter", "cmbHoriz", "cmbVert"})
        QTest::newRow(control) << QString::fromLatin1(control);
}

void TestMusicHelp::musicShortcutsWorkWhicheverControlHasTheFocus()
{
    QFETCH(QString, control);
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget* focus = Control(w, control);
    focus->setFocus();
    QVERIFY(focus->hasFocus());
    world.sound.calls.clear();

    const struct {
        Qt::Key key;
        std::int16_t on;
    } presses[] = {{Qt::Key_P, -1}, {Qt::Key_N, 0}, {Qt::Key_N, 0}, {Qt::Key_P, -1}, {Qt::Key_P, -1}};
    for (const auto& press : presses) {
        QTest::keyClick(w.windowHandle(), press.key, Qt::ControlModifier);
        QCOMPARE(Probe::BgmOn(w), press.on);
        QVERIFY(MarksMatch(w));
    }
    QCOMPARE(world.sound.calls, (QList<SoundCall>{StopCall, LoopCall(BuildDataDir())}));
    // The keys did not reach the entries.
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), QStringLiteral(" 100"));
    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->currentText(), QStringLiteral(" 1"));
    QCOMPARE(Child<QComboBox>(w, "cmbVert")->currentText(), QStringLiteral(" 1"));
}

// The real sound service with no music file: no message, no crash, and the
// menu behaves as if the music played.
void TestMusicHelp::missingMusicFileStillSwitchesTheMarksSilently()
{
    ProgramDir program({});
    RecordingSdlSound sound;
    FakeWorld world;
    Services services = world.services();
    services.sound = &sound;
    services.programDir = program.dir.path();
    frmMain w(services);
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Loaded);
    QCOMPARE(Probe::BgmOn(w), mdlAelor::True);
    sound.calls.clear();

    Child<QAction>(w, "mnuBgmItem", 1)->trigger();
    QCOMPARE(Probe::BgmOn(w), mdlAelor::False);
    QVERIFY(MarksMatch(w));
    Child<QAction>(w, "mnuBgmItem", 0)->trigger();
    QCOMPARE(Probe::BgmOn(w), mdlAelor::True);
    QVERIFY(MarksMatch(w));
    Child<QAction>(w, "mnuBgmItem", 1)->trigger();
    QCOMPARE(Probe::BgmOn(w), mdlAelor::False);
    QVERIFY(MarksMatch(w));

    QCOMPARE(sound.calls, (QList<SoundCall>{StopCall, LoopCall(program.appDir()), StopCall}));
    QVERIFY(world.msgbox.calls.isEmpty());
}

void TestMusicHelp::helpAsksForTheContentsOfTheHelpFileEveryTime()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    world.sound.calls.clear();
    for (int i = 1; i <= 3; ++i) {
        Child<QAction>(w, "mnuHelp")->trigger();
        QCOMPARE(world.help.calls.size(), i);
        const HelpCall& call = world.help.calls.last();
        QCOMPARE(call.owner, &w);
        QCOMPARE(call.file, BuildDataDir() + QStringLiteral("help/Aelor.hlp"));
        QCOMPARE(call.command, 3u);
        QCOMPARE(call.command, platform::HELP_CONTENTS);
        QCOMPARE(call.data, 0u);
    }
    QVERIFY(world.sound.calls.isEmpty());
    QVERIFY(world.msgbox.calls.isEmpty());
}

void TestMusicHelp::helpShortcutWorksWhicheverControlHasTheFocus_data()
{
    musicShortcutsWorkWhicheverControlHasTheFocus_data();
}

void TestMusicHelp::helpShortcutWorksWhicheverControlHasTheFocus()
{
    QFETCH(QString, control);
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Control(w, control)->setFocus();
    QTest::keyClick(w.windowHandle(), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(world.help.calls.size(), 1);
    QCOMPARE(world.help.calls[0].file, BuildDataDir() + QStringLiteral("help/Aelor.hlp"));
    QCOMPARE(world.help.calls[0].command, platform::HELP_CONTENTS);
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), QStringLiteral(" 100"));
}

void TestMusicHelp::missingHelpFileIsLeftToTheHelpWindow()
{
    ProgramDir program({});
    FakeWorld world;
    world.programDir = program.dir.path();
    frmMain w(world.services());
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Loaded);
    QVERIFY(!QFile::exists(program.appDir() + QStringLiteral("help/Aelor.hlp")));
    Child<QAction>(w, "mnuHelp")->trigger();
    QCOMPARE(world.help.calls.size(), 1);
    QCOMPARE(world.help.calls[0].file, program.appDir() + QStringLiteral("help/Aelor.hlp"));
    QVERIFY(world.msgbox.calls.isEmpty());
}

void TestMusicHelp::viewerIsAskedOnlyForTheContents_data()
{
    QTest::addColumn<std::uint32_t>("command");
    QTest::addColumn<bool>("served");
    QTest::newRow("contents") << std::uint32_t(3) << true;
    QTest::newRow("context") << std::uint32_t(1) << false;
    QTest::newRow("quit") << std::uint32_t(2) << false;
    QTest::newRow("unknown") << std::uint32_t(0xFFFFFFFF) << false;
}

void TestMusicHelp::viewerIsAskedOnlyForTheContents()
{
    QFETCH(std::uint32_t, command);
    QFETCH(bool, served);
    const QString file = QStringLiteral("/opt/凧 あそび/help/Aelor.hlp");
    const auto arguments = platform::ViewerHelpService::ViewerArguments(file, command);
    QCOMPARE(arguments.has_value(), served);
    if (served)
        QCOMPARE(*arguments, QStringList{file});
}

// A stand-in viewer writes down the arguments it was started with.
void TestMusicHelp::viewerStartsDetachedWithThePathAsOneArgument()
{
    QTemporaryDir dir;
    const QString viewer = dir.filePath(QStringLiteral("viewer.sh"));
    const QString record = dir.filePath(QStringLiteral("arguments"));
    {
        QFile script(viewer);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"" + record.toUtf8()
                     + "\"\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    platform::ViewerHelpService service(viewer);
    QCOMPARE(service.viewerProgram(), viewer);
    // Blanks, quotes and a semicolon stay inside the one argument.
    const QString file = dir.filePath(QStringLiteral("凧 あそび/it's; \"here\"/help/Aelor.hlp"));
    const QWidgetList before = QApplication::topLevelWidgets();
    QWidget owner;
    QSet<QWidget*> windows(before.begin(), before.end());
    windows << &owner;
    service.WinHelp(&owner, file, platform::HELP_CONTENTS, 0);
    QTRY_VERIFY(QFile::exists(record));
    QFile written(record);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(written.readAll()), QStringLiteral("1\n") + file + QLatin1Char('\n'));
    // The program keeps no window of the viewer's.
    const QWidgetList after = QApplication::topLevelWidgets();
    QCOMPARE(QSet<QWidget*>(after.begin(), after.end()), windows);
}

void TestMusicHelp::missingViewerIsPassedOverInSilence()
{
    QTemporaryDir dir;
    FakeWorld world;
    platform::ViewerHelpService service(dir.filePath(QStringLiteral("no-such-viewer")));
    Services services = world.services();
    services.help = &service;
    frmMain w(services);
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Loaded);
    const QWidgetList before = QApplication::topLevelWidgets();
    Child<QAction>(w, "mnuHelp")->trigger();
    QVERIFY(world.msgbox.calls.isEmpty());
    QCOMPARE(QApplication::topLevelWidgets(), before);
}

void TestMusicHelp::viewerIsBuiltBesideTheProgram()
{
    const QFileInfo viewer(BuildDataDir() + QStringLiteral("aelorin-help"));
    QVERIFY2(viewer.isFile() && viewer.isExecutable(), qPrintable(viewer.filePath()));
    QVERIFY(QFileInfo(BuildDataDir() + QStringLiteral("aelorin")).isExecutable());
    QCOMPARE(platform::ViewerHelpService().viewerProgram(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/aelorin-help"));
}

QTEST_MAIN(TestMusicHelp)
#include "tst_music_help.moc"
