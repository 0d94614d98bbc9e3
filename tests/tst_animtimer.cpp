// The animation timer, on its own: when it ticks and when it must not.
#include "platform/AnimTimer.h"

#include <QSignalSpy>
#include <QTest>

class TestAnimTimer : public QObject {
    Q_OBJECT
private slots:
    void timerIntervalZeroGivesNoTicks();
    void timerSwitchOnRestartsInterval();
};

void TestAnimTimer::timerIntervalZeroGivesNoTicks()
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

void TestAnimTimer::timerSwitchOnRestartsInterval()
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

QTEST_MAIN(TestAnimTimer)
#include "tst_animtimer.moc"
