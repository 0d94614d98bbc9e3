// Start-up, the main window as it first appears, and the closing sequence.
#include "LoadedWindow.h"
#include "Probe.h"
#include "bytesupport.h"
#include "fakes.h"
#include "framesupport.h"

#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"
#include "platform/SingleInstance.h"
#include "platform/WindowFinder.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::SND_ASYNC;
using platform::SND_LOOP;
using platform::SND_NODEFAULT;

namespace {

// A program directory of our own holding copies of the built data, so a test
// can spoil one file.
struct DataCopy {
    QTemporaryDir dir;
    DataCopy()
    {
        for (const char* sub : {"images", "sounds"}) {
            QDir().mkpath(dir.filePath(QString::fromLatin1(sub)));
        }
        for (const char* file : {"images/kite.bmp", "images/back.bmp", "sounds/Wave22.wav", "sounds/Over.wav"}) {
            const QString name = QString::fromLatin1(file);
            QFile::copy(BuildDataDir() + name, dir.filePath(name));
        }
    }
    QString path(const QString& rel) const { return dir.filePath(rel); }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A 24-bit BMP header for a picture of w x h, followed by `pixels` bytes.
QByteArray bmp(qint32 w, qint32 h, int pixels)
{
    QByteArray b("BM");
    auto [u32, u16] = LittleEndianWriters(b);
    u32(54 + pixels);
    u32(0);
    u32(54);
    u32(40);
    u32(quint32(w));
    u32(quint32(h));
    u16(1);
    u16(24);
    u32(0);
    u32(quint32(pixels));
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    b.append(QByteArray(pixels, '\x40'));
    return b;
}

// A bitmap of w x h run-length coded 8-bit pixels whose data ends the picture at
// once: a few bytes, whatever the size it claims.
QByteArray rle8(qint32 w, qint32 h)
{
    QByteArray b("BM");
    auto [u32, u16] = LittleEndianWriters(b);
    const quint32 offset = 14 + 40 + 256 * 4;
    const QByteArray data("\x00\x01", 2);  // end of bitmap
    u32(offset + data.size());
    u32(0);
    u32(offset);
    u32(40);
    u32(quint32(w));
    u32(quint32(h));
    u16(1);
    u16(8);
    u32(1);  // run-length coded
    u32(quint32(data.size()));
    u32(2835);
    u32(2835);
    u32(256);
    u32(0);
    for (int i = 0; i < 256; ++i)
        u32(quint32(i * 0x010101));
    b.append(data);
    return b;
}

QByteArray builtFile(const QString& rel)
{
    QFile f(BuildDataDir() + rel);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestStartup : public LoadedWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void startStateMatchesTheTable();
    void layoutToThePixel();
    void fontsFollowScreenResolution_data();
    void fontsFollowScreenResolution();
    void textsAndSettingsFields();
    void menuBarAsDefined();
    void soundsAtStartInOrder();
    void focusStartsOnTheDisplay();
    void displayEmptyUntilFirstTick();
    void appDirHasExactlyOneSeparator_data();
    void appDirHasExactlyOneSeparator();
    void secondCopyIsRefused();
    void singleCopyClaim();
    void claimIsFreeOnceItsHolderIsKilled();
    void claimThatCannotBeMadeLetsTheCopyStart_data();
    void claimThatCannotBeMadeLetsTheCopyStart();
    void claimsLiveOnlyInADirectoryOfTheUsersAlone_data();
    void claimsLiveOnlyInADirectoryOfTheUsersAlone();
    void programInTheRootReadsItsDataWithoutADoubledSeparator();
    void badPictureEndsStartUp_data();
    void badPictureEndsStartUp();
    void smallPicturesAreGrownWithWhite();
    void largerBackgroundIsCutAtTheDisplay_data();
    void largerBackgroundIsCutAtTheDisplay();
    void closingWithMusicStopsThenChimes();
    void closingWithoutMusicIsSilent();
    void closingClosesSecondaryWindows();
    void windowSearchNeedsTheExactCaption();
    void menuShortcutsWinOverEditors();
};

void TestStartup::initTestCase()
{
    platform::InstallFonts();
}

void TestStartup::startStateMatchesTheTable()
{
    frmMain& w = m_loaded->w;
    const auto& s = Probe::st(w);
    QCOMPARE(s.KiteX, std::int16_t(100));
    QCOMPARE(s.KiteY, std::int16_t(100));
    QCOMPARE(s.StepX, std::int16_t(1));
    QCOMPARE(s.StepY, std::int16_t(1));
    QCOMPARE(s.DirX, std::int16_t(1));
    QCOMPARE(s.DirY, std::int16_t(1));
    QCOMPARE(s.GrabX, std::int16_t(0));
    QCOMPARE(s.GrabY, std::int16_t(0));
    QCOMPARE(s.FrameNo, std::int16_t(1));
    QCOMPARE(s.Dragging, std::int16_t(0));
    QCOMPARE(s.KeyStep, std::int16_t(5));
    QCOMPARE(s.Running, std::int16_t(-1));
    QCOMPARE(Probe::BgmOn(w), std::int16_t(-1));
    QCOMPARE(Probe::AppDir(w), BuildDataDir());
    QVERIFY(Probe::flight(w).timerEnabled());
    QCOMPARE(Probe::flight(w).timerInterval(), 100);
    QCOMPARE(w.windowTitle(), QStringLiteral("Aelorin"));
}

void TestStartup::layoutToThePixel()
{
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QCOMPARE(w.centralWidget()->size(), QSize(630, 370));
    QCOMPARE(w.centralWidget()->y(), w.menuBar()->height());
    QCOMPARE(w.size(), QSize(630, 370 + w.menuBar()->height()));
    // Not resizable.
    QCOMPARE(w.minimumSize(), w.maximumSize());

    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->geometry(), QRect(10, 10, 380, 350));
    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->geometry(), QRect(400, 10, 220, 40));
    QCOMPARE(Child<StyledLabel>(w, "lblExpla")->geometry(), QRect(410, 60, 220, 70));
    QCOMPARE(Child<QLabel>(w, "lblChange")->geometry(), QRect(440, 140, 50, 20));
    QCOMPARE(Child<QPushButton>(w, "cmdChange")->geometry(), QRect(530, 135, 70, 30));
    QCOMPARE(Child<QGroupBox>(w, "fraParam")->geometry(), QRect(400, 170, 220, 190));
    QCOMPARE(LabelFor(w, "cmbHoriz")->geometry(), QRect(30, 30, 60, 20));
    QCOMPARE(LabelFor(w, "cmbVert")->geometry(), QRect(30, 70, 60, 20));
    QCOMPARE(LabelFor(w, "txtInter")->geometry(), QRect(30, 110, 60, 20));
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->geometry(), QRect(110, 110, 60, 20));
    QCOMPARE(Child<QPushButton>(w, "cmdSet")->geometry(), QRect(80, 150, 50, 30));
    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->pos(), QPoint(110, 30));
    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->width(), 60);
    QCOMPARE(Child<QComboBox>(w, "cmbVert")->pos(), QPoint(110, 70));
    QCOMPARE(Child<QComboBox>(w, "cmbVert")->width(), 60);

    // Centred on the whole screen.
    const QRect screen = w.screen()->geometry();
    const QRect frame = w.frameGeometry();
    QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);

    // The tab order visits the display, the buttons and the entries.
    QList<QWidget*> order;
    QWidget* at = Child<widgets::PictureBox>(w, "picMain");
    for (int i = 0; i < 6; ++i) {
        order.append(at);
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || !at->isVisible() || at->focusProxy())
            at = at->nextInFocusChain();
    }
    QCOMPARE(order, (QList<QWidget*>{Child<widgets::PictureBox>(w, "picMain"), Child<QPushButton>(w, "cmdChange"),
                                     Child<QComboBox>(w, "cmbHoriz"), Child<QComboBox>(w, "cmbVert"),
                                     Child<QPushButton>(w, "cmdSet"), Child<QLineEdit>(w, "txtInter")}));
}

