// The tick, the bounce and the compositor, without any window.
#include "app/mdlAelor.h"
#include "platform/AnimTimer.h"
#include "platform/Raster.h"

#include <QSignalSpy>
#include <QTest>

using mdlAelor::FlightState;

namespace {

constexpr QRgb Sky = 0xFF2040A0;
constexpr QRgb KiteInk = 0xFFC01020;

// A sprite sheet whose frame n shows a solid kite block that leaves a one-pixel
// transparent rim, tinted by n so that each frame can be told apart.
QImage testSheet()
{
    QImage sheet(mdlAelor::SheetWidth, mdlAelor::SheetHeight, platform::SurfaceFormat);
    sheet.fill(Qt::white);
    for (int n = 0; n < mdlAelor::FrameCount; ++n) {
        for (int y = 1; y < 59; ++y) {
            for (int x = 1; x < 29; ++x) {
                sheet.setPixel(n * 30 + x, y, KiteInk + static_cast<QRgb>(n));
                sheet.setPixel(n * 30 + x, 60 + y, 0xFFFFFFFF);
            }
        }
        // The rim of the mask row is black: the background shows there.
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 30; ++x) {
                if (x == 0 || x == 29 || y == 0 || y == 59)
                    sheet.setPixel(n * 30 + x, 60 + y, 0xFF000000);
            }
        }
    }
    return sheet;
}

mdlAelor::Surfaces testSurfaces()
{
    mdlAelor::Surfaces s;
    s.picBack = QImage(mdlAelor::DisplayWidth, mdlAelor::DisplayHeight, platform::SurfaceFormat);
    s.picBack.fill(Sky);
    s.picKite = testSheet();
    s.picWork = QImage(mdlAelor::DisplayWidth, mdlAelor::DisplayHeight, platform::SurfaceFormat);
    s.picWork.fill(Qt::black);
    return s;
}

}  // namespace

class TestFlight : public QObject {
    Q_OBJECT
private slots:
    void tickSequence_data();
    void tickSequence();
    void framesCycleOnePerTick();
    void zeroStepTurnsButStaysBeyondLimit();
    void pushedPastLimitGoesOneMoreStepThenTurns();
    void axesBounceIndependently();
    void roundHalfEven_data();
    void roundHalfEven();
    void rasterOperations_data();
    void rasterOperations();
    void composeShowsKiteOverBackground();
    void composeClipsAtEveryEdge_data();
    void composeClipsAtEveryEdge();
    void composeLeavesStateAlone();
    void timerIntervalZeroGivesNoTicks();
    void timerSwitchOnRestartsInterval();
};

// x positions drawn, tick after tick, from a start state.
void TestFlight::tickSequence_data()
{
    QTest::addColumn<int>("startX");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("dir");
    QTest::addColumn<QList<int>>("drawn");

    QTest::newRow("start values: 100, 101, ...") << 100 << 1 << 1 << QList<int>{100, 101, 102, 103};
    QTest::newRow("overshoot at the right: 350, 351, 350") << 349 << 1 << 1 << QList<int>{349, 350, 351, 350, 349};
    QTest::newRow("overshoot at the left: 0, -1, 0") << 1 << 1 << -1 << QList<int>{1, 0, -1, 0, 1};
    QTest::newRow("step 30 from 340: 370 then back") << 340 << 30 << 1 << QList<int>{340, 370, 340, 310};
    QTest::newRow("step 30 reaches 380, wholly outside") << 350 << 30 << 1 << QList<int>{350, 380, 350, 320};
}

void TestFlight::tickSequence()
{
    QFETCH(int, startX);
    QFETCH(int, step);
    QFETCH(int, dir);
    QFETCH(QList<int>, drawn);

    FlightState s;
    s.KiteX = static_cast<std::int16_t>(startX);
    s.StepX = static_cast<std::int16_t>(step);
    s.DirX = static_cast<std::int16_t>(dir);
    QList<int> seen;
    for (int i = 0; i < drawn.size(); ++i) {
        seen.append(s.KiteX);  // the frame shows the state before the tick moves it
        mdlAelor::AdvanceTick(s);
    }
    QCOMPARE(seen, drawn);
}

void TestFlight::framesCycleOnePerTick()
{
    FlightState s;
    QList<int> frames;
    for (int i = 0; i < 13; ++i) {
        frames.append(s.FrameNo);
        mdlAelor::AdvanceTick(s);
    }
    QCOMPARE(frames, (QList<int>{1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6, 1}));

    // The first tick after start-up: frame 1 at (100, 100), then (101, 101) and frame 2.
    FlightState first;
    mdlAelor::AdvanceTick(first);
    QCOMPARE(first.KiteX, std::int16_t(101));
    QCOMPARE(first.KiteY, std::int16_t(101));
    QCOMPARE(first.FrameNo, std::int16_t(2));
}

