// The animation timer, on its own: when it ticks and when it must not.
#include "platform/AnimTimer.h"

#include <QSignalSpy>
#include <QTest>

class TestAnimTimer : public QObject {
    Q_OBJECT
private slots:
    void timerIntervalZeroGivesNoTicks();
    void timerSwitchOnRestartsInterval_data();
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

void TestAnimTimer::timerSwitchOnRestartsInterval_data()
{
    QTest::addColumn<bool>("offFirst");
    QTest::newRow("enabled again while on") << false;
    QTest::newRow("switched off and on again") << true;
}

void TestAnimTimer::timerSwitchOnRestartsInterval()
{
    QFETCH(bool, offFirst);
    platform::AnimTimer timer;
    timer.setInterval(500);
    QSignalSpy ticks(&timer, &platform::AnimTimer::Timer);
    // A switch-on every 100 ms for over two intervals: each starts the 500 ms
    // anew, so none of them may run out.
    for (int i = 0; i < 12; ++i) {
        QTest::qWait(100);
        if (offFirst)
            timer.setEnabled(false);
        timer.setEnabled(true);
    }
    QCOMPARE(ticks.count(), 0);
    // Left alone, it does tick.
    QVERIFY(ticks.wait(5000));
    timer.setEnabled(false);
    QVERIFY(!timer.isTicking());
}

QTEST_MAIN(TestAnimTimer)
#include "tst_animtimer.moc"