void TestStartup::fontsFollowScreenResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("title");
    QTest::addColumn<int>("small");  // the explanation and the controls
    QTest::addColumn<int>("entry");  // the interval entry keeps the default size
    QTest::newRow("96 dpi") << 96 << 26 << 9 << 9;
    QTest::newRow("120 dpi") << 120 << 20 << 7 << 9;
}

// Each run sees one resolution: the test list runs this once more at 120 dpi.
void TestStartup::fontsFollowScreenResolution()
{
    QFETCH(int, dpi);
    QFETCH(int, title);
    QFETCH(int, small);
    QFETCH(int, entry);
    FakeWorld world;
    frmMain w(world.services());
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Loaded);

    const int screenDpi = qRound(w.screen()->logicalDotsPerInchX());
    // A resolution asked for must be the one the screen has, or the run checks nothing new.
    if (qEnvironmentVariableIsSet("QT_FONT_DPI"))
        QCOMPARE(screenDpi, qEnvironmentVariableIntValue("QT_FONT_DPI"));
    if (screenDpi != dpi)
        QSKIP(qPrintable(QStringLiteral("this run's screen is at %1 dpi").arg(screenDpi)));

    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->FontSize(), double(title));
    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->font().pointSizeF(), double(title));
    QCOMPARE(Child<StyledLabel>(w, "lblExpla")->FontSize(), double(small));
    for (QWidget* c : std::initializer_list<QWidget*>{
             LabelFor(w, "cmbHoriz"), LabelFor(w, "cmbVert"), LabelFor(w, "txtInter"), Child<QLabel>(w, "lblChange"),
             Child<QGroupBox>(w, "fraParam"), Child<QPushButton>(w, "cmdChange"), Child<QPushButton>(w, "cmdSet"),
             Child<QComboBox>(w, "cmbHoriz"), Child<QComboBox>(w, "cmbVert")})
        QCOMPARE(c->font().pointSize(), small);
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->font().pointSize(), entry);

    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->FontName(), QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(Child<StyledLabel>(w, "lblTitle")->FontItalic());
    QVERIFY(!Child<StyledLabel>(w, "lblTitle")->FontBold());
    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->ForeColor(), 0x00FF0000u);
}

