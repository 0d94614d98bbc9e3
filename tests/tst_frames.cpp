// The frames of a real main window: what the back buffer and the display hold
// after every event, and when the display repaints.
//
// Environment, for the random sequence:
//   AELORIN_FRAMES_SEED    the seed to replay; without it a fresh one is drawn
//   AELORIN_FRAMES_EVENTS  how many events (default 3000)
#include "LoadedWindow.h"
#include "Probe.h"
#include "framesupport.h"

#include <QHash>
#include <QPaintEvent>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <random>

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

namespace {

// A frame: the sprite frame and where the kite's cell lies.
struct Shown {
    int frame, x, y;
    bool operator==(const Shown&) const = default;
};

Shown ShownBy(const mdlAelor::FlightState& s)
{
    return {s.FrameNo, s.KiteX, s.KiteY};
}

// Records every repaint of the display: when, on the test's clock, where, and
// the picture it showed.
struct PaintLog : QObject {
    struct Paint {
        nanoseconds at;
        QRegion region;
        QImage shown;
    };
    const TestClock* clock;
    widgets::PictureBox* display;
    QList<Paint> paints;
    PaintLog(const TestClock* c, widgets::PictureBox* d)
        : clock(c)
        , display(d)
    {
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            paints.append({clock->now, static_cast<QPaintEvent*>(e)->region(), display->image().copy()});
        }
        return false;
    }
};

// The first pixel of the drawing area that differs between two pictures and
// lies outside a repainted region (in the display's coordinates, inside its
// 2-pixel border), or nothing.
QString UnpaintedChange(const QImage& before, const QImage& after, const QRegion& painted)
{
    for (int y = 0; y < 346; ++y) {
        for (int x = 0; x < 376; ++x) {
            if (before.pixel(x, y) != after.pixel(x, y) && !painted.contains(QPoint(x + 2, y + 2)))
                return QStringLiteral("(%1, %2)").arg(x).arg(y);
        }
    }
    return QString();
}

// Types the entries of the settings panel and clicks OK, as a person does; a
// step of 0 is typed as 0.3, which the panel keeps as 0.
void Apply(frmMain& w, int stepX, int stepY, std::optional<int> intervalMs = {})
{
    auto text = [](int step) { return step == 0 ? QStringLiteral("0.3") : QString::number(step); };
    Child<QComboBox>(w, "cmbHoriz")->setEditText(text(stepX));
    Child<QComboBox>(w, "cmbVert")->setEditText(text(stepY));
    if (intervalMs)
        Child<QLineEdit>(w, "txtInter")->setText(QString::number(*intervalMs));
    QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);
}

}  // namespace

class TestFrames : public LoadedWindowTest {
    Q_OBJECT
private slots:
    void everyEventLeavesTheWholeFrame();
    void displayRepaintsAtTheScreensPace_data();
    void displayRepaintsAtTheScreensPace();
};

