// The tick, the bounce, the compositor and the tick clock, without any window.
//
// Environment, for the random states of the catch-up:
//   AELORIN_CATCHUP_SEED  the seed to replay; without it a fresh one is drawn
#include "framesupport.h"

#include "rules/Raster.h"
#include "rules/TickClock.h"
#include "rules/mdlAelor.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <random>

using mdlAelor::FlightState;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

namespace {

// A sprite sheet whose every opaque pixel names its frame, column and row, so a
// pixel taken from the wrong cell, column or row shows. The mask leaves a
// one-pixel rim and a diagonal of holes transparent: black in the mask, white in
// the picture.
bool Opaque(int x, int y)
{
    return x > 0 && x < 29 && y > 0 && y < 59 && (x + y) % 9 != 0;
}

QImage testSheet()
{
    QImage sheet(180, 120, raster::SurfaceFormat);
    for (int n = 0; n < 6; ++n) {
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 30; ++x) {
                const bool opaque = Opaque(x, y);
                sheet.setPixel(n * 30 + x, y, opaque ? qRgb(0x40 + 0x20 * n, 4 * x, 4 * y) : 0xFFFFFFFF);
                sheet.setPixel(n * 30 + x, 60 + y, opaque ? 0xFFFFFFFF : 0xFF000000);
            }
        }
    }
    return sheet;
}

// A background that differs from pixel to pixel, so a shifted copy shows too.
QImage testBackground()
{
    QImage back(380, 350, raster::SurfaceFormat);
    for (int y = 0; y < 350; ++y)
        for (int x = 0; x < 380; ++x)
            back.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 0x40 + (y / 256) * 0x80 + 0x11));
    return back;
}

