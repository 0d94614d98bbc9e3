// The motion settings panel, its three error boxes, the forced exit and the
// start/stop button, through a real main window with recording fakes.
#include "LoadedWindow.h"
#include "Probe.h"
#include "fakes.h"

#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "platform/Fonts.h"
#include "platform/WindowFinder.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

using platform::SND_ASYNC;
using platform::SND_LOOP;
using platform::SND_NODEFAULT;

namespace {

const QString HorizTitle = QStringLiteral("「左右方向」入力エラー");
const QString VertTitle = QStringLiteral("「上下方向」入力エラー");
const QString InterTitle = QStringLiteral("「間隔」入力エラー");
const QString AngerTitle = QStringLiteral("怒");

void Type(frmMain& w, const QString& horiz, const QString& vert, const QString& inter)
{
    Child<QComboBox>(w, "cmbHoriz")->setEditText(horiz);
    Child<QComboBox>(w, "cmbVert")->setEditText(vert);
    Child<QLineEdit>(w, "txtInter")->setText(inter);
}

QStringList Titles(const FakeMsgBox& box)
{
    QStringList titles;
    for (const MsgBoxCall& c : box.calls)
        titles.append(c.title);
    return titles;
}

// What an input method does when the user confirms a conversion: the text is
// committed to the editor in one go.
void Commit(QWidget* editor, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(editor, &event);
}

}  // namespace

class TestSettings : public LoadedWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void acceptedEntriesApplyWithoutAMessage();
    void everyEntryIsTestedOnItsOwn_data();
    void everyEntryIsTestedOnItsOwn();
    void errorBoxesHaveTheirExactTitlesTextsAndStyles();
    void noTickWhileEntriesAreReadOrABoxIsOpen();
    void settingsMadeWhileStoppedWaitForTheNextStart();
    void yesToTheIntervalErrorKeepsIntervalAndFlight();
    void noToTheIntervalErrorEndsTheProgramAtOnce_data();
    void noToTheIntervalErrorEndsTheProgramAtOnce();
    void startStopTogglesStateTimerAndLabel();
    void startStopNeitherMovesNorRedrawsTheKite();
    void entriesTypedAndButtonsClickedThroughRealWidgets();
    void fullWidthInputFromAnInputMethodIsRead();
    void noTypedTextCrashesOrHidesTheFlightState();
};

void TestSettings::initTestCase()
{
    platform::InstallFonts();
}

void TestSettings::acceptedEntriesApplyWithoutAMessage()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    Type(w, QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("500"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);
    QVERIFY(world.msgbox.calls.isEmpty());
    QCOMPARE(Probe::st(w).StepX, std::int16_t(10));
    QCOMPARE(Probe::st(w).StepY, std::int16_t(20));
    QCOMPARE(Probe::flight(w).timerInterval(), 500);
    QVERIFY(Probe::flight(w).timerEnabled());
    QVERIFY(Probe::flight(w).isTicking());
    QCOMPARE(Probe::st(w).Running, std::int16_t(-1));
    QCOMPARE(Child<QLabel>(w, "lblChange")->text(), QStringLiteral("作動中"));
}