// Ticks at every step up to 30 and 60, drags, keys with every modifier mask,
// stops and starts, in a random order that reaches every edge and beyond: after
// each one the back buffer and the display hold exactly the frame composed whole.
// The steps are typed into the settings panel; the ticks come from the test's
// clock, one a wake at the start-up interval.
void TestFrames::everyEventLeavesTheWholeFrame()
{
    bool seedGiven = false;
    const quint64 seed = qEnvironmentVariable("AELORIN_FRAMES_SEED").toULongLong(&seedGiven);
    const quint64 used = seedGiven ? seed : QRandomGenerator::global()->generate64();
    const int events = qEnvironmentVariableIntValue("AELORIN_FRAMES_EVENTS") > 0
                           ? qEnvironmentVariableIntValue("AELORIN_FRAMES_EVENTS")
                           : 3000;
    qInfo("frames: seed %llu, %d events (replay with AELORIN_FRAMES_SEED=%llu)", used, events, used);
    std::mt19937_64 dice(used);
    auto below = [&dice](int n) { return int(dice() % quint64(n)); };

    frmMain& w = m_loaded->w;
    TestClock& clock = m_loaded->clock;
    Probe::driveClock(w, clock);
    const auto& st = Probe::st(w);
    const auto& surfaces = Probe::surfaces(w);
    QHash<quint64, QImage> wanted;
    std::optional<Shown> shown;
    QSet<int> edgesReached;
    for (int event = 0; event < events; ++event) {
        switch (below(10)) {
        case 0:
            Apply(w, below(31), below(61));
            break;
        case 1: {
            const int keys[] = {37, 38, 39, 40, 16, 65};
            const int key = keys[below(6)], mask = below(8);
            emit Child<widgets::PictureBox>(w, "picMain")->KeyDown(key, mask);
            shown = ShownBy(st);
            break;
        }
        case 2: {
            // A press somewhere on or around the kite, moves anywhere, a release.
            emit Child<widgets::PictureBox>(w, "picMain")
                ->MouseDown(1, 0, float(st.KiteX + below(40) - 5), float(st.KiteY + below(70) - 5));
            for (int n = below(4); n > 0; --n) {
                const auto before = ShownBy(st);
                emit Child<widgets::PictureBox>(w, "picMain")
                    ->MouseMove(1, 0, float(below(400) - 10), float(below(370) - 10));
                if (ShownBy(st) != before)
                    shown = ShownBy(st);
            }
            emit Child<widgets::PictureBox>(w, "picMain")->MouseUp(1, 0, 0, 0);
            break;
        }
        case 3:
            QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
            break;
        default: {
            // Now and then the step that carries the cell onto the turning limit
            // ahead, and from there just wholly beyond the edge.
            const auto aim = [&](int at, int dir, int limit, int cell, int most) {
                const int beyond = dir > 0 ? limit + cell - at : at + cell;
                const int onto = dir > 0 ? limit - at : at;
                if (beyond >= 0 && beyond <= most)
                    return beyond;
                return onto >= 0 && onto <= most && below(3) == 0 ? onto : -1;
            };
            const int stepX = aim(st.KiteX, st.DirX, 350, 30, 30);
            const int stepY = aim(st.KiteY, st.DirY, 290, 60, 60);
            if (stepX >= 0 || stepY >= 0)
                Apply(w, stepX >= 0 ? stepX : st.StepX, stepY >= 0 ? stepY : st.StepY);
            if (!st.Running)
                QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
            shown = ShownBy(st);
            WakeNext(w, clock);
            break;
        }
        }
        if (!shown)
            continue;
        // Which edges the cell lies partly (odd) or wholly (even) beyond.
        for (const auto& [at, low, high, size] : {std::tuple{shown->x, 0, 350, 30}, {shown->y, 4, 290, 60}}) {
            if (at < 0 || at > high)
                edgesReached.insert(low + 2 * (at > high) + (at > -size && at < high + size));
        }
        const quint64 key = quint64(shown->frame) << 40 | quint64(quint16(shown->x)) << 20 | quint16(shown->y);
        if (!wanted.contains(key))
            wanted.insert(key, ExpectedFrame(surfaces.picBack, surfaces.picKite, shown->frame, shown->x, shown->y));
        const QImage want = wanted[key];
        for (const QImage* seen :
             {&surfaces.picWork, &std::as_const(Child<widgets::PictureBox>(w, "picMain")->image())})
            QVERIFY2(*seen == want, qPrintable(QStringLiteral("seed %1, event %2, the %3: %4")
                                                   .arg(used)
                                                   .arg(event)
                                                   .arg(seen == &surfaces.picWork ? "back buffer" : "display")
                                                   .arg(FirstDifference(*seen, want))));
    }
    // Partly and wholly beyond each of the four edges.
    QCOMPARE(edgesReached.size(), 8);
}

