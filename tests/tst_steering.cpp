// Dragging the kite with the pointer and nudging it with the arrow keys: the rules
// on the flight state alone, then through the display of a real main window.
#include "Probe.h"
#include "fakes.h"
#include "framesupport.h"

#include "app/frmMain.h"
#include "platform/Fonts.h"
#include "rules/Steering.h"
#include "widgets/PictureBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

using mdlAelor::FlightState;

namespace {

FlightState KiteAt(int x, int y)
{
    FlightState s;
    s.KiteX = static_cast<std::int16_t>(x);
    s.KiteY = static_cast<std::int16_t>(y);
    return s;
}

// The display reports drawing-area pixels: widget pixels less its border.
QPoint OnWidget(int x, int y)
{
    return {x + widgets::PictureBox::Border, y + widgets::PictureBox::Border};
}

// A loaded main window whose ticks cannot move the kite: the flight runs, but with
// both steps 0, so positions seen by a test come from the handlers alone.
struct StillFlight {
    FakeWorld world;
    TestClock clock;
    frmMain w{world.services()};
    bool load()
    {
        if (w.Form_Load() != frmMain::LoadResult::Loaded)
            return false;
        // The test's clock: no tick comes unless the test moves it.
        Probe::driveClock(w, clock);
        // Steps of 0.3, kept as 0, applied as a person applies them.
        Child<QComboBox>(w, "cmbHoriz")->setEditText(QStringLiteral("0.3"));
        Child<QComboBox>(w, "cmbVert")->setEditText(QStringLiteral("0.3"));
        QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);
        return world.msgbox.calls.isEmpty() && Probe::st(w).StepX == 0 && Probe::st(w).StepY == 0;
    }
    // Drags the kite, held 10 and 20 pixels inside its cell, to a corner the drag
    // can reach: 1 to 349 across, 1 to 289 down.
    void dragTo(QPoint corner)
    {
        auto* picMain = Child<widgets::PictureBox>(w, "picMain");
        const QPoint grip(Probe::st(w).KiteX + 10, Probe::st(w).KiteY + 20);
        QTest::mousePress(picMain, Qt::LeftButton, {}, OnWidget(grip.x(), grip.y()));
        QTest::mouseMove(picMain, OnWidget(corner.x() + 10, corner.y() + 20));
        QTest::mouseRelease(picMain, Qt::LeftButton, {}, OnWidget(corner.x() + 10, corner.y() + 20));
    }
    // The frame the display should show for the current state, worked out in the test.
    QImage composed()
    {
        return ExpectedFrame(Probe::surfaces(w).picBack, Probe::surfaces(w).picKite, Probe::st(w).FrameNo,
                             Probe::st(w).KiteX, Probe::st(w).KiteY);
    }
};

// Records whether the timer was on whenever the display repaints, which happens
// inside each handler that composes a frame.
class TimerAtRepaint : public QObject {
public:
    TimerAtRepaint(QWidget* display, const Flight& flight)
        : m_flight(flight)
    {
        display->installEventFilter(this);
    }
    QList<bool> seen;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            seen.append(m_flight.timerEnabled());
        return false;
    }

private:
    const Flight& m_flight;
};

}  // namespace