void TestStartup::textsAndSettingsFields()
{
    frmMain& w = m_loaded->w;
    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->Caption(), QStringLiteral("Aelorin"));
    const QString expla = Child<StyledLabel>(w, "lblExpla")->Caption();
    QCOMPARE(expla.count(QStringLiteral("\r\n")), 4);
    QVERIFY(!expla.endsWith(QLatin1Char('\n')));
    QVERIFY(expla.startsWith(QStringLiteral("１　凧が空を舞います\r\n２　")));
    QVERIFY(expla.endsWith(QStringLiteral("\r\n　　もっと速く動かせます")));
    QCOMPARE(Child<QLabel>(w, "lblChange")->text(), QStringLiteral("作動中"));
    QCOMPARE(Child<QLabel>(w, "lblChange")->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(Child<QLabel>(w, "lblChange")->palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(Child<QLabel>(w, "lblChange")->autoFillBackground());

    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->currentText(), QStringLiteral(" 1"));
    QCOMPARE(Child<QComboBox>(w, "cmbVert")->currentText(), QStringLiteral(" 1"));
    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->currentIndex(), -1);
    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->count(), 5);
    QCOMPARE(Child<QComboBox>(w, "cmbVert")->itemText(4), QStringLiteral("10"));
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), QStringLiteral(" 100"));
    QCOMPARE(Child<QGroupBox>(w, "fraParam")->title(), QStringLiteral("動きの調節"));
    QCOMPARE(Child<QPushButton>(w, "cmdChange")->text(), QStringLiteral("開始/停止"));
    QCOMPARE(Child<QPushButton>(w, "cmdSet")->text(), QStringLiteral("OK"));
}

void TestStartup::menuBarAsDefined()
{
    frmMain& w = m_loaded->w;

    const QList<QAction*> menus = w.menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus[0]->text(), QStringLiteral("文字(&N)"));
    QCOMPARE(menus[1]->text(), QStringLiteral("ＢＧＭ(&B)"));
    QCOMPARE(menus[2]->text(), QStringLiteral("情報(&I)"));

    struct Item {
        QAction* action;
        const char* caption;
        const char* keys;
    };
    const Item items[] = {
        {Child<QAction>(w, "mnuNameItem", 0), "タイトル(&T)...", "Ctrl+T"},
        {Child<QAction>(w, "mnuNameItem", 1), "説明文(&S)...", "Ctrl+S"},
        {Child<QAction>(w, "mnuBgmItem", 0), "演奏中(&P)", "Ctrl+P"},
        {Child<QAction>(w, "mnuBgmItem", 1), "停止中(&N)", "Ctrl+N"},
        {Child<QAction>(w, "mnuHelp"), "ヘルプ(&H)...", "Ctrl+H"},
        {Child<QAction>(w, "mnuVer"), "バージョン(&V)...", "Ctrl+V"},
    };
    for (const Item& item : items) {
        QCOMPARE(item.action->text(), QString::fromUtf8(item.caption));
        QCOMPARE(item.action->shortcut(), QKeySequence(QString::fromLatin1(item.keys)));
    }
    QVERIFY(Child<QAction>(w, "mnuBgmItem", 0)->isChecked());
    QVERIFY(!Child<QAction>(w, "mnuBgmItem", 1)->isChecked());
}