// The flight at one interval for a while, with handlers that run the ticks due
// between the refreshes, then stopped, on a screen of one refresh rate, on a
// clock the test moves. While ticks come faster than the screen, repaints come
// exactly one refresh period apart, else one at each tick; every tick reaches
// the screen within a refresh period; every repaint covers every pixel that
// changed since the one before; after the stop the last frame is shown and
// nothing is left waiting.
void TestFrames::displayRepaintsAtTheScreensPace_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<double>("hz");
    QTest::newRow("1 ms at 60 Hz") << 1 << 60.0;
    QTest::newRow("7 ms at 60 Hz") << 7 << 60.0;
    QTest::newRow("10 ms at 60 Hz") << 10 << 60.0;
    QTest::newRow("1 ms at 144 Hz") << 1 << 144.0;
    QTest::newRow("17 ms at 60 Hz: each tick at once") << 17 << 60.0;
    QTest::newRow("100 ms at 60 Hz: each tick at once") << 100 << 60.0;
}

void TestFrames::displayRepaintsAtTheScreensPace()
{
    QFETCH(int, intervalMs);
    QFETCH(double, hz);
    const nanoseconds interval = milliseconds(intervalMs);

    frmMain& w = m_loaded->w;
    TestClock& clock = m_loaded->clock;
    clock.period = nanoseconds(qRound64(1e9 / hz));
    Probe::driveClock(w, clock);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* picMain = Child<widgets::PictureBox>(w, "picMain");
    const QImage blank = picMain->image().copy();

    // The ticks count from the click on OK. The display's own repaint for the
    // focus it loses to the button is not the flight's.
    Apply(w, 7, 13, intervalMs);
    QCoreApplication::processEvents();
    PaintLog log(&clock, picMain);
    picMain->installEventFilter(&log);
    const nanoseconds start = clock.now, stop = start + milliseconds(300);
    // Between the refreshes, now and then, a handler that runs the ticks due and
    // composes nothing of its own: the music switched.
    nanoseconds nextInput = start + milliseconds(5);
    int music = 1;
    for (bool stopped = false;;) {
        const auto wake = Probe::nextWake(w);
        const nanoseconds next = stopped ? nanoseconds::max() : std::min(nextInput, stop);
        if (wake && *wake <= next) {
            clock.now = *wake;
            Probe::wake(w);
        } else if (stopped) {
            break;
        } else if (next == stop) {
            clock.now = stop;
            QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
            stopped = true;
        } else {
            clock.now = next;
            Child<QAction>(w, "mnuBgmItem", music)->trigger();
            music = 1 - music;
            nextInput += milliseconds(23);
        }
    }

    const auto& paints = log.paints;
    QVERIFY(!paints.isEmpty());
    QList<nanoseconds> ticks;
    for (nanoseconds t = start + interval; t <= stop; t += interval)
        ticks.append(t);
    if (interval < clock.period) {
        for (qsizetype i = 1; i < paints.size(); ++i)
            QVERIFY2(paints[i].at - paints[i - 1].at == clock.period,
                     qPrintable(QStringLiteral("repaint %1 came %2 ns after the one before")
                                    .arg(i)
                                    .arg((paints[i].at - paints[i - 1].at).count())));
    } else {
        QCOMPARE(paints.size(), ticks.size());
        for (qsizetype i = 0; i < paints.size(); ++i)
            QCOMPARE(paints[i].at, ticks[i]);
    }
    for (const nanoseconds t : ticks) {
        const bool reached = std::any_of(paints.begin(), paints.end(), [&](const PaintLog::Paint& p) {
            return p.at >= t && p.at - t <= clock.period;
        });
        QVERIFY2(
            reached,
            qPrintable(QStringLiteral("the tick at %1 ns never reached the screen in time").arg((t - start).count())));
    }
    for (qsizetype i = 0; i < paints.size(); ++i) {
        const QString missed = UnpaintedChange(i == 0 ? blank : paints[i - 1].shown, paints[i].shown, paints[i].region);
        QVERIFY2(missed.isEmpty(), qPrintable(QStringLiteral("repaint %1 missed %2").arg(i).arg(missed)));
    }
    // The last frame composed is on the screen, and nothing waits.
    QCOMPARE(picMain->image(), paints.last().shown);
    QCOMPARE(Probe::nextWake(w), std::nullopt);
}

QTEST_MAIN(TestFrames)
#include "tst_frames.moc"