class TestSteering : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    // Rules.
    void onlyPressesStrictlyInsideTheKiteHit_data();
    void onlyPressesStrictlyInsideTheKiteHit();
    void gripIsRoundedHalfToEven_data();
    void gripIsRoundedHalfToEven();
    void dragKeepsTheCornerStrictlyInsideTheLimits_data();
    void dragKeepsTheCornerStrictlyInsideTheLimits();
    void kiteWaitsAtTheLimitAndFollowsAgainWithTheSameGrip();
    void pointerMovesWithoutADragDoNothing();
    void onlyShiftAloneMakesTheFastStep_data();
    void onlyShiftAloneMakesTheFastStep();
    void arrowsMoveWithoutClampingUntilPastTheLimit_data();
    void arrowsMoveWithoutClampingUntilPastTheLimit();

    // Through the window.
    void arrowKeysOnTheDisplayMoveTheKite_data();
    void arrowKeysOnTheDisplayMoveTheKite();
    void overshootByKeysOnTheDisplay_data();
    void overshootByKeysOnTheDisplay();
    void everyKeyRedrawsWithTheTimerHeldOff();
    void keysLeaveAStoppedTimerOff();
    void draggingWithTheMouseMovesTheKiteAndHoldsTheTimer();
    void dragFromGripTenTwentyWaitsWhilePointerIsAtXFive();
    void anyButtonTakesHoldAndAnyReleaseLetsGo();
    void pressOutsideTheKiteChangesNothing();
    void pointerBetweenPixelsCountsAsThePixelItIsIn_data();
    void pointerBetweenPixelsCountsAsThePixelItIsIn();
    void releaseWithoutDragKeepsTimerState_data();
    void releaseWithoutDragKeepsTimerState();
    void arrowDuringADragLeavesTheTimerOffUntilTheRelease();
};

void TestSteering::initTestCase()
{
    platform::InstallFonts();
}

void TestSteering::onlyPressesStrictlyInsideTheKiteHit_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("hit");
    // The kite's cell is (100, 100) to (129, 159).
    QTest::newRow("left column misses") << 100.0f << 130.0f << false;
    QTest::newRow("top row misses") << 115.0f << 100.0f << false;
    QTest::newRow("corner pixel misses") << 100.0f << 100.0f << false;
    QTest::newRow("just inside the corner hits") << 101.0f << 101.0f << true;
    QTest::newRow("a fraction past the left edge hits") << 100.5f << 100.5f << true;
    QTest::newRow("column 129 hits") << 129.0f << 130.0f << true;
    QTest::newRow("row 159 hits") << 115.0f << 159.0f << true;
    QTest::newRow("column 130 misses") << 130.0f << 130.0f << false;
    QTest::newRow("row 160 misses") << 115.0f << 160.0f << false;
    QTest::newRow("left of the kite misses") << 50.0f << 130.0f << false;
    QTest::newRow("below the kite misses") << 115.0f << 300.0f << false;
}

void TestSteering::onlyPressesStrictlyInsideTheKiteHit()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, hit);
    FlightState s = KiteAt(100, 100);
    QCOMPARE(Steering::HitsKite(s, x, y), hit);
    QCOMPARE(Steering::TakeHold(s, x, y), hit);
    QCOMPARE(s.Dragging, hit ? mdlAelor::True : mdlAelor::False);
}

void TestSteering::gripIsRoundedHalfToEven_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("grabX");
    QTest::addColumn<int>("grabY");
    QTest::newRow("whole pixels") << 110.0f << 120.0f << 10 << 20;
    QTest::newRow("halves to even below") << 110.5f << 120.5f << 10 << 20;
    QTest::newRow("halves to even above") << 111.5f << 121.5f << 12 << 22;
    QTest::newRow("near the left edge rounds to 0") << 100.25f << 100.25f << 0 << 0;
    QTest::newRow("near the far edges rounds to 30 and 60") << 129.75f << 159.75f << 30 << 60;
}

void TestSteering::gripIsRoundedHalfToEven()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, grabX);
    QFETCH(int, grabY);
    FlightState s = KiteAt(100, 100);
    QVERIFY(Steering::TakeHold(s, x, y));
    QCOMPARE(int(s.GrabX), grabX);
    QCOMPARE(int(s.GrabY), grabY);
    // Taking hold does not move the kite.
    QCOMPARE(s.KiteX, std::int16_t(100));
    QCOMPARE(s.KiteY, std::int16_t(100));
}