void TestStartup::soundsAtStartInOrder()
{
    FakeWorld& world = m_loaded->world;
    const QList<SoundCall> expected = {
        {BuildDataDir() + QStringLiteral("sounds/Wave22.wav"), SND_NODEFAULT},
        {BuildDataDir() + QStringLiteral("sounds/Over.wav"), SND_ASYNC | SND_NODEFAULT | SND_LOOP},
    };
    QCOMPARE(world.sound.calls, expected);
    QVERIFY(world.msgbox.calls.isEmpty());
}

void TestStartup::focusStartsOnTheDisplay()
{
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Child<widgets::PictureBox>(w, "picMain")));
}

void TestStartup::displayEmptyUntilFirstTick()
{
    frmMain& w = m_loaded->w;
    TestClock& clock = m_loaded->clock;
    Probe::driveClock(w, clock);
    QImage blank(380, 350, QImage::Format_RGB32);
    blank.fill(Qt::white);
    // Up to the moment the first tick falls due.
    RunClock(w, clock, clock.now + std::chrono::milliseconds(99));
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), blank);

    RunClock(w, clock, clock.now + std::chrono::milliseconds(1));
    // Frame 1 at (100, 100), drawn from the loaded pictures.
    const QString difference =
        FirstDifference(Child<widgets::PictureBox>(w, "picMain")->image(),
                        ExpectedFrame(Probe::surfaces(w).picBack, Probe::surfaces(w).picKite, 1, 100, 100));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QVERIFY(Child<widgets::PictureBox>(w, "picMain")->image() != blank);
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(101));
    QCOMPARE(Probe::st(w).FrameNo, std::int16_t(2));
}

// clang-format off
void TestStartup::appDirHasExactlyOneSeparator_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("appDir");
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("plain directory") << "/opt/Toys/Kite" << "/opt/Toys/Kite/";
    QTest::newRow("already ends in one") << "/opt/Toys/" << "/opt/Toys/";
    QTest::newRow("spaces and Japanese") << "/home/u/凧 あそび" << "/home/u/凧 あそび/";
}
// clang-format on

void TestStartup::appDirHasExactlyOneSeparator()
{
    QFETCH(QString, programDir);
    QFETCH(QString, appDir);
    QCOMPARE(platform::AppDirFrom(programDir), appDir);
}

// The program in the root directory names its sprite sheet /images/kite.bmp;
// the file is not there (nothing is written to the root), so the report names
// the path it was read from.
void TestStartup::programInTheRootReadsItsDataWithoutADoubledSeparator()
{
    if (QFile::exists(QStringLiteral("/images/kite.bmp")))
        QSKIP("this machine has a /images/kite.bmp of its own");
    FakeWorld world;
    world.programDir = QStringLiteral("/");
    frmMain w(world.services());
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::PictureFailed);
    QCOMPARE(Probe::AppDir(w), QStringLiteral("/"));
    QCOMPARE(world.msgbox.calls.size(), 1);
    const QString text = world.msgbox.calls[0].text;
    QVERIFY2(text.contains(QStringLiteral("\r\n/images/kite.bmp\r\n")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("//")));
}

void TestStartup::secondCopyIsRefused()
{
    FakeWorld world;
    world.otherCopyRunning = true;
    frmMain w(world.services());
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Refused);
    QCOMPARE(world.msgbox.calls.size(), 1);
    QCOMPARE(world.msgbox.calls[0].text, QStringLiteral("二重起動はできません"));
    QCOMPARE(world.msgbox.calls[0].title, QStringLiteral("警告"));
    QCOMPARE(world.msgbox.calls[0].style, 16);
    QVERIFY(world.sound.calls.isEmpty());
    QVERIFY(!w.isVisible());
}