mdlAelor::Surfaces testSurfaces()
{
    mdlAelor::Surfaces s;
    s.picBack = testBackground();
    s.picKite = testSheet();
    s.picWork = QImage(380, 350, raster::SurfaceFormat);
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
    void composeDrawsTheWholeFrame_data();
    void composeDrawsTheWholeFrame();
    void catchUpReachesWhatTicksOneByOneReach();
    void ticksFallDueIntervalsAfterTheSwitchOn_data();
    void ticksFallDueIntervalsAfterTheSwitchOn();
    void switchingOnOrRetimingCountsAfresh_data();
    void switchingOnOrRetimingCountsAfresh();
    void aStallIsNotCaughtUpTimeUnseenIs_data();
    void aStallIsNotCaughtUpTimeUnseenIs();
    void timerWakesForTheTickOrTheScreenWhicheverIsLater_data();
    void timerWakesForTheTickOrTheScreenWhicheverIsLater();
    void lateWakesLoseNoTickAndNoRefresh_data();
    void lateWakesLoseNoTickAndNoRefresh();
    void refreshPeriodIsOneAScreenHas();
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

// clang-format off
void TestFlight::rasterOperations_data()
{
    QTest::addColumn<quint32>("rop");
    QTest::addColumn<QRgb>("dst");
    QTest::addColumn<QRgb>("src");
    QTest::addColumn<QRgb>("result");
    QTest::newRow("copy") << raster::SRCCOPY << QRgb(0xFF123456) << QRgb(0xFF00FF00) << QRgb(0xFF00FF00);
    QTest::newRow("or") << raster::SRCPAINT << QRgb(0xFF120056) << QRgb(0xFF00FF00) << QRgb(0xFF12FF56);
    QTest::newRow("and") << raster::SRCAND << QRgb(0xFF123456) << QRgb(0xFF00FF0F) << QRgb(0xFF003406);
    QTest::newRow("unknown operation copies nothing") << quint32(0x00660046) << QRgb(0xFF123456)
                                                      << QRgb(0xFF00FF00) << QRgb(0xFF123456);
}
// clang-format on

void TestFlight::rasterOperations()
{
    QFETCH(quint32, rop);
    QFETCH(QRgb, dst);
    QFETCH(QRgb, src);
    QFETCH(QRgb, result);
    QImage d(4, 4, raster::SurfaceFormat);
    d.fill(dst);
    QImage s(2, 2, raster::SurfaceFormat);
    s.fill(src);
    raster::BitBlt(d, 1, 1, 2, 2, s, 0, 0, rop);
    QCOMPARE(d.pixel(1, 1), result);
    QCOMPARE(d.pixel(2, 2), result);
    QCOMPARE(d.pixel(0, 0), dst);
    QCOMPARE(d.pixel(3, 3), dst);
}

// Every pixel of the display, for the kite inside, at each edge and corner, just
// off each edge and far beyond: what lies inside is drawn, the rest is cut, and
// the rest of the display is the background.
void TestFlight::composeDrawsTheWholeFrame_data()
{
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("inside, frame 3") << 3 << 100 << 100;
    QTest::newRow("at the far limits, frame 6") << 6 << 350 << 290;
    QTest::newRow("left, half off") << 1 << -15 << 100;
    QTest::newRow("left, one column in") << 2 << -29 << 200;
    QTest::newRow("top, half off") << 1 << 100 << -30;
    QTest::newRow("top, one row in") << 4 << 200 << -59;
    QTest::newRow("right, half off") << 5 << 365 << 100;
    QTest::newRow("bottom, half off") << 6 << 100 << 320;
    QTest::newRow("top left corner") << 1 << -20 << -40;
    QTest::newRow("bottom right corner, one pixel") << 2 << 379 << 349;
    QTest::newRow("wholly left") << 1 << -30 << 100;
    QTest::newRow("wholly above") << 1 << 100 << -60;
    QTest::newRow("wholly right") << 1 << 380 << 100;
    QTest::newRow("wholly below") << 1 << 100 << 350;
    QTest::newRow("far beyond, right and above") << 1 << 32000 << -32000;
    QTest::newRow("far beyond, left and below") << 6 << -32768 << 32767;
}

void TestFlight::composeDrawsTheWholeFrame()
{
    QFETCH(int, frame);
    QFETCH(int, x);
    QFETCH(int, y);
    auto surfaces = testSurfaces();
    const QImage want = ExpectedFrame(surfaces.picBack, surfaces.picKite, frame, x, y);
    QImage display(380, 350, raster::SurfaceFormat);
    display.fill(0xFF00FF00);  // what was shown before: all of it is drawn over
    FlightState s;
    s.FrameNo = static_cast<std::int16_t>(frame);
    s.KiteX = static_cast<std::int16_t>(x);
    s.KiteY = static_cast<std::int16_t>(y);
    mdlAelor::ComposeInto(s, surfaces, display);
    const QString difference = FirstDifference(display, want);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

namespace {

// The tick on plain ints, as the rules state it: the reference for the catch-up.
struct Stepper {
    int x, y, stepX, stepY, dirX, dirY, frame;
    void tick()
    {
        frame = frame == 6 ? 1 : frame + 1;
        x += stepX * dirX;
        dirX = x > 350 ? -1 : x < 0 ? 1 : dirX;
        y += stepY * dirY;
        dirY = y > 290 ? -1 : y < 0 ? 1 : dirY;
    }
};

}  // namespace

// Random states, kites pushed past a limit by the keys and steps of 0 among
// them, each advanced by counts small and large at once and tick by tick.
void TestFlight::catchUpReachesWhatTicksOneByOneReach()
{
    bool seedGiven = false;
    const quint64 seed = qEnvironmentVariable("AELORIN_CATCHUP_SEED").toULongLong(&seedGiven);
    const quint64 used = seedGiven ? seed : QRandomGenerator::global()->generate64();
    qInfo("catch-up: seed %llu (replay with AELORIN_CATCHUP_SEED=%llu)", used, used);
    std::mt19937_64 dice(used);
    auto between = [&dice](int lo, int hi) { return lo + int(dice() % quint64(hi - lo + 1)); };
    for (int n = 0; n < 200; ++n) {
        // Keys carry the kite up to a step past a limit; a step of 30 or 60
        // carries it wholly outside for one tick.
        Stepper ref{between(-15, 380),
                    between(-15, 350),
                    between(0, 3) == 0 ? 0 : between(1, 30),
                    between(0, 3) == 0 ? 0 : between(1, 60),
                    between(0, 1) ? 1 : -1,
                    between(0, 1) ? 1 : -1,
                    between(1, 6)};
        FlightState s;
        s.KiteX = std::int16_t(ref.x);
        s.KiteY = std::int16_t(ref.y);
        s.StepX = std::int16_t(ref.stepX);
        s.StepY = std::int16_t(ref.stepY);
        s.DirX = std::int16_t(ref.dirX);
        s.DirY = std::int16_t(ref.dirY);
        s.FrameNo = std::int16_t(ref.frame);
        const QString start = QStringLiteral("(%1, %2) step (%3, %4) dir (%5, %6) frame %7")
                                  .arg(ref.x)
                                  .arg(ref.y)
                                  .arg(ref.stepX)
                                  .arg(ref.stepY)
                                  .arg(ref.dirX)
                                  .arg(ref.dirY)
                                  .arg(ref.frame);
        const quint64 count = between(0, 1) ? quint64(between(0, 6000)) : quint64(between(6000, 500'000));
        mdlAelor::AdvanceTicks(s, count);
        for (quint64 i = 0; i < count; ++i)
            ref.tick();
        const QList<int> got{s.KiteX, s.KiteY, s.DirX, s.DirY, s.FrameNo};
        const QList<int> want{ref.x, ref.y, ref.dirX, ref.dirY, ref.frame};
        QVERIFY2(got == want, qPrintable(QStringLiteral("seed %1, %2 after %3 ticks").arg(used).arg(start).arg(count)));
    }
}

namespace {

TickClock::Clock MadeAt(nanoseconds at, int intervalMs)
{
    TickClock::Clock c(at);
    c.setInterval(intervalMs, at);
    return c;
}

nanoseconds PeriodOf(double hz)
{
    return nanoseconds(qRound64(1e9 / hz));
}

}  // namespace

void TestFlight::ticksFallDueIntervalsAfterTheSwitchOn_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<qint64>("afterUs");
    QTest::addColumn<qint64>("due");
    QTest::newRow("100 ms: none at 99.999 ms") << 100 << true << qint64(99'999) << qint64(0);
    QTest::newRow("100 ms: the first at 100 ms") << 100 << true << qint64(100'000) << qint64(1);
    QTest::newRow("100 ms: two at 250 ms") << 100 << true << qint64(250'000) << qint64(2);
    QTest::newRow("1 ms: 16 in a refresh period of 60 Hz") << 1 << true << qint64(16'667) << qint64(16);
    QTest::newRow("1 ms: 86.4 million in a day") << 1 << true << qint64(86'400'000'000) << qint64(86'400'000);
    QTest::newRow("interval 0: none, ever") << 0 << true << qint64(86'400'000'000) << qint64(0);
    QTest::newRow("switched off: none") << 1 << false << qint64(1'000'000) << qint64(0);
}

void TestFlight::ticksFallDueIntervalsAfterTheSwitchOn()
{
    QFETCH(int, intervalMs);
    QFETCH(bool, enabled);
    QFETCH(qint64, afterUs);
    QFETCH(qint64, due);
    TickClock::Clock c = MadeAt(std::chrono::hours(1), intervalMs);
    if (!enabled)
        c.setEnabled(false, std::chrono::hours(1));
    QCOMPARE(qint64(c.fallenDue(std::chrono::hours(1) + microseconds(afterUs))), due);
    QCOMPARE(c.nextDue().has_value(), enabled && intervalMs > 0);
}

// A timer made at 0 ms with 100 ms; each row acts on it at its moments, then
// says when the next tick falls due.
void TestFlight::switchingOnOrRetimingCountsAfresh_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("nextDueMs");
    QTest::newRow("untouched: at 100") << "" << 100;
    QTest::newRow("switched on again while on, at 250: at 350") << "on@250" << 350;
    QTest::newRow("switched off: none") << "off@250" << -1;
    QTest::newRow("switched off and on: a whole interval after") << "off@250 on@260" << 360;
    QTest::newRow("a new interval while on: from then") << "interval10@250" << 260;
    QTest::newRow("a new interval while off: from the switch-on") << "off@250 interval10@255 on@300" << 310;
    QTest::newRow("interval 0: none") << "interval0@250" << -1;
}

void TestFlight::switchingOnOrRetimingCountsAfresh()
{
    QFETCH(QString, actions);
    QFETCH(int, nextDueMs);
    TickClock::Clock c = MadeAt(nanoseconds::zero(), 100);
    const QRegularExpression action(QStringLiteral("(on|off|interval)(\\d*)@(\\d+)"));
    for (const QString& a : actions.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const auto m = action.match(a);
        QVERIFY2(m.hasMatch(), qPrintable(a));
        const nanoseconds at = milliseconds(m.captured(3).toInt());
        if (m.captured(1) == QLatin1String("interval"))
            c.setInterval(m.captured(2).toInt(), at);
        else
            c.setEnabled(m.captured(1) == QLatin1String("on"), at);
    }
    const auto next = c.nextDue();
    QCOMPARE(next ? int(next->count() / 1'000'000) : -1, nextDueMs);
}

// The thread held, or the display unseen, for a while after the ticks ran and
// a frame was shown at 0: how many run at its end, and when the next falls due.
void TestFlight::aStallIsNotCaughtUpTimeUnseenIs_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<double>("hz");
    QTest::addColumn<bool>("watched");
    QTest::addColumn<qint64>("heldUs");
    QTest::addColumn<qint64>("run");
    QTest::addColumn<qint64>("nextDueUs");
    // Held: the ticks of one refresh period and one more run, and the next
    // comes a whole interval after the end of the hold.
    QTest::newRow("1 ms at 60 Hz held 1 s: 17")
        << 1 << 60.0 << true << qint64(1'000'500) << qint64(17) << qint64(1'001'500);
    QTest::newRow("1 ms at 144 Hz held 1 s: 7")
        << 1 << 144.0 << true << qint64(1'000'500) << qint64(7) << qint64(1'001'500);
    QTest::newRow("10 ms at 60 Hz held 1 s: 2")
        << 10 << 60.0 << true << qint64(1'000'500) << qint64(2) << qint64(1'010'500);
    QTest::newRow("100 ms held 2 s by the chime: 1")
        << 100 << 60.0 << true << qint64(2'000'500) << qint64(1) << qint64(2'100'500);
    // A wake asked for at the next refresh (16.667 ms) and coming late by less
    // than a refresh period: no stall, none dropped, the count goes on.
    QTest::newRow("1 ms at 60 Hz, the wake 0.8 ms late: all 17")
        << 1 << 60.0 << true << qint64(17'500) << qint64(17) << qint64(18'000);
    QTest::newRow("10 ms at 60 Hz, the wake 14 ms late: all 3")
        << 10 << 60.0 << true << qint64(30'667) << qint64(3) << qint64(40'000);
    QTest::newRow("1 ms at 60 Hz, the wake more than a period late: a stall")
        << 1 << 60.0 << true << qint64(33'367) << qint64(17) << qint64(34'367);
    QTest::newRow("100 ms at 60 Hz, 1 due: all")
        << 100 << 60.0 << true << qint64(150'000) << qint64(1) << qint64(200'000);
    // Unseen: every tick runs, the count goes on.
    QTest::newRow("1 ms unseen for 1 s: 1000")
        << 1 << 60.0 << false << qint64(1'000'500) << qint64(1000) << qint64(1'001'000);
    QTest::newRow("100 ms unseen for 2 s: 20")
        << 100 << 60.0 << false << qint64(2'000'500) << qint64(20) << qint64(2'100'000);
    QTest::newRow("1 ms unseen for a day: 86.4 million")
        << 1 << 60.0 << false << qint64(86'400'000'500) << qint64(86'400'000) << qint64(86'400'001'000);
}

void TestFlight::aStallIsNotCaughtUpTimeUnseenIs()
{
    QFETCH(int, intervalMs);
    QFETCH(double, hz);
    QFETCH(bool, watched);
    QFETCH(qint64, heldUs);
    QFETCH(qint64, run);
    QFETCH(qint64, nextDueUs);
    TickClock::Clock c = MadeAt(nanoseconds::zero(), intervalMs);
    c.setWatched(watched);
    c.frameShown(nanoseconds::zero(), PeriodOf(hz));
    c.schedule(PeriodOf(hz), false);
    const nanoseconds end = microseconds(heldUs);
    QCOMPARE(qint64(c.takeDue(end, PeriodOf(hz))), run);
    QCOMPARE(c.nextDue(), std::optional<nanoseconds>(microseconds(nextDueUs)));
    // What ran does not run again.
    QCOMPARE(qint64(c.takeDue(end, PeriodOf(hz))), qint64(0));
}

// A timer switched on at 0 ms, its last frame shown at `shownMs` (-1: none yet).
void TestFlight::timerWakesForTheTickOrTheScreenWhicheverIsLater_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<double>("shownMs");
    QTest::addColumn<bool>("frameWaiting");
    QTest::addColumn<bool>("watched");
    QTest::addColumn<double>("wakeMs");  // -1: none
    QTest::newRow("100 ms: at the tick") << 100 << true << 0.0 << false << true << 100.0;
    QTest::newRow("17 ms, slower than the screen: at the tick") << 17 << true << 0.0 << false << true << 17.0;
    QTest::newRow("1 ms: a refresh period after the last frame") << 1 << true << 0.0 << false << true << 16.666667;
    QTest::newRow("10 ms: a refresh period after the last frame") << 10 << true << 0.0 << false << true << 16.666667;
    QTest::newRow("1 ms, no frame shown yet: at the tick") << 1 << true << -1.0 << false << true << 1.0;
    QTest::newRow("1 ms, the last frame long ago: at the tick") << 1 << true << -1000.0 << false << true << 1.0;
    QTest::newRow("off, a frame waiting: a refresh period after the last")
        << 1 << false << 0.0 << true << true << 16.666667;
    QTest::newRow("off, nothing waiting: none") << 1 << false << 0.0 << false << true << -1.0;
    QTest::newRow("nobody watching: none") << 1 << true << 0.0 << true << false << -1.0;
    QTest::newRow("100 ms, nobody watching: none") << 100 << true << -1.0 << false << false << -1.0;
}

void TestFlight::timerWakesForTheTickOrTheScreenWhicheverIsLater()
{
    QFETCH(int, intervalMs);
    QFETCH(bool, enabled);
    QFETCH(double, shownMs);
    QFETCH(bool, frameWaiting);
    QFETCH(bool, watched);
    QFETCH(double, wakeMs);
    TickClock::Clock c = MadeAt(nanoseconds::zero(), intervalMs);
    c.setEnabled(enabled, nanoseconds::zero());
    c.setWatched(watched);
    if (shownMs != -1.0)
        c.frameShown(nanoseconds(qRound64(shownMs * 1e6)), PeriodOf(60.0));
    const auto wake = c.schedule(PeriodOf(60.0), frameWaiting);
    QCOMPARE(wake ? double(wake->count()) / 1e6 : -1.0, wakeMs);
}

// A second of a flight made at 0, each wake `lateUs` after the moment the clock
// asked for, or after the one a timer of whole milliseconds set at the last wake
// gives: every tick due runs, and every refresh with a new tick to show shows it.
void TestFlight::lateWakesLoseNoTickAndNoRefresh_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<double>("hz");
    QTest::addColumn<int>("lateUs");
    QTest::addColumn<bool>("wholeMs");
    for (const int ms : {1, 2, 7, 16})
        for (const double hz : {60.0, 144.0})
            for (const int lateUs : {0, 300, 1200, 5000})
                for (const bool wholeMs : {false, true})
                    QTest::addRow("%d ms, %g Hz, %d us late%s", ms, hz, lateUs, wholeMs ? ", whole ms" : "")
                        << ms << hz << lateUs << wholeMs;
}

void TestFlight::lateWakesLoseNoTickAndNoRefresh()
{
    QFETCH(int, ms);
    QFETCH(double, hz);
    QFETCH(int, lateUs);
    QFETCH(bool, wholeMs);
    const nanoseconds period = PeriodOf(hz), second = std::chrono::seconds(1);
    TickClock::Clock c = MadeAt(nanoseconds::zero(), ms);
    nanoseconds now{};
    long long ticks = 0, frames = 0;
    for (auto wake = c.schedule(period, false); wake; wake = c.schedule(period, false)) {
        now = (wholeMs ? now + std::chrono::ceil<milliseconds>(*wake - now) : *wake) + microseconds(lateUs);
        if (now > second)
            break;
        // Every wake has a tick due, and so a frame to show.
        ticks += c.takeDue(now, period);
        if (c.mayShowTickFrame(now, period)) {
            c.frameShown(now, period);
            ++frames;
        }
    }
    ticks += c.takeDue(second, period);  // as an input at the end would find them
    QVERIFY2(std::abs(ticks - 1000.0 / ms) <= 1, qPrintable(QString::number(ticks)));
    QVERIFY2(std::abs(frames - std::min(hz, 1000.0 / ms)) <= 1, qPrintable(QString::number(frames)));
}

// Rates no screen has count as 60 Hz.
void TestFlight::refreshPeriodIsOneAScreenHas()
{
    const QList<std::pair<double, double>> reportedAndUsed{{60, 60},  {144, 144},   {24, 24},     {500, 500},
                                                           {23, 60},  {1, 60},      {501, 60},    {0, 60},
                                                           {-60, 60}, {qInf(), 60}, {qQNaN(), 60}};
    for (const auto& [reported, used] : reportedAndUsed)
        QVERIFY2(TickClock::RefreshPeriodOf(reported) == PeriodOf(used), qPrintable(QString::number(reported)));
}

QTEST_MAIN(TestFlight)
#include "tst_flight.moc"