void TestSteering::dragKeepsTheCornerStrictlyInsideTheLimits_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<int>("kiteX");
    QTest::addColumn<int>("kiteY");
    // Gripped at (10, 20) from (100, 100); a refused move leaves it there.
    QTest::newRow("corner (1, 1) is the nearest reachable") << 11.0f << 21.0f << true << 1 << 1;
    QTest::newRow("corner x 0 refused") << 10.0f << 150.0f << false << 100 << 100;
    QTest::newRow("corner y 0 refused") << 150.0f << 20.0f << false << 100 << 100;
    QTest::newRow("pointer at x 5, corner -5, refused") << 5.0f << 150.0f << false << 100 << 100;
    QTest::newRow("corner x 349 is the farthest") << 359.0f << 150.0f << true << 349 << 130;
    QTest::newRow("corner x 350 refused") << 360.0f << 150.0f << false << 100 << 100;
    QTest::newRow("corner y 289 is the lowest") << 150.0f << 309.0f << true << 140 << 289;
    QTest::newRow("corner y 290 refused") << 150.0f << 310.0f << false << 100 << 100;
    QTest::newRow("far outside the display refused") << -30000.0f << 1e9f << false << 100 << 100;
    QTest::newRow("fractional corner rounds half to even") << 110.5f << 121.5f << true << 100 << 102;
}

void TestSteering::dragKeepsTheCornerStrictlyInsideTheLimits()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, moves);
    QFETCH(int, kiteX);
    QFETCH(int, kiteY);
    FlightState s = KiteAt(100, 100);
    QVERIFY(Steering::TakeHold(s, 110.0f, 120.0f));
    QCOMPARE(Steering::FollowPointer(s, x, y), moves);
    QCOMPARE(int(s.KiteX), kiteX);
    QCOMPARE(int(s.KiteY), kiteY);
    QCOMPARE(s.Dragging, mdlAelor::True);
}

void TestSteering::kiteWaitsAtTheLimitAndFollowsAgainWithTheSameGrip()
{
    FlightState s = KiteAt(100, 100);
    QVERIFY(Steering::TakeHold(s, 110.0f, 120.0f));
    QVERIFY(Steering::FollowPointer(s, 40.0f, 120.0f));
    QCOMPARE(s.KiteX, std::int16_t(30));
    // Not pushed to the edge: it waits at its last accepted place.
    QVERIFY(!Steering::FollowPointer(s, 5.0f, 120.0f));
    QVERIFY(!Steering::FollowPointer(s, 10.0f, 130.0f));
    QCOMPARE(s.KiteX, std::int16_t(30));
    QCOMPARE(s.KiteY, std::int16_t(100));
    QVERIFY(Steering::FollowPointer(s, 12.0f, 130.0f));
    QCOMPARE(s.KiteX, std::int16_t(2));
    QCOMPARE(s.KiteY, std::int16_t(110));
    QCOMPARE(s.GrabX, std::int16_t(10));
    QCOMPARE(s.GrabY, std::int16_t(20));
}

void TestSteering::pointerMovesWithoutADragDoNothing()
{
    FlightState s = KiteAt(100, 100);
    QVERIFY(!Steering::FollowPointer(s, 200.0f, 200.0f));
    QCOMPARE(s.KiteX, std::int16_t(100));
    QVERIFY(Steering::TakeHold(s, 110.0f, 120.0f));
    Steering::LetGo(s);
    QCOMPARE(s.Dragging, mdlAelor::False);
    QVERIFY(!Steering::FollowPointer(s, 200.0f, 200.0f));
    QCOMPARE(s.KiteX, std::int16_t(100));
    // The grip stays after the drag.
    QCOMPARE(s.GrabX, std::int16_t(10));
}

void TestSteering::onlyShiftAloneMakesTheFastStep_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("step");
    QTest::newRow("no modifier") << 0 << 5;
    QTest::newRow("Shift alone") << 1 << 15;
    QTest::newRow("Ctrl") << 2 << 5;
    QTest::newRow("Shift and Ctrl") << 3 << 5;
    QTest::newRow("Alt") << 4 << 5;
    QTest::newRow("Shift and Alt") << 5 << 5;
    QTest::newRow("all three") << 7 << 5;
}