void TestStartup::singleCopyClaim()
{
    const QString key = QStringLiteral("aelorin-test-") + QUuid::createUuid().toString(QUuid::Id128);
    auto first = std::make_unique<platform::SingleInstance>(key);
    QVERIFY(!first->PrevInstance());
    QVERIFY(!first->PrevInstance());  // asking again does not find itself
    platform::SingleInstance second(key);
    QVERIFY(second.PrevInstance());
    first.reset();  // the running copy ends
    platform::SingleInstance third(key);
    QVERIFY(!third.PrevInstance());
    // Another desktop is another claim.
    const QByteArray display = qgetenv("DISPLAY"), wayland = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":7");
    const QString onSeven = platform::SingleInstance::DesktopKey(QStringLiteral("Aelorin"));
    qputenv("DISPLAY", ":8");
    const QString onEight = platform::SingleInstance::DesktopKey(QStringLiteral("Aelorin"));
    qputenv("DISPLAY", display);
    if (!wayland.isEmpty())
        qputenv("WAYLAND_DISPLAY", wayland);
    QVERIFY(onSeven.startsWith(QStringLiteral("Aelorin-")));
    QVERIFY(onSeven != onEight);
}

// A copy that crashes or is killed cannot clean up after itself: its claim must
// go with the process, or the program could never be started again.
void TestStartup::claimIsFreeOnceItsHolderIsKilled()
{
    const QString key = QStringLiteral("aelorin-test-") + QUuid::createUuid().toString(QUuid::Id128);
    int ready[2];
    QCOMPARE(pipe(ready), 0);
    const pid_t holder = fork();
    QVERIFY(holder >= 0);
    if (holder == 0) {
        close(ready[0]);
        platform::SingleInstance claim(key);
        const char held = claim.PrevInstance() ? 'n' : 'y';
        if (write(ready[1], &held, 1) != 1)
            _exit(1);
        for (;;)
            pause();
    }
    close(ready[1]);
    struct Reaper {
        pid_t pid;
        int status = 0;
        void killNow()
        {
            if (pid > 0 && kill(pid, SIGKILL) == 0)
                waitpid(pid, &status, 0);
            pid = 0;
        }
        ~Reaper() { killNow(); }
    } reaper{holder};
    char held = 0;
    const bool answered = read(ready[0], &held, 1) == 1;
    close(ready[0]);
    QVERIFY(answered);
    QCOMPARE(held, 'y');
    QVERIFY(platform::SingleInstance(key).PrevInstance());  // the other process holds it

    reaper.killNow();
    QVERIFY(WIFSIGNALED(reaper.status) && WTERMSIG(reaper.status) == SIGKILL);
    platform::SingleInstance next(key);
    QVERIFY(!next.PrevInstance());
}

namespace {
QStringList g_reports;
void RecordReport(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    g_reports << QString::fromLatin1(context.category) + QStringLiteral(": ") + text;
}
}  // namespace

void TestStartup::claimThatCannotBeMadeLetsTheCopyStart_data()
{
    QTest::addColumn<bool>("noDescriptorLeft");
    QTest::addColumn<int>("keyLength");
    QTest::newRow("no descriptor left") << true << 40;
    QTest::newRow("name longer than a file name may be") << false << 300;
}

// Only another copy holding the claim refuses a start; where the claim cannot be
// made at all the program runs without it.
void TestStartup::claimThatCannotBeMadeLetsTheCopyStart()
{
    QFETCH(bool, noDescriptorLeft);
    QFETCH(int, keyLength);
    const QString key = (QStringLiteral("aelorin-test-") + QUuid::createUuid().toString(QUuid::Id128))
                            .leftJustified(keyLength, QLatin1Char('x'));
    platform::SingleInstance claim(key);
    rlimit limits{};
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &limits), 0);
    if (noDescriptorLeft) {
        const int lowestFree = open("/dev/null", O_RDONLY);
        QVERIFY(lowestFree >= 0);
        close(lowestFree);
        rlimit none = limits;
        none.rlim_cur = rlim_t(lowestFree);
        QCOMPARE(setrlimit(RLIMIT_NOFILE, &none), 0);
    }
    g_reports.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("aelorin.desktop.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(RecordReport);
    const bool refused = claim.PrevInstance();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    setrlimit(RLIMIT_NOFILE, &limits);
    QVERIFY(!refused);
    QCOMPARE(g_reports.size(), 1);
    QVERIFY2(g_reports[0].startsWith(QStringLiteral("aelorin.desktop: cannot ")), qPrintable(g_reports[0]));
}