// clang-format off
void TestSettings::everyEntryIsTestedOnItsOwn_data()
{
    QTest::addColumn<QString>("horiz");
    QTest::addColumn<QString>("vert");
    QTest::addColumn<QString>("inter");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("stepX");
    QTest::addColumn<int>("stepY");
    QTest::addColumn<int>("interval");

    // The start values are 1, 1 and 100.
    QTest::newRow("abc, 0, 200: horizontal then vertical box, interval applied")
        << "abc" << "0" << "200" << QStringList{HorizTitle, VertTitle} << 1 << 1 << 200;
    QTest::newRow("1.5 gives 2") << "1.5" << " 1" << " 100" << QStringList{} << 2 << 1 << 100;
    QTest::newRow("2.5 gives 2") << "2.5" << " 1" << " 100" << QStringList{} << 2 << 1 << 100;
    QTest::newRow("0.5 gives 0, no message") << "0.5" << "0.3" << " 100" << QStringList{} << 0 << 0 << 100;
    QTest::newRow("30.4, 60.4, 3000.4: three boxes in order")
        << "30.4" << "60.4" << "3000.4" << QStringList{HorizTitle, VertTitle, InterTitle} << 1 << 1 << 100;
    QTest::newRow("29.6, 59.5, 2999.5 round up to the limits")
        << "29.6" << "59.5" << "2999.5" << QStringList{} << 30 << 60 << 3000;
    QTest::newRow("only the vertical rejected") << "5" << "61" << "50" << QStringList{VertTitle} << 5 << 1 << 50;
    QTest::newRow("only the interval rejected") << "5" << "6" << "0" << QStringList{InterTitle} << 5 << 6 << 100;
    QTest::newRow("interval 0.3 would never tick, rejected")
        << " 1" << " 1" << "0.3" << QStringList{InterTitle} << 1 << 1 << 100;
    QTest::newRow("negative numbers rejected")
        << "-5" << "-1" << "-100" << QStringList{HorizTitle, VertTitle, InterTitle} << 1 << 1 << 100;
    QTest::newRow("huge numbers rejected") << "1e400" << QString(400, QLatin1Char('9')) << "&HFFFF"
                                           << QStringList{HorizTitle, VertTitle, InterTitle} << 1 << 1 << 100;
    QTest::newRow("hexadecimal, octal and exponents")
        << "&H10" << "&O17" << "2.5D2" << QStringList{} << 16 << 15 << 250;
    QTest::newRow("text after the numbers ignored") << "12abc" << "1 0" << "３００ms" << QStringList{} << 12 << 10 << 300;
    QTest::newRow("empty entries") << "" << "" << "" << QStringList{HorizTitle, VertTitle, InterTitle} << 1 << 1 << 100;
}
// clang-format on

void TestSettings::everyEntryIsTestedOnItsOwn()
{
    QFETCH(QString, horiz);
    QFETCH(QString, vert);
    QFETCH(QString, inter);
    QFETCH(QStringList, boxes);
    QFETCH(int, stepX);
    QFETCH(int, stepY);
    QFETCH(int, interval);

    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    Type(w, horiz, vert, inter);
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);

    QCOMPARE(Titles(world.msgbox), boxes);
    QCOMPARE(int(Probe::st(w).StepX), stepX);
    QCOMPARE(int(Probe::st(w).StepY), stepY);
    QCOMPARE(Probe::flight(w).timerInterval(), interval);
    // Neither corrected nor re-filled, accepted or not.
    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->currentText(), horiz);
    QCOMPARE(Child<QComboBox>(w, "cmbVert")->currentText(), vert);
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), inter);
    QVERIFY(world.endCalls.isEmpty());
    QVERIFY(Probe::flight(w).isTicking());
}

void TestSettings::errorBoxesHaveTheirExactTitlesTextsAndStyles()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    Type(w, QStringLiteral("31"), QStringLiteral("61"), QStringLiteral("3001"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);

    QCOMPARE(world.msgbox.calls.size(), 3);
    const MsgBoxCall& h = world.msgbox.calls[0];
    QCOMPARE(h.title, HorizTitle);
    QCOMPARE(h.text, QStringLiteral("「左右方向」には１から３０までの数字を入力して下さい"));
    QCOMPARE(h.style, 48);
    const MsgBoxCall& v = world.msgbox.calls[1];
    QCOMPARE(v.title, VertTitle);
    QCOMPARE(v.text, QStringLiteral("「上下方向」には１から６０までの数字を入力して下さい"));
    QCOMPARE(v.style, 48);
    const MsgBoxCall& i = world.msgbox.calls[2];
    QCOMPARE(i.title, InterTitle);
    QCOMPARE(i.text, QStringLiteral("「間隔」には１から３０００までの数字を入力して下さい"));
    QCOMPARE(i.style, 52);
}