void TestSteering::onlyShiftAloneMakesTheFastStep()
{
    QFETCH(int, mask);
    QFETCH(int, step);
    QCOMPARE(int(Steering::KeyStepFor(mask)), step);
}

void TestSteering::arrowsMoveWithoutClampingUntilPastTheLimit_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("keyStep");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("Right from 349 overshoots to 354") << 39 << 5 << QPoint(349, 100) << QPoint(354, 100);
    QTest::newRow("fast Right from 349 to 364") << 39 << 15 << QPoint(349, 100) << QPoint(364, 100);
    QTest::newRow("Right at 350 stays") << 39 << 5 << QPoint(350, 100) << QPoint(350, 100);
    QTest::newRow("Right past the limit stays") << 39 << 5 << QPoint(354, 100) << QPoint(354, 100);
    QTest::newRow("Up from 3 overshoots to -2") << 38 << 5 << QPoint(100, 3) << QPoint(100, -2);
    QTest::newRow("Up at 0 stays") << 38 << 5 << QPoint(100, 0) << QPoint(100, 0);
    QTest::newRow("Down from 289 to 294") << 40 << 5 << QPoint(100, 289) << QPoint(100, 294);
    QTest::newRow("Down at 290 stays") << 40 << 5 << QPoint(100, 290) << QPoint(100, 290);
    QTest::newRow("Left from 1 to -4") << 37 << 5 << QPoint(1, 100) << QPoint(-4, 100);
    QTest::newRow("Left at 0 stays") << 37 << 5 << QPoint(0, 100) << QPoint(0, 100);
    QTest::newRow("fast Left from 100 to 85") << 37 << 15 << QPoint(100, 100) << QPoint(85, 100);
    QTest::newRow("a letter moves nothing") << 65 << 5 << QPoint(100, 100) << QPoint(100, 100);
    QTest::newRow("Shift itself moves nothing") << 16 << 15 << QPoint(100, 100) << QPoint(100, 100);
}

void TestSteering::arrowsMoveWithoutClampingUntilPastTheLimit()
{
    QFETCH(int, key);
    QFETCH(int, keyStep);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    FlightState s = KiteAt(from.x(), from.y());
    s.KeyStep = static_cast<std::int16_t>(keyStep);
    QCOMPARE(Steering::Nudge(s, key), from != to);
    QCOMPARE(QPoint(s.KiteX, s.KiteY), to);
}

// clang-format off
void TestSteering::arrowKeysOnTheDisplayMoveTheKite_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPoint>("move");
    QTest::newRow("Right") << int(Qt::Key_Right) << Qt::KeyboardModifiers() << QPoint(5, 0);
    QTest::newRow("Shift+Right") << int(Qt::Key_Right) << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(15, 0);
    QTest::newRow("Shift+Ctrl+Right")
        << int(Qt::Key_Right) << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier) << QPoint(5, 0);
    QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << Qt::KeyboardModifiers(Qt::ControlModifier) << QPoint(-5, 0);
    QTest::newRow("Shift+Alt+Down")
        << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::AltModifier) << QPoint(0, 5);
    QTest::newRow("Shift+Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(0, -15);
    QTest::newRow("Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers() << QPoint(0, 5);
}
// clang-format on

void TestSteering::arrowKeysOnTheDisplayMoveTheKite()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPoint, move);
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    const QPoint start(Probe::st(w).KiteX, Probe::st(w).KiteY);
    QTest::keyClick(Child<widgets::PictureBox>(w, "picMain"), Qt::Key(key), modifiers);
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), start + move);
    QCOMPARE(Probe::st(w).KeyStep, std::int16_t(5));
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), f.composed());

    // The next press without modifiers moves 5 again.
    QTest::keyClick(Child<widgets::PictureBox>(w, "picMain"), Qt::Key(key));
    const QPoint unit = move / std::max(std::abs(move.x()), std::abs(move.y())) * 5;
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), start + move + unit);
}