// clang-format off
void TestStartup::claimsLiveOnlyInADirectoryOfTheUsersAlone_data()
{
    // What lies at XDG_RUNTIME_DIR and at $TMPDIR/aelorin-<uid> first: nothing, a
    // directory of this user's with this mode, a link to a private one, a file.
    QTest::addColumn<QString>("runtime");   // or unset, or relative (to a private one)
    QTest::addColumn<QString>("fallback");  // or none: TMPDIR is missing
    QTest::addColumn<QString>("chosen");    // runtime, fallback, or none: no claims
    QTest::addColumn<QString>("said");      // why none, in the one line logged
    QTest::newRow("private runtime directory")            << "700"      << ""     << "runtime"  << "";
    QTest::newRow("runtime directory the group may read") << "750"      << ""     << "fallback" << "";
    QTest::newRow("runtime directory others may enter")   << "701"      << ""     << "fallback" << "";
    QTest::newRow("runtime directory a link")             << "link"     << ""     << "fallback" << "";
    QTest::newRow("runtime directory a file")             << "file"     << ""     << "fallback" << "";
    QTest::newRow("runtime directory unset")              << "unset"    << ""     << "fallback" << "";
    QTest::newRow("runtime directory relative")           << "relative" << ""     << "fallback" << "";
    QTest::newRow("fallback there and private")           << "unset"    << "700"  << "fallback" << "";
    QTest::newRow("fallback open to the group")           << "unset"    << "770"  << "none" << "is open to other users";
    QTest::newRow("fallback open to all")                 << "750"      << "777"  << "none" << "is open to other users";
    QTest::newRow("fallback a link")                      << "unset"    << "link" << "none" << "is a link or not a";
    QTest::newRow("fallback a file")                      << "unset"    << "file" << "none" << "is a link or not a";
    QTest::newRow("fallback cannot be made")              << "unset"    << "none" << "none" << "cannot make";
}
// clang-format on

namespace {
bool Lay(const QString& path, const QString& what)
{
    const QByteArray name = QFile::encodeName(path);
    if (what == QLatin1String("link"))
        return mkdir(name + ".target", S_IRWXU) == 0 && symlink(name + ".target", name) == 0;
    if (what == QLatin1String("file"))
        return QFile(path).open(QIODevice::WriteOnly);
    bool mode = false;
    const uint bits = what.toUInt(&mode, 8);
    return !mode || (mkdir(name, 0) == 0 && chmod(name, bits) == 0);
}
}  // namespace