void TestSettings::noTickWhileEntriesAreReadOrABoxIsOpen()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    QList<bool> enabledWhileShown;
    world.msgbox.onShow = [&](const MsgBoxCall&) { enabledWhileShown.append(Probe::flight(w).timerEnabled()); };
    Type(w, QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);

    QCOMPARE(enabledWhileShown, (QList<bool>{false, false, false}));
    // On again at the end, with the interval unchanged.
    QVERIFY(Probe::flight(w).timerEnabled());
    QVERIFY(Probe::flight(w).isTicking());
    QCOMPARE(Probe::flight(w).timerInterval(), 100);
}

void TestSettings::settingsMadeWhileStoppedWaitForTheNextStart()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    QVERIFY(!Probe::flight(w).timerEnabled());

    QList<bool> enabledWhileShown;
    world.msgbox.onShow = [&](const MsgBoxCall&) { enabledWhileShown.append(Probe::flight(w).timerEnabled()); };
    Type(w, QStringLiteral("3"), QStringLiteral("99"), QStringLiteral("250"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);
    QCOMPARE(enabledWhileShown, QList<bool>{false});
    QCOMPARE(Probe::st(w).StepX, std::int16_t(3));
    QCOMPARE(Probe::flight(w).timerInterval(), 250);
    QVERIFY(!Probe::flight(w).timerEnabled());
    QCOMPARE(Probe::st(w).Running, std::int16_t(0));
    QCOMPARE(Child<QLabel>(w, "lblChange")->text(), QStringLiteral("停止中"));

    QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    QVERIFY(Probe::flight(w).isTicking());
    QCOMPARE(Probe::flight(w).timerInterval(), 250);
}

void TestSettings::yesToTheIntervalErrorKeepsIntervalAndFlight()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    world.msgbox.answers = {platform::vbYes};
    Type(w, QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("5000"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);
    QCOMPARE(Titles(world.msgbox), QStringList{InterTitle});
    QCOMPARE(Probe::flight(w).timerInterval(), 100);
    QCOMPARE(Probe::st(w).StepX, std::int16_t(4));
    QCOMPARE(Probe::st(w).StepY, std::int16_t(5));
    QVERIFY(Probe::flight(w).isTicking());
    QVERIFY(world.endCalls.isEmpty());
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), QStringLiteral("5000"));
}

void TestSettings::noToTheIntervalErrorEndsTheProgramAtOnce_data()
{
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("music");
    QTest::newRow("running, music on") << true << true;
    QTest::newRow("running, music off") << true << false;
    QTest::newRow("stopped, music on") << false << true;
}