// clang-format off
void TestSteering::overshootByKeysOnTheDisplay_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPoint>("first");
    QTest::addColumn<QPoint>("second");
    QTest::newRow("349 -> 354, then stays")
        << QPoint(349, 100) << int(Qt::Key_Right) << Qt::KeyboardModifiers() << QPoint(354, 100) << QPoint(354, 100);
    QTest::newRow("349 -> 364 with Shift, then stays") << QPoint(349, 100) << int(Qt::Key_Right)
                                                       << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(364, 100)
                                                       << QPoint(364, 100);
    QTest::newRow("y 3 -> -2, then stays")
        << QPoint(100, 3) << int(Qt::Key_Up) << Qt::KeyboardModifiers() << QPoint(100, -2) << QPoint(100, -2);
}
// clang-format on

void TestSteering::overshootByKeysOnTheDisplay()
{
    QFETCH(QPoint, from);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    f.dragTo(from);
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), from);

    QTest::keyClick(Child<widgets::PictureBox>(w, "picMain"), Qt::Key(key), modifiers);
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), first);
    QTest::keyClick(Child<widgets::PictureBox>(w, "picMain"), Qt::Key(key), modifiers);
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), second);
    // Still redrawn where it stands, partly off the display.
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), f.composed());
}

void TestSteering::everyKeyRedrawsWithTheTimerHeldOff()
{
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    f.dragTo({200, 100});
    TimerAtRepaint probe(Child<widgets::PictureBox>(w, "picMain"), Probe::flight(w));

    // A state the display does not show yet: a tick shows its frame and only
    // then takes the next one. A non-arrow key redraws it.
    WakeNext(w, f.clock);
    QVERIFY(Child<widgets::PictureBox>(w, "picMain")->image() != f.composed());
    probe.seen.clear();
    QTest::keyClick(Child<widgets::PictureBox>(w, "picMain"), Qt::Key_A);
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), f.composed());
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(200));

    // Shift pressed by itself moves nothing, redraws, and leaves the step at 5.
    WakeNext(w, f.clock);
    QVERIFY(Child<widgets::PictureBox>(w, "picMain")->image() != f.composed());
    probe.seen.removeLast();  // the tick's own repaint
    emit Child<widgets::PictureBox>(w, "picMain")->KeyDown(16, 1);
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), f.composed());
    QCOMPARE(Probe::st(w).KeyStep, std::int16_t(5));
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(200));

    QTest::keyClick(Child<widgets::PictureBox>(w, "picMain"), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(185));

    // A, Shift by itself, then the Shift that the last click pressed before Left.
    QCOMPARE(probe.seen, (QList<bool>{false, false, false, false}));
    QVERIFY(Probe::flight(w).timerEnabled());
    QVERIFY(Probe::flight(w).isTicking());
}

void TestSteering::keysLeaveAStoppedTimerOff()
{
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    emit Child<widgets::PictureBox>(w, "picMain")->KeyDown(39, 0);
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(105));
    QVERIFY(!Probe::flight(w).timerEnabled());
    emit Child<widgets::PictureBox>(w, "picMain")->KeyDown(39, 1);
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(120));
    QVERIFY(!Probe::flight(w).timerEnabled());
    QCOMPARE(Probe::st(w).KeyStep, std::int16_t(5));
}