// Only a directory of this user's that no one else may enter holds the claims,
// and it is used as it was checked.
void TestStartup::claimsLiveOnlyInADirectoryOfTheUsersAlone()
{
    QFETCH(QString, runtime);
    QFETCH(QString, fallback);
    QFETCH(QString, chosen);
    QFETCH(QString, said);
    QTemporaryDir base;
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR"), oldTemp = qgetenv("TMPDIR");
    const QString oldCurrent = QDir::currentPath(), temp = base.filePath(QStringLiteral("tmp"));
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        qputenv("TMPDIR", oldTemp);
        QDir::setCurrent(oldCurrent);
    });
    const QString run = base.filePath(QStringLiteral("run")), own = temp + QStringLiteral("/aelorin-%1").arg(geteuid());
    const bool relative = runtime == QLatin1String("relative"), none = fallback == QLatin1String("none");
    QVERIFY(QDir::setCurrent(base.path()) && QDir().mkdir(temp) && (none || Lay(own, fallback)));
    QVERIFY(Lay(run, relative ? QStringLiteral("700") : runtime));
    qputenv("TMPDIR", QFile::encodeName(none ? own : temp));
    qputenv("XDG_RUNTIME_DIR", relative ? QByteArray("run") : QFile::encodeName(run));
    if (runtime == QLatin1String("unset"))
        qunsetenv("XDG_RUNTIME_DIR");

    g_reports.clear();
    const QtMessageHandler previous = qInstallMessageHandler(RecordReport);
    const int dir = platform::OpenPrivateRuntimeDir();
    qInstallMessageHandler(previous);
    const auto closing = qScopeGuard([dir] { close(dir); });
    struct stat opened {
    }, named{};
    if (chosen == QLatin1String("none")) {
        QCOMPARE(dir, -1);
        QCOMPARE(g_reports.size(), 1);
        QVERIFY2(g_reports[0].startsWith(QStringLiteral("aelorin.desktop: ")) && g_reports[0].contains(said),
                 qPrintable(g_reports[0]));
    } else {
        QVERIFY2(g_reports.isEmpty(), qPrintable(g_reports.join(QLatin1Char('\n'))));
        QVERIFY(fstat(dir, &opened) == 0
                && lstat(QFile::encodeName(chosen == QLatin1String("runtime") ? run : own), &named) == 0);
        QCOMPARE(opened.st_ino, named.st_ino);
        QCOMPARE(opened.st_mode & 07777u, 0700u);
        // A program started from this one (the help viewer) inherits none of it.
        QCOMPARE(fcntl(dir, F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    }
}

// clang-format off
void TestStartup::badPictureEndsStartUp_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("missing");      // no file at all
    QTest::addColumn<qint64>("sparseSize");  // when above 0, the file is grown to this length

    // Every fault, for each of the two bitmaps.
    for (const auto& [file, name] : {std::pair{"images/kite.bmp", "sprite sheet"},
                                     std::pair{"images/back.bmp", "background"}}) {
        const QString rel = QString::fromLatin1(file);
        const QByteArray good = builtFile(rel);
        // A copy: clang before 16 cannot capture a structured binding itself.
        auto row = [picture = name](const char* fault) -> QTestData& {
            return QTest::newRow(
                qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(picture), QLatin1String(fault))));
        };
        QByteArray header("BM");
        header.append(QByteArray(60, '\0'));
        row("missing") << rel << QByteArray() << true << qint64(0);
        row("empty") << rel << QByteArray() << false << qint64(0);
        row("garbage") << rel << QByteArray(4000, '\x5a') << false << qint64(0);
        row("truncated header") << rel << header << false << qint64(0);
        // The bitmap decoder would hand back the missing rows as whatever the
        // memory held.
        row("cut in the middle of its pixels") << rel << good.left(good.size() / 2) << false << qint64(0);
        row("cut one byte short") << rel << good.left(good.size() - 1) << false << qint64(0);
        row("claims 100000 x 100000") << rel << bmp(100000, 100000, 64) << false << qint64(0);
        row("claims negative width") << rel << bmp(-180, 120, 64) << false << qint64(0);
        // Small as a picture, but grown to the surface's width it would take
        // gigabytes.
        row("one pixel wide and 16 million high") << rel << rle8(1, 16'000'000) << false << qint64(0);
        row("followed by 3 GB") << rel << good << false << qint64(3) * 1024 * 1024 * 1024;
    }
}
// clang-format on

// A picture smaller than the compositor reads is shown on white, not refused.
void TestStartup::smallPicturesAreGrownWithWhite()
{
    DataCopy data;
    writeFile(data.path(QStringLiteral("images/kite.bmp")), bmp(2, 2, 16));
    FakeWorld world;
    world.programDir = data.dir.path();
    TestClock clock;
    frmMain w(world.services());
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Loaded);
    QCOMPARE(Probe::surfaces(w).picKite.size(), QSize(180, 120));
    QCOMPARE(Probe::surfaces(w).picKite.pixel(0, 0), qRgb(0x40, 0x40, 0x40));
    QCOMPARE(Probe::surfaces(w).picKite.pixel(100, 100), qRgb(255, 255, 255));
    Probe::driveClock(w, clock);
    WakeNext(w, clock);  // composing from it is harmless
}

void TestStartup::largerBackgroundIsCutAtTheDisplay_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("the display's size") << QSize(380, 350);
    QTest::newRow("wider") << QSize(400, 350);
    QTest::newRow("wider and taller") << QSize(413, 420);
}