void TestSettings::noToTheIntervalErrorEndsTheProgramAtOnce()
{
    QFETCH(bool, running);
    QFETCH(bool, music);

    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    w.show();
    if (!running)
        QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    if (!music)
        Child<QAction>(w, "mnuBgmItem", 1)->trigger();
    for (const char* item : {"mnuNameItem0", "mnuNameItem1", "mnuVer"})
        Child<QAction>(w, item)->trigger();
    world.sound.calls.clear();

    // The anger box comes before anything is closed.
    int windowsOpenDuringAnger = -1;
    bool timerOnDuringAnger = true;
    world.msgbox.onShow = [&](const MsgBoxCall& call) {
        if (call.title != AngerTitle)
            return;
        windowsOpenDuringAnger = 0;
        for (const QString& caption :
             {QStringLiteral("タイトルの書式"), QStringLiteral("説明文の書式"), QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報")})
            windowsOpenDuringAnger += platform::FindWindow(caption) ? 1 : 0;
        timerOnDuringAnger = Probe::flight(w).timerEnabled();
    };
    world.msgbox.answers = {platform::vbNo};
    Type(w, QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("5000"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);

    QCOMPARE(Titles(world.msgbox), (QStringList{InterTitle, AngerTitle}));
    const MsgBoxCall& anger = world.msgbox.calls[1];
    QCOMPARE(anger.text, QStringLiteral("ふざけるな！\r\nお前みたいな奴にはいじらせない！！"));
    QCOMPARE(anger.style, 0);
    QCOMPARE(windowsOpenDuringAnger, 3);
    QVERIFY(!timerOnDuringAnger);

    QCOMPARE(world.endCalls, QList<int>{0});
    // The music is stopped and no closing chime follows.
    const QList<SoundCall> expected =
        music ? QList<SoundCall>{{std::nullopt, SND_ASYNC | SND_NODEFAULT | SND_LOOP}} : QList<SoundCall>{};
    QCOMPARE(world.sound.calls, expected);
    // Nothing ran after the end: the timer was not switched on again.
    QVERIFY(!Probe::flight(w).timerEnabled());
    // The steps of the same click were applied before the interval was refused.
    QCOMPARE(Probe::st(w).StepX, std::int16_t(7));
    QCOMPARE(Probe::st(w).StepY, std::int16_t(8));
    QCOMPARE(Probe::flight(w).timerInterval(), 100);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!Probe::propTitle(w));
    QVERIFY(!Probe::propExpla(w));
    QVERIFY(!Probe::about(w));
}

void TestSettings::startStopTogglesStateTimerAndLabel()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    struct Seen {
        int running;
        bool enabled;
        QString label;
    };
    QList<Seen> seen;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
        seen.append({Probe::st(w).Running, Probe::flight(w).timerEnabled(), Child<QLabel>(w, "lblChange")->text()});
    }
    const QString stopped = QStringLiteral("停止中");
    const QString running = QStringLiteral("作動中");
    QCOMPARE(seen.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const bool on = i % 2 == 1;
        QCOMPARE(seen[i].running, on ? -1 : 0);
        QCOMPARE(seen[i].enabled, on);
        QCOMPARE(seen[i].label, on ? running : stopped);
    }
    QVERIFY(world.msgbox.calls.isEmpty());
}

void TestSettings::startStopNeitherMovesNorRedrawsTheKite()
{
    frmMain& w = m_loaded->w;
    TestClock& clock = m_loaded->clock;
    Probe::driveClock(w, clock);
    WakeNext(w, clock);
    const QImage shown = Child<widgets::PictureBox>(w, "picMain")->image().copy();
    const mdlAelor::FlightState before = Probe::st(w);

    QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), shown);
    QCOMPARE(Probe::st(w).KiteX, before.KiteX);
    QCOMPARE(Probe::st(w).KiteY, before.KiteY);
    QCOMPARE(Probe::st(w).FrameNo, before.FrameNo);
    QCOMPARE(Probe::st(w).DirX, before.DirX);
}

void TestSettings::entriesTypedAndButtonsClickedThroughRealWidgets()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    auto retype = [](QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    };
    retype(Child<QComboBox>(w, "cmbHoriz")->lineEdit(), QStringLiteral("12abc"));
    retype(Child<QComboBox>(w, "cmbVert")->lineEdit(), QStringLiteral("1 0"));
    retype(Child<QLineEdit>(w, "txtInter"), QStringLiteral("&h1F4"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);

    QVERIFY(world.msgbox.calls.isEmpty());
    QCOMPARE(Probe::st(w).StepX, std::int16_t(12));
    QCOMPARE(Probe::st(w).StepY, std::int16_t(10));
    QCOMPARE(Probe::flight(w).timerInterval(), 500);
    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->currentText(), QStringLiteral("12abc"));
    QCOMPARE(Child<QComboBox>(w, "cmbVert")->currentText(), QStringLiteral("1 0"));
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), QStringLiteral("&h1F4"));

    retype(Child<QComboBox>(w, "cmbHoriz")->lineEdit(), QStringLiteral("31"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);
    QCOMPARE(Titles(world.msgbox), QStringList{HorizTitle});
    QCOMPARE(Probe::st(w).StepX, std::int16_t(12));

    QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    QCOMPARE(Child<QLabel>(w, "lblChange")->text(), QStringLiteral("停止中"));
    QVERIFY(!Probe::flight(w).timerEnabled());
    QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    QCOMPARE(Child<QLabel>(w, "lblChange")->text(), QStringLiteral("作動中"));
    QVERIFY(Probe::flight(w).isTicking());
}

