// The tick, the bounce and the compositor, without any window.
#include "framesupport.h"

#include "rules/Raster.h"
#include "rules/mdlAelor.h"

#include <QTest>

using mdlAelor::FlightState;

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

QTEST_MAIN(TestFlight)
#include "tst_flight.moc"