void TestSteering::draggingWithTheMouseMovesTheKiteAndHoldsTheTimer()
{
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    WakeNext(w, f.clock);
    const QImage before = Child<widgets::PictureBox>(w, "picMain")->image().copy();

    QTest::mousePress(Child<widgets::PictureBox>(w, "picMain"), Qt::LeftButton, {}, OnWidget(115, 130));
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::True);
    QCOMPARE(Probe::st(w).GrabX, std::int16_t(15));
    QCOMPARE(Probe::st(w).GrabY, std::int16_t(30));
    QVERIFY(!Probe::flight(w).timerEnabled());
    // The press alone does not redraw.
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), before);

    QTest::mouseMove(Child<widgets::PictureBox>(w, "picMain"), OnWidget(215, 180));
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), QPoint(200, 150));
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), f.composed());
    QVERIFY(!Probe::flight(w).timerEnabled());

    QTest::mouseRelease(Child<widgets::PictureBox>(w, "picMain"), Qt::LeftButton, {}, OnWidget(215, 180));
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::False);
    QVERIFY(Probe::flight(w).isTicking());
}

void TestSteering::dragFromGripTenTwentyWaitsWhilePointerIsAtXFive()
{
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QTest::mousePress(Child<widgets::PictureBox>(w, "picMain"), Qt::LeftButton, {}, OnWidget(110, 120));
    QCOMPARE(QPoint(Probe::st(w).GrabX, Probe::st(w).GrabY), QPoint(10, 20));
    QTest::mouseMove(Child<widgets::PictureBox>(w, "picMain"), OnWidget(50, 120));
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), QPoint(40, 100));
    const QImage waiting = Child<widgets::PictureBox>(w, "picMain")->image().copy();

    QTest::mouseMove(Child<widgets::PictureBox>(w, "picMain"), OnWidget(5, 150));
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), QPoint(40, 100));
    QCOMPARE(Child<widgets::PictureBox>(w, "picMain")->image(), waiting);
    QTest::mouseMove(Child<widgets::PictureBox>(w, "picMain"), OnWidget(10, 150));
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), QPoint(40, 100));

    QTest::mouseMove(Child<widgets::PictureBox>(w, "picMain"), OnWidget(11, 150));
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), QPoint(1, 130));
    QTest::mouseRelease(Child<widgets::PictureBox>(w, "picMain"), Qt::LeftButton, {}, OnWidget(11, 150));
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::False);
}

void TestSteering::anyButtonTakesHoldAndAnyReleaseLetsGo()
{
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QTest::mousePress(Child<widgets::PictureBox>(w, "picMain"), Qt::RightButton, Qt::ShiftModifier, OnWidget(120, 140));
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::True);
    QVERIFY(!Probe::flight(w).timerEnabled());
    QTest::mouseMove(Child<widgets::PictureBox>(w, "picMain"), OnWidget(130, 140));
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(110));

    // A release of another button than the one pressed still ends the drag.
    emit Child<widgets::PictureBox>(w, "picMain")->MouseUp(4, 0, 0.0f, 0.0f);
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::False);
    QVERIFY(Probe::flight(w).isTicking());
    emit Child<widgets::PictureBox>(w, "picMain")->MouseMove(2, 0, 200.0f, 200.0f);
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(110));
    QTest::mouseRelease(Child<widgets::PictureBox>(w, "picMain"), Qt::RightButton, Qt::ShiftModifier,
                        OnWidget(130, 140));
}

void TestSteering::pressOutsideTheKiteChangesNothing()
{
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // The kite's left column, then well away from it.
    for (const QPoint p : {QPoint(100, 130), QPoint(130, 130), QPoint(300, 20)}) {
        emit Child<widgets::PictureBox>(w, "picMain")->MouseDown(1, 0, float(p.x()), float(p.y()));
        QCOMPARE(Probe::st(w).Dragging, mdlAelor::False);
        QVERIFY(Probe::flight(w).timerEnabled());
        QCOMPARE(Probe::st(w).GrabX, std::int16_t(0));
    }
    QTest::mousePress(Child<widgets::PictureBox>(w, "picMain"), Qt::LeftButton, {}, OnWidget(300, 20));
    QTest::mouseMove(Child<widgets::PictureBox>(w, "picMain"), OnWidget(310, 30));
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), QPoint(100, 100));
    QTest::mouseRelease(Child<widgets::PictureBox>(w, "picMain"), Qt::LeftButton, {}, OnWidget(310, 30));
}