// A background larger than the display shows its top left corner, row by row as
// it lies in the picture.
void TestStartup::largerBackgroundIsCutAtTheDisplay()
{
    QFETCH(QSize, size);
    DataCopy data;
    QImage back(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            back.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 64 + (y / 256) * 128));
    }
    QVERIFY(back.save(data.path(QStringLiteral("images/back.bmp")), "BMP"));
    FakeWorld world;
    world.programDir = data.dir.path();
    TestClock clock;
    frmMain w(world.services());
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Loaded);
    const QImage sheet(BuildDataDir() + QStringLiteral("images/kite.bmp"));
    const mdlAelor::FlightState shown = Probe::st(w);
    Probe::driveClock(w, clock);
    WakeNext(w, clock);
    const QString difference = FirstDifference(Child<widgets::PictureBox>(w, "picMain")->image(),
                                               ExpectedFrame(back, sheet, shown.FrameNo, shown.KiteX, shown.KiteY));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestStartup::badPictureEndsStartUp()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(bool, missing);
    QFETCH(qint64, sparseSize);

    DataCopy data;
    if (missing)
        QVERIFY(QFile::remove(data.path(file)));
    else
        writeFile(data.path(file), contents);
    if (sparseSize > 0)
        QVERIFY(QFile::resize(data.path(file), sparseSize));  // sparse: cheap to make

    FakeWorld world;
    world.programDir = data.dir.path();
    frmMain w(world.services());
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::PictureFailed);
    QCOMPARE(world.msgbox.calls.size(), 1);
    QCOMPARE(world.msgbox.calls[0].style, 16);
    QVERIFY2(world.msgbox.calls[0].text.contains(data.path(file)), qPrintable(world.msgbox.calls[0].text));
    QVERIFY(w.loadError().contains(file));
    // The steps after the failed load do not run: no sound, no texts.
    QVERIFY(world.sound.calls.isEmpty());
    QVERIFY(Child<QLabel>(w, "lblChange")->text().isEmpty());
}

void TestStartup::closingWithMusicStopsThenChimes()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    w.show();
    world.sound.calls.clear();
    QVERIFY(w.close());
    const QList<SoundCall> expected = {
        {std::nullopt, SND_ASYNC | SND_NODEFAULT | SND_LOOP},
        {BuildDataDir() + QStringLiteral("sounds/Wave22.wav"), SND_NODEFAULT},
    };
    QCOMPARE(world.sound.calls, expected);
}

void TestStartup::closingWithoutMusicIsSilent()
{
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    w.show();
    Child<QAction>(w, "mnuBgmItem", 1)->trigger();
    world.sound.calls.clear();
    QVERIFY(w.close());
    QVERIFY(world.sound.calls.isEmpty());
}

void TestStartup::closingClosesSecondaryWindows()
{
    frmMain& w = m_loaded->w;
    w.show();
    for (const char* item : {"mnuNameItem0", "mnuNameItem1", "mnuVer"})
        Child<QAction>(w, item)->trigger();
    QVERIFY(platform::FindWindow(QStringLiteral("タイトルの書式")));

    QVERIFY(w.close());
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!Probe::propTitle(w));
    QVERIFY(!Probe::propExpla(w));
    QVERIFY(!Probe::about(w));
    QVERIFY(!platform::FindWindow(QStringLiteral("説明文の書式")));
}

void TestStartup::windowSearchNeedsTheExactCaption()
{
    QWidget box;
    box.setWindowTitle(QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報"));
    box.show();
    QCOMPARE(platform::FindWindow(QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報")), &box);
    QVERIFY(!platform::FindWindow(QStringLiteral("Aelorin のﾊﾞｰｼﾞｮﾝ情報")));
    QVERIFY(!platform::FindWindow(QStringLiteral("Aelorinのバージョン情報")));  // full-width katakana
}

// Ctrl+V in an entry chooses the version item instead of pasting.
void TestStartup::menuShortcutsWinOverEditors()
{
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    int chosen = 0;
    connect(Child<QAction>(w, "mnuVer"), &QAction::triggered, &w, [&chosen] { ++chosen; });
    for (QWidget* editor :
         std::initializer_list<QWidget*>{Child<QLineEdit>(w, "txtInter"), Child<QComboBox>(w, "cmbHoriz")->lineEdit(),
                                         Child<widgets::PictureBox>(w, "picMain")}) {
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(chosen, 3);
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), QStringLiteral(" 100"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
