// The animation timer's wake-up, on its own and on the real clock: it comes,
// never before the moment asked for, once, and not at all when cancelled.
#include "platform/AnimTimer.h"

#include <QSignalSpy>
#include <QTest>

using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

class TestAnimTimer : public QObject {
    Q_OBJECT
private slots:
    void wakesOnceNeverSoonerThanAsked_data();
    void wakesOnceNeverSoonerThanAsked();
    void aLaterRequestReplacesTheEarlierOne();
    void cancelledWakesNothing();
};

void TestAnimTimer::wakesOnceNeverSoonerThanAsked_data()
{
    QTest::addColumn<nanoseconds>("after");
    // Between whole milliseconds (a refresh period of 60 Hz), on one, below one,
    // and a moment already past.
    QTest::newRow("16.67 ms") << nanoseconds(16'666'667);
    QTest::newRow("100 ms") << nanoseconds(milliseconds(100));
    QTest::newRow("0.3 ms") << nanoseconds(microseconds(300));
    QTest::newRow("past") << nanoseconds(milliseconds(-5));
}

void TestAnimTimer::wakesOnceNeverSoonerThanAsked()
{
    QFETCH(nanoseconds, after);
    platform::AnimTimer timer;
    std::optional<nanoseconds> woke;
    int wakes = 0;
    connect(&timer, &platform::AnimTimer::Timer, this, [&] {
        woke = platform::AnimTimer::Now();
        ++wakes;
    });
    const nanoseconds moment = platform::AnimTimer::Now() + after;
    timer.wakeAt(moment);
    QCOMPARE(timer.wakeMoment(), std::optional(moment));
    QVERIFY(QTest::qWaitFor([&] { return woke.has_value(); }, 5000));
    QVERIFY2(*woke >= moment, qPrintable(QStringLiteral("%1 ns early").arg((moment - *woke).count())));
    QCOMPARE(timer.wakeMoment(), std::nullopt);
    // Once: nothing more comes while the loop runs on.
    QTest::qWait(50);
    QCOMPARE(wakes, 1);
}

void TestAnimTimer::aLaterRequestReplacesTheEarlierOne()
{
    platform::AnimTimer timer;
    QSignalSpy wakes(&timer, &platform::AnimTimer::Timer);
    const nanoseconds start = platform::AnimTimer::Now();
    timer.wakeAt(start + milliseconds(10));
    timer.wakeAt(start + milliseconds(300));
    QVERIFY(wakes.wait(5000));
    QVERIFY(platform::AnimTimer::Now() >= start + milliseconds(300));
    QCOMPARE(wakes.count(), 1);
}

void TestAnimTimer::cancelledWakesNothing()
{
    platform::AnimTimer timer;
    QSignalSpy wakes(&timer, &platform::AnimTimer::Timer);
    timer.wakeAt(platform::AnimTimer::Now() + milliseconds(5));
    timer.wakeAt(std::nullopt);
    QCOMPARE(timer.wakeMoment(), std::nullopt);
    QTest::qWait(100);
    QCOMPARE(wakes.count(), 0);
    // A wake asked for afterwards still comes.
    timer.wakeAt(platform::AnimTimer::Now());
    QVERIFY(wakes.wait(5000));
}

QTEST_MAIN(TestAnimTimer)
#include "tst_animtimer.moc"
