// The animation timer, on its own: when it ticks and when it must not.
#include "platform/AnimTimer.h"

#include <QElapsedTimer>
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
    // When the timer was last switched on, and how long after that each tick came.
    QElapsedTimer sinceSwitchOn;
    QList<qint64> tickAfterMs;
    connect(&timer, &platform::AnimTimer::Timer, this, [&] { tickAfterMs.append(sinceSwitchOn.elapsed()); });
    // A switch-on every 100 ms or so for over two intervals: each starts the
    // 500 ms anew. On a busy machine a wait may stretch past the interval and a
    // tick then comes, but never sooner than a whole interval after the switch-on.
    for (int i = 0; i < 12; ++i) {
        QTest::qWait(100);
        if (offFirst)
            timer.setEnabled(false);
        sinceSwitchOn.start();
        timer.setEnabled(true);
    }
    // Left alone, it does tick.
    QVERIFY(QTest::qWaitFor([&] { return !tickAfterMs.isEmpty(); }, 5000));
    for (qint64 ms : tickAfterMs)
        QVERIFY2(ms >= 500, qPrintable(QStringLiteral("a tick came %1 ms after a switch-on").arg(ms)));
    timer.setEnabled(false);
    QVERIFY(!timer.isTicking());
}

QTEST_MAIN(TestAnimTimer)
#include "tst_animtimer.moc"