void TestSettings::fullWidthInputFromAnInputMethodIsRead()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    Child<QComboBox>(w, "cmbHoriz")->lineEdit()->clear();
    Child<QComboBox>(w, "cmbVert")->lineEdit()->clear();
    Child<QLineEdit>(w, "txtInter")->clear();
    Commit(Child<QComboBox>(w, "cmbHoriz")->lineEdit(), QStringLiteral("１．５"));
    Commit(Child<QComboBox>(w, "cmbVert")->lineEdit(), QStringLiteral("＆Ｈ１Ｅ"));
    Commit(Child<QLineEdit>(w, "txtInter"), QStringLiteral("　７５０"));
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), QStringLiteral("　７５０"));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);

    QVERIFY(world.msgbox.calls.isEmpty());
    QCOMPARE(Probe::st(w).StepX, std::int16_t(2));
    QCOMPARE(Probe::st(w).StepY, std::int16_t(30));
    QCOMPARE(Probe::flight(w).timerInterval(), 750);
}

// Whatever lands in the three entries, the program keeps going and the label
// tells the truth: running means ticking with an interval in range.
void TestSettings::noTypedTextCrashesOrHidesTheFlightState()
{
    const QStringList pieces = {
        "0",  "1",  "2",  "5", "9",  "１",   "５",    "０",     ".",   "．", "+",
        "-",  "－", "＋", "e", "E",  "d",    "D",     "Ｅ",     "ｅ",  "&",  "＆",
        "H",  "h",  "O",  "o", "Ｈ", "F",    "a",     "z",      " ",   "\t", "\n",
        "\r", "　", "٣",  "😀", "ー", "9999", "1e400", "&HFFFF", "0.5", "-0", "e-999999999999",
    };
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    constexpr quint32 seed = 20240611;
    qInfo("settings: random texts from seed %u", seed);
    QRandomGenerator gen(seed);
    auto randomText = [&] {
        QString text;
        const int count = gen.bounded(12) == 0 ? 600 : gen.bounded(16);
        for (int i = 0; i < count; ++i)
            text += pieces[gen.bounded(int(pieces.size()))];
        return text;
    };

    for (int round = 0; round < 1500; ++round) {
        if (round == 750)
            QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
        const QString h = randomText(), v = randomText(), i = randomText();
        Type(w, h, v, i);
        world.msgbox.calls.clear();
        QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);
        const QString where = QStringLiteral("entries [%1] [%2] [%3]").arg(h.left(40), v.left(40), i.left(40));
        const QByteArray msg = where.toUtf8();
        QVERIFY2(world.msgbox.calls.size() <= 3, msg.constData());
        QVERIFY2(Probe::st(w).StepX >= 0 && Probe::st(w).StepX <= 30, msg.constData());
        QVERIFY2(Probe::st(w).StepY >= 0 && Probe::st(w).StepY <= 60, msg.constData());
        QVERIFY2(Probe::flight(w).timerInterval() >= 1 && Probe::flight(w).timerInterval() <= 3000, msg.constData());
        const bool running = round < 750;
        QCOMPARE(Probe::st(w).Running != 0, running);
        QCOMPARE(Probe::flight(w).isTicking(), running);
        QCOMPARE(Child<QLabel>(w, "lblChange")->text(), running ? QStringLiteral("作動中") : QStringLiteral("停止中"));
        QVERIFY2(Child<QComboBox>(w, "cmbHoriz")->currentText() == h && Child<QLineEdit>(w, "txtInter")->text() == i,
                 msg.constData());
    }
    QVERIFY(world.endCalls.isEmpty());
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