void TestSteering::pointerBetweenPixelsCountsAsThePixelItIsIn_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("kiteX");
    // Gripped at (10, 20) from (100, 100).
    QTest::newRow("349.5 from the corner stays at 349") << 359.5 << 349;
    QTest::newRow("0.5 from the corner is refused") << 10.5 << 100;
    QTest::newRow("101.5 from the corner is 101") << 111.5 << 101;
}

// A scaled screen can put the pointer between two of the display's pixels; the
// drag goes by the pixel it is in, so no corner is reached that whole pixels
// cannot reach.
void TestSteering::pointerBetweenPixelsCountsAsThePixelItIsIn()
{
    QFETCH(double, x);
    QFETCH(int, kiteX);
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mousePress(Child<widgets::PictureBox>(w, "picMain"), Qt::LeftButton, {}, OnWidget(110, 120));

    const QPointF at(x + widgets::PictureBox::Border, 150.0 + widgets::PictureBox::Border);
    QMouseEvent move(QEvent::MouseMove, at, Child<widgets::PictureBox>(w, "picMain")->mapToGlobal(at), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Child<widgets::PictureBox>(w, "picMain"), &move);
    QCOMPARE(int(Probe::st(w).KiteX), kiteX);
    QTest::mouseRelease(Child<widgets::PictureBox>(w, "picMain"), Qt::LeftButton, {}, OnWidget(110, 120));
}

void TestSteering::releaseWithoutDragKeepsTimerState_data()
{
    QTest::addColumn<bool>("running");
    QTest::newRow("running: stays on") << true;
    QTest::newRow("stopped: stays off") << false;
}

void TestSteering::releaseWithoutDragKeepsTimerState()
{
    QFETCH(bool, running);
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    if (!running)
        QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
    emit Child<widgets::PictureBox>(w, "picMain")->MouseUp(1, 0, 10.0f, 10.0f);
    QCOMPARE(Probe::flight(w).timerEnabled(), running);
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::False);

    // A whole drag while stopped does not touch the timer either.
    emit Child<widgets::PictureBox>(w, "picMain")->MouseDown(1, 0, 110.0f, 120.0f);
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::True);
    QCOMPARE(Probe::flight(w).timerEnabled(), false);
    emit Child<widgets::PictureBox>(w, "picMain")->MouseUp(1, 0, 110.0f, 120.0f);
    QCOMPARE(Probe::flight(w).timerEnabled(), running);
}

// No tick may pull a held kite from under the hand, a key pressed meanwhile
// included; the release starts the flight again.
void TestSteering::arrowDuringADragLeavesTheTimerOffUntilTheRelease()
{
    StillFlight f;
    QVERIFY(f.load());
    frmMain& w = f.w;
    emit Child<widgets::PictureBox>(w, "picMain")->MouseDown(1, 0, 110.0f, 120.0f);
    QVERIFY(!Probe::flight(w).timerEnabled());
    emit Child<widgets::PictureBox>(w, "picMain")->KeyDown(39, 0);
    QCOMPARE(Probe::st(w).KiteX, std::int16_t(105));
    QVERIFY(!Probe::flight(w).timerEnabled());
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::True);
    // Still dragging with the same grip.
    emit Child<widgets::PictureBox>(w, "picMain")->MouseMove(1, 0, 160.0f, 170.0f);
    QCOMPARE(QPoint(Probe::st(w).KiteX, Probe::st(w).KiteY), QPoint(150, 150));
    emit Child<widgets::PictureBox>(w, "picMain")->MouseUp(1, 0, 160.0f, 170.0f);
    QCOMPARE(Probe::st(w).Dragging, mdlAelor::False);
    QVERIFY(Probe::flight(w).isTicking());
}

QTEST_MAIN(TestSteering)
#include "tst_steering.moc"
