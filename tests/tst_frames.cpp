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

// Records every repaint of the display: when, on the test's clock, after how
// many composed frames, and where.
struct PaintLog : QObject {
    struct Paint {
        nanoseconds at;
        qsizetype after;
        QRegion region;
    };
    const nanoseconds* now;
    const qsizetype* frames;
    QList<Paint> paints;
    PaintLog(const nanoseconds* clock, const qsizetype* composed)
        : now(clock)
        , frames(composed)
    {
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            paints.append({*now, *frames, static_cast<QPaintEvent*>(e)->region()});
        return false;
    }
};

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
    Probe::timAnime(w).setEnabled(false);  // the test ticks
    auto& st = Probe::st(w);
    const auto& surfaces = Probe::surfaces(w);
    QHash<quint64, QImage> wanted;
    std::optional<Shown> shown;
    QSet<int> edgesReached;
    for (int event = 0; event < events; ++event) {
        switch (below(10)) {
        case 0:
            st.StepX = std::int16_t(below(31));
            st.StepY = std::int16_t(below(61));
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
            Probe::timAnime(w).setEnabled(false);
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
            if (const int step = aim(st.KiteX, st.DirX, 350, 30, 30); step >= 0)
                st.StepX = std::int16_t(step);
            if (const int step = aim(st.KiteY, st.DirY, 290, 60, 60); step >= 0)
                st.StepY = std::int16_t(step);
            shown = ShownBy(st);
            Probe::timAnime_Timer(w);
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

// The flight at one interval for a while, then stopped, on a screen of one
// refresh rate, on a clock the test moves: no two repaints within one refresh
// period, each covers every cell the kite left or entered since the one
// before, every frame is repainted within one refresh period of its tick, and
// after the stop the last one is, with nothing left waiting.
void TestFrames::displayRepaintsAtTheScreensPace_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<double>("hz");
    QTest::newRow("1 ms at 60 Hz") << 1 << 60.0;
    QTest::newRow("7 ms at 60 Hz") << 7 << 60.0;
    QTest::newRow("1 ms at 144 Hz") << 1 << 144.0;
    QTest::newRow("17 ms at 60 Hz: each tick at once") << 17 << 60.0;
    QTest::newRow("100 ms at 60 Hz: each tick at once") << 100 << 60.0;
}

void TestFrames::displayRepaintsAtTheScreensPace()
{
    QFETCH(int, intervalMs);
    QFETCH(double, hz);
    const nanoseconds period(qRound64(1e9 / hz));
    const nanoseconds interval = milliseconds(intervalMs);

    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Probe::timAnime(w).setEnabled(false);  // the test ticks, on its own clock
    Probe::timAnime(w).setInterval(intervalMs);
    auto& st = Probe::st(w);
    st.StepX = 7;
    st.StepY = 13;
    nanoseconds now = std::chrono::hours(1);
    FramePresenter& presenter = Probe::presenter(w);
    presenter.setClock([&now] { return now; });
    presenter.setRefreshPeriod([period] { return period; });
    // Each composed frame: when, and the cells it changed, in the display's
    // coordinates (inside its 2-pixel border), cut to what the display shows.
    struct Composed {
        nanoseconds at;
        QRegion cells;
    };
    QList<Composed> composed;
    qsizetype composedCount = 0;
    PaintLog log(&now, &composedCount);
    Child<widgets::PictureBox>(w, "picMain")->installEventFilter(&log);
    const QRect drawingArea = Child<widgets::PictureBox>(w, "picMain")->rect().adjusted(2, 2, -2, -2);
    std::optional<QRect> lastCell;
    const nanoseconds stop = now + milliseconds(300);
    // The clock goes from event to event: the next tick, or the moment the
    // presenter's repaint is due, whichever comes first; the flight stops after a
    // while, and the loop ends once nothing is left waiting.
    for (nanoseconds next = now; next < stop || presenter.due();) {
        if (presenter.due() && (next >= stop || *presenter.due() <= next)) {
            now = *presenter.due();
            presenter.repaintPending();
            continue;
        }
        now = next;
        const QRect cell = mdlAelor::KiteCell(st).translated(2, 2);
        composed.append({now, (QRegion(cell) + lastCell.value_or(cell)) & drawingArea});
        lastCell = cell;
        composedCount = composed.size();
        Probe::timAnime_Timer(w);
        next += interval;
    }

    const auto& paints = log.paints;
    for (qsizetype i = 1; i < paints.size(); ++i)
        QVERIFY2(paints[i].at - paints[i - 1].at >= period, qPrintable(QString::number(i)));
    qsizetype p = 0;
    for (qsizetype i = 0; i < composed.size(); ++i) {
        while (p < paints.size() && paints[p].after <= i)
            ++p;
        const QString frame = QStringLiteral("frame %1").arg(i);
        QVERIFY2(p < paints.size(), qPrintable(frame + QStringLiteral(" never reached the screen")));
        QVERIFY2(paints[p].at - composed[i].at <= period, qPrintable(frame + QStringLiteral(" waited too long")));
        QVERIFY2((composed[i].cells - paints[p].region).isEmpty(),
                 qPrintable(frame + QStringLiteral(": a cell missed")));
    }
    if (interval >= period)
        QCOMPARE(paints.size(), composed.size());
}

QTEST_MAIN(TestFrames)
#include "tst_frames.moc"