void TestFlight::zeroStepTurnsButStaysBeyondLimit()
{
    FlightState s;
    s.KiteX = 360;
    s.StepX = 0;
    s.DirX = 1;
    mdlAelor::AdvanceTick(s);
    QCOMPARE(s.KiteX, std::int16_t(360));
    QCOMPARE(s.DirX, std::int16_t(-1));
    s.DirX = 1;  // even if something turned it back, the next tick turns it again
    mdlAelor::AdvanceTick(s);
    QCOMPARE(s.DirX, std::int16_t(-1));
    QCOMPARE(s.KiteX, std::int16_t(360));
}

void TestFlight::pushedPastLimitGoesOneMoreStepThenTurns()
{
    FlightState s;
    s.KiteX = 360;
    s.StepX = 3;
    s.DirX = 1;
    mdlAelor::AdvanceTick(s);
    QCOMPARE(s.KiteX, std::int16_t(363));
    QCOMPARE(s.DirX, std::int16_t(-1));
    mdlAelor::AdvanceTick(s);
    QCOMPARE(s.KiteX, std::int16_t(360));
}

void TestFlight::axesBounceIndependently()
{
    FlightState s;
    s.KiteX = 200;
    s.KiteY = 290;
    s.StepX = 5;
    s.StepY = 2;
    mdlAelor::AdvanceTick(s);
    QCOMPARE(s.KiteY, std::int16_t(292));
    QCOMPARE(s.DirY, std::int16_t(-1));
    QCOMPARE(s.DirX, std::int16_t(1));
    QCOMPARE(s.KiteX, std::int16_t(205));

    s.KiteY = 0;
    s.DirY = -1;
    s.KiteX = 351;
    s.DirX = -1;  // already turned: travels back inside while y turns at the top
    mdlAelor::AdvanceTick(s);
    QCOMPARE(s.KiteX, std::int16_t(346));
    QCOMPARE(s.DirX, std::int16_t(-1));
    QCOMPARE(s.KiteY, std::int16_t(-2));
    QCOMPARE(s.DirY, std::int16_t(1));
}

void TestFlight::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("0.5 to 0") << 0.5 << 0.0;
    QTest::newRow("1.5 to 2") << 1.5 << 2.0;
    QTest::newRow("2.5 to 2") << 2.5 << 2.0;
    QTest::newRow("-2.5 to -2") << -2.5 << -2.0;
    QTest::newRow("2999.5 to 3000") << 2999.5 << 3000.0;
    QTest::newRow("29.6 to 30") << 29.6 << 30.0;
    QTest::newRow("0.49 to 0") << 0.49 << 0.0;
}

void TestFlight::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(mdlAelor::RoundHalfEven(value), rounded);
}

void TestFlight::rasterOperations_data()
{
    QTest::addColumn<quint32>("rop");
    QTest::addColumn<QRgb>("dst");
    QTest::addColumn<QRgb>("src");
    QTest::addColumn<QRgb>("result");
    QTest::newRow("copy") << platform::SRCCOPY << QRgb(0xFF123456) << QRgb(0xFF00FF00) << QRgb(0xFF00FF00);
    QTest::newRow("or") << platform::SRCPAINT << QRgb(0xFF120056) << QRgb(0xFF00FF00) << QRgb(0xFF12FF56);
    QTest::newRow("and") << platform::SRCAND << QRgb(0xFF123456) << QRgb(0xFF00FF0F) << QRgb(0xFF003406);
    QTest::newRow("unknown operation copies nothing") << quint32(0x00660046) << QRgb(0xFF123456)
                                                      << QRgb(0xFF00FF00) << QRgb(0xFF123456);
}

void TestFlight::rasterOperations()
{
    QFETCH(quint32, rop);
    QFETCH(QRgb, dst);
    QFETCH(QRgb, src);
    QFETCH(QRgb, result);
    QImage d(4, 4, platform::SurfaceFormat);
    d.fill(dst);
    QImage s(2, 2, platform::SurfaceFormat);
    s.fill(src);
    platform::BitBlt(d, 1, 1, 2, 2, s, 0, 0, rop);
    QCOMPARE(d.pixel(1, 1), result);
    QCOMPARE(d.pixel(2, 2), result);
    QCOMPARE(d.pixel(0, 0), dst);
    QCOMPARE(d.pixel(3, 3), dst);
}

void TestFlight::composeShowsKiteOverBackground()
{
    auto surfaces = testSurfaces();
    QImage display(380, 350, platform::SurfaceFormat);
    display.fill(Qt::black);
    FlightState s;
    s.FrameNo = 3;
    mdlAelor::ComposeInto(s, surfaces, display);

    QCOMPARE(display.pixel(100, 100), Sky);                     // transparent rim
    QCOMPARE(display.pixel(101, 101), KiteInk + 2);             // frame 3's picture
    QCOMPARE(display.pixel(128, 158), KiteInk + 2);             // last opaque pixel
    QCOMPARE(display.pixel(129, 159), Sky);
    QCOMPARE(display.pixel(99, 99), Sky);
    QCOMPARE(display.pixel(130, 160), Sky);
    QCOMPARE(display.pixel(379, 349), Sky);  // the whole frame reached the display
    QCOMPARE(display, surfaces.picWork);
}

// The kite cell at each edge and beyond: what lies inside is drawn, the rest is cut.
void TestFlight::composeClipsAtEveryEdge_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QPoint>("inkAt");     // a pixel that must show the kite, or (-1,-1)
    QTest::addColumn<int>("inkPixels");    // how many kite pixels the frame shows
    QTest::newRow("left, half off") << -15 << 100 << QPoint(0, 120) << 14 * 58;
    QTest::newRow("top, half off") << 100 << -30 << QPoint(110, 0) << 28 * 29;
    QTest::newRow("right, half off") << 365 << 100 << QPoint(379, 120) << 14 * 58;
    QTest::newRow("bottom, half off") << 100 << 320 << QPoint(110, 349) << 28 * 29;
    QTest::newRow("wholly right") << 380 << 100 << QPoint(-1, -1) << 0;
    QTest::newRow("wholly below") << 100 << 350 << QPoint(-1, -1) << 0;
    QTest::newRow("wholly above left") << -30 << -60 << QPoint(-1, -1) << 0;
    QTest::newRow("far beyond") << 32000 << -32000 << QPoint(-1, -1) << 0;
}

void TestFlight::composeClipsAtEveryEdge()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QPoint, inkAt);
    QFETCH(int, inkPixels);

    auto surfaces = testSurfaces();
    QImage display(380, 350, platform::SurfaceFormat);
    FlightState s;
    s.KiteX = static_cast<std::int16_t>(x);
    s.KiteY = static_cast<std::int16_t>(y);
    mdlAelor::ComposeInto(s, surfaces, display);

    int ink = 0;
    for (int py = 0; py < 350; ++py)
        for (int px = 0; px < 380; ++px)
            ink += display.pixel(px, py) == KiteInk ? 1 : 0;
    QCOMPARE(ink, inkPixels);
    if (inkAt.x() >= 0)
        QCOMPARE(display.pixel(inkAt), KiteInk);
}

void TestFlight::composeLeavesStateAlone()
{
    auto surfaces = testSurfaces();
    QImage display(380, 350, platform::SurfaceFormat);
    FlightState s;
    s.KiteX = 42;
    s.FrameNo = 6;
    const FlightState before = s;
    mdlAelor::ComposeInto(s, surfaces, display);
    QCOMPARE(s.KiteX, before.KiteX);
    QCOMPARE(s.FrameNo, before.FrameNo);
    QCOMPARE(display.pixel(43, 101), KiteInk + 5);
}

void TestFlight::timerIntervalZeroGivesNoTicks()
{
    platform::AnimTimer timer;
    QSignalSpy ticks(&timer, &platform::AnimTimer::Timer);
    timer.setInterval(0);
    timer.setEnabled(true);
    QVERIFY(timer.Enabled());
    QVERIFY(!timer.isTicking());
    QTest::qWait(50);
    QCOMPARE(ticks.count(), 0);
    timer.setInterval(5);
    QVERIFY(ticks.wait(1000));
}

void TestFlight::timerSwitchOnRestartsInterval()
{
    platform::AnimTimer timer;
    timer.setInterval(2000);
    QSignalSpy ticks(&timer, &platform::AnimTimer::Timer);
    // Switching off and on again every 100 ms keeps the 2 s tick from ever coming.
    for (int i = 0; i < 6; ++i) {
        QTest::qWait(100);
        timer.setEnabled(false);
        timer.setEnabled(true);
    }
    QCOMPARE(ticks.count(), 0);
    timer.setEnabled(false);
    QVERIFY(!timer.isTicking());
}

QTEST_MAIN(TestFlight)
#include "tst_flight.moc"
