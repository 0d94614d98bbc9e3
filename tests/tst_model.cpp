// A real main window driven through long random sequences of ticks, key presses
// with every modifier mask, mouse presses, moves and releases anywhere (fractions
// and places outside the display included), start/stop clicks and settings
// changes, each step compared with a small reference of the flight's rules
// written here on its own terms.
//
// Everything happens at a moment of a clock the test drives. The reference runs
// each tick on its own, at the moment it falls due, as a program that woke for
// every tick would; the window wakes when its timer asks, at most once a refresh
// period, and runs the ticks due together. After every input and at every wake
// both must agree. Every wake comes a little late, as on a real machine, and
// now and then the thread is held past the timer's moment (more than a refresh
// period late, a stall: the ticks of one refresh period and one more run, the
// count starts afresh), or the window is minimized or hidden (nothing wakes, and every tick due
// meanwhile runs when it is restored or an input comes).
//
// Seeded and reproducible: the seed is printed at the start, and a failure names
// the seed, the step and the last events. Environment:
//   AELORIN_MODEL_EVENTS  events to run (20000 by default; the long run uses 1000000)
//   AELORIN_MODEL_SEED    the seed to replay; without it a fresh one is drawn
// The test command sets both, so that it runs the same events every time.
#include "LoadedWindow.h"
#include "Probe.h"
#include "fakes.h"
#include "framesupport.h"

#include "app/frmMain.h"
#include "platform/Fonts.h"
#include "rules/Raster.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>
#include <string>

namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// ---------------------------------------------------------------------------
// The reference: the rules of the tick, the settings panel, start/stop, the
// drag and the arrow keys, on plain ints.

// Nearest integer, a half to the even neighbour.
double NearestEven(double v)
{
    const double below = std::floor(v);
    const double fraction = v - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

struct Shown {
    int x, y, frame;
};

struct Reference {
    // The moment the current event happens, and the screen's refresh period.
    nanoseconds now{};
    nanoseconds period{};
    // When the next tick falls due while the timer is on, and whether anyone
    // can see the window.
    nanoseconds nextDue{};
    bool watched = true;
    int KiteX = 100, KiteY = 100;
    int StepX = 1, StepY = 1;
    int DirX = 1, DirY = 1;
    int GrabX = 0, GrabY = 0;
    int FrameNo = 1;
    int KeyStep = 5;
    bool Dragging = false;
    bool Running = true;
    bool timerOn = true;
    int interval = 100;
    // What the display shows: the place and frame of the last composed frame.
    std::optional<Shown> shown;
    // Titles of the message boxes the last event showed.
    QStringList boxes;
    // How often the rarer rules came into play, for the summary.
    long long drags = 0, follows = 0, overshoots = 0, ticks = 0, dropped = 0;

    void compose() { shown = Shown{KiteX, KiteY, FrameNo}; }

    // Every switch-on, even of a timer already on, starts a whole interval.
    void timerOnNow()
    {
        timerOn = true;
        nextDue = now + milliseconds(interval);
    }

    // The ticks due by now, each on its own. When the thread was held, so that
    // the program runs them more than a refresh period after the moment it asked
    // for, a window that can be seen runs at most the ticks of one refresh
    // period and one more, and the next falls due a whole interval later.
    void runDue(nanoseconds late)
    {
        if (!timerOn || interval <= 0 || now < nextDue)
            return;
        const nanoseconds step = milliseconds(interval);
        const long long due = (now - nextDue) / step + 1;
        const long long most = period / step + 1;
        if (late > period && watched && due > most) {
            for (long long i = 0; i < most; ++i)
                tick();
            dropped += due - most;
            nextDue = now + step;
            return;
        }
        for (long long i = 0; i < due; ++i)
            tick();
        nextDue += due * step;
    }

    // One tick: the frame shows the state before it, then the state moves on.
    void tick()
    {
        ++ticks;
        compose();
        FrameNo = FrameNo == 6 ? 1 : FrameNo + 1;
        KiteX += StepX * DirX;
        if (KiteX > 350)
            DirX = -1;
        else if (KiteX < 0)
            DirX = 1;
        KiteY += StepY * DirY;
        if (KiteY > 290)
            DirY = -1;
        else if (KiteY < 0)
            DirY = 1;
    }

    void key(int code, int mask)
    {
        if (Running)
            timerOn = false;
        if (mask == 1)
            KeyStep = 15;
        switch (code) {
        case 38:
            if (KiteY > 0)
                KiteY -= KeyStep;
            break;
        case 40:
            if (KiteY < 290)
                KiteY += KeyStep;
            break;
        case 37:
            if (KiteX > 0)
                KiteX -= KeyStep;
            break;
        case 39:
            if (KiteX < 350)
                KiteX += KeyStep;
            break;
        default:
            break;
        }
        if (KiteX < 0 || KiteX > 350 || KiteY < 0 || KiteY > 290)
            ++overshoots;
        compose();
        // A key during a drag leaves the timer off until the release.
        if (Running && !Dragging)
            timerOnNow();
        KeyStep = 5;
    }

    // Pointer positions are single precision, and so is the arithmetic on them.
    void press(float x, float y)
    {
        const bool onKite = x > float(KiteX) && x < float(KiteX + 30) && y > float(KiteY) && y < float(KiteY + 60);
        if (!onKite)
            return;
        if (Running)
            timerOn = false;
        Dragging = true;
        ++drags;
        GrabX = int(NearestEven(double(x - float(KiteX))));
        GrabY = int(NearestEven(double(y - float(KiteY))));
    }

    void move(float x, float y)
    {
        const float cornerX = x - float(GrabX);
        const float cornerY = y - float(GrabY);
        if (Dragging && cornerX > 0 && cornerX < 350 && cornerY > 0 && cornerY < 290) {
            KiteX = int(NearestEven(double(cornerX)));
            KiteY = int(NearestEven(double(cornerY)));
            ++follows;
            compose();
        }
    }

    void release()
    {
        if (Running)
            timerOnNow();
        Dragging = false;
    }

    void startStop()
    {
        Running = !Running;
        if (Running)
            timerOnNow();
        else
            timerOn = false;
    }

    // The three entries' numbers, as the texts typed into them read. Every box
    // is answered Yes, so the settings always run to their end.
    void settings(double horiz, double vert, double inter)
    {
        if (Running)
            timerOn = false;
        if (horiz > 0 && horiz <= 30)
            StepX = int(NearestEven(horiz));
        else
            boxes.append(QStringLiteral("「左右方向」入力エラー"));
        if (vert > 0 && vert <= 60)
            StepY = int(NearestEven(vert));
        else
            boxes.append(QStringLiteral("「上下方向」入力エラー"));
        // An interval that rounds to 0 would give a timer that never ticks
        // under a flight shown as running; the program refuses it like any other
        // number out of range.
        if (inter > 0 && inter <= 3000 && NearestEven(inter) != 0)
            interval = int(NearestEven(inter));
        else
            boxes.append(QStringLiteral("「間隔」入力エラー"));
        if (Running)
            timerOnNow();
    }
};

// ---------------------------------------------------------------------------
// Random events.

class Dice {
public:
    explicit Dice(quint64 seed)
        : m_engine(seed)
    {
    }
    // 0 .. n - 1.
    int below(int n) { return int(m_engine() % quint64(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    // A coordinate: whole, a half (the rounding ties), an eighth, or any fraction.
    float coordinate(int lo, int hi)
    {
        const int whole = between(lo, hi);
        switch (below(4)) {
        case 0:
            return float(whole);
        case 1:
            return float(whole) + 0.5f;
        case 2:
            return float(whole) + float(below(8)) / 8.0f;
        default:
            return float(whole) + float(m_engine() % 1000003) / 1000003.0f;
        }
    }

private:
    std::mt19937_64 m_engine;
};

// How long after the last event the next one comes: at once, within a
// millisecond, within a refresh period, within two intervals, or a while later.
nanoseconds Gap(Dice& dice, int intervalMs, nanoseconds period)
{
    switch (dice.below(10)) {
    case 0:
    case 1:
        return nanoseconds::zero();
    case 2:
    case 3:
        return nanoseconds(dice.below(1'000'000));
    case 4:
    case 5:
        return nanoseconds(dice.below(int(period.count())));
    case 6:
    case 7:
    case 8:
        return milliseconds(dice.below(2 * std::max(intervalMs, 1) + 1)) + nanoseconds(dice.below(1'000'000));
    default:
        return milliseconds(dice.below(300));
    }
}

// How late a wake comes: on time, within a millisecond or two (a timer's
// rounding, the event loop), or up to a refresh period and a half (a busy machine).
nanoseconds Lateness(Dice& dice, nanoseconds period)
{
    const int most[] = {1, 1'000'000, 2'000'000, int(period.count() * 3 / 2)};
    return nanoseconds(dice.below(most[dice.below(4)]));
}

// How long the thread is held: less than a refresh period, a few of them, or
// as long as the opening chime.
nanoseconds Hold(Dice& dice, nanoseconds period)
{
    switch (dice.below(5)) {
    case 0:
    case 1:
        return nanoseconds(dice.below(int(period.count())));
    case 2:
    case 3:
        return period + nanoseconds(dice.below(int(4 * period.count())));
    default:
        return milliseconds(dice.below(2000));
    }
}

// A text for a settings entry and the number it stands for, made from the
// number: digits plain or full width, blanks between them, a leading sign,
// decimals, exponents with E or D, &H and &O integers, text after the number,
// and texts that hold no number at all.
struct Entry {
    QString text;
    double value;
};

QString FullWidthDigits(const QString& s)
{
    QString out;
    for (const QChar c : s)
        out.append(c.isDigit() ? QChar(char16_t(c.unicode() - u'0' + u'０')) : c);
    return out;
}

Entry MakeEntry(Dice& dice)
{
    // Mostly around the limits 30, 60 and 3000, sometimes anywhere.
    auto integer = [&dice] {
        switch (dice.below(4)) {
        case 0:
            return dice.between(-2, 65);
        case 1:
            return dice.between(0, 12);
        case 2:
            return dice.between(2990, 3010);
        default:
            return dice.between(-100, 40000);
        }
    };
    static const char* const tails[] = {"px", "abc", "!", "/2", ",5", "x1", "ｐ"};
    switch (dice.below(9)) {
    case 0: {  // the start-up form: a space in the place of the sign
        const int n = integer();
        return {(n < 0 ? QString() : QStringLiteral(" ")) + QString::number(n), double(n)};
    }
    case 1: {  // digits with a blank between two of them
        const int n = dice.between(10, 3100);
        QString text = QString::number(n);
        text.insert(1 + dice.below(int(text.size()) - 1), QLatin1Char(' '));
        return {text, double(n)};
    }
    case 2: {  // full-width digits
        const int n = integer();
        return {FullWidthDigits(QString::number(n)), double(n)};
    }
    case 3: {  // text after the number
        const int n = integer();
        return {QString::number(n) + QString::fromUtf8(tails[dice.below(7)]), double(n)};
    }
    case 4: {  // a decimal fraction
        static const char* const fractions[] = {"5", "25", "75", "3", "4", "6", "1", "9", "05", "50"};
        const char* f = fractions[dice.below(10)];
        const int n = dice.chance(80) ? dice.between(0, 62) : dice.between(2995, 3001);
        const bool negative = dice.chance(10);
        const double value = (double(n) + std::atof((std::string("0.") + f).c_str())) * (negative ? -1 : 1);
        return {QStringLiteral("%1%2.%3").arg(negative ? QStringLiteral("-") : QString()).arg(n).arg(QLatin1String(f)),
                value};
    }
    case 5: {  // mantissa and exponent: the quotient and product are exact or correctly rounded
        const int m = dice.between(1, 99);
        const int e = dice.between(-2, 3);
        const char letter = "EeDd"[dice.below(4)];
        const double value = e < 0 ? double(m) / std::pow(10.0, -e) : double(m) * std::pow(10.0, e);
        return {QStringLiteral("%1%2%3").arg(m).arg(QLatin1Char(letter)).arg(e), value};
    }
    case 6: {  // &H and &O integers, in either case
        const int n = dice.chance(50) ? dice.between(0, 65) : dice.between(2990, 3100);
        const bool hex = dice.chance(50);
        QString digits = QString::number(n, hex ? 16 : 8);
        if (dice.chance(50))
            digits = digits.toUpper();
        const QString prefix = hex ? (dice.chance(50) ? QStringLiteral("&H") : QStringLiteral("&h"))
                                   : (dice.chance(50) ? QStringLiteral("&O") : QStringLiteral("&o"));
        return {prefix + digits, double(n)};
    }
    case 7: {  // no number at all, or one beyond any range
        static const char* const none[] = {"",    "abc", "-",     ".",      "e5",     "&",
                                           "&X1", "＋",  "1e400", "-1e400", "1e-400", " "};
        const int i = dice.below(12);
        const double values[] = {0, 0, 0, 0, 0, 0, 0, 0, HUGE_VAL, -HUGE_VAL, 0, 0};
        return {QString::fromUtf8(none[i]), values[i]};
    }
    default: {  // a plain integer
        const int n = integer();
        return {QString::number(n), double(n)};
    }
    }
}

// ---------------------------------------------------------------------------

QString Num(float v)
{
    return QString::number(double(v), 'g', 9);
}

int EnvInt(const char* name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

}  // namespace

class TestModel : public LoadedWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyStepFollowsTheRules();
};

void TestModel::initTestCase()
{
    platform::InstallFonts();
}

void TestModel::everyStepFollowsTheRules()
{
    const int events = EnvInt("AELORIN_MODEL_EVENTS", 20000);
    bool seedGiven = false;
    const quint64 seed = qEnvironmentVariable("AELORIN_MODEL_SEED").toULongLong(&seedGiven);
    const quint64 used = seedGiven ? seed : QRandomGenerator::global()->generate64();
    qInfo("model: seed %llu, %d events (replay with AELORIN_MODEL_SEED=%llu AELORIN_MODEL_EVENTS=%d)", used, events,
          used, events);

    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    TestClock& clock = m_loaded->clock;
    // The test's clock from before the event loop first runs: on a busy machine
    // the wait for the window could otherwise let the real timer tick.
    Probe::driveClock(w, clock);
    // Shown, so that it can be minimized.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QList<SoundCall> soundsAtStart = world.sound.calls;

    Reference ref;
    ref.now = clock.now;
    ref.period = clock.period;
    ref.nextDue = clock.now + milliseconds(100);
    Dice dice(used);
    Entry horiz{QStringLiteral(" 1"), 1}, vert{QStringLiteral(" 1"), 1}, inter{QStringLiteral(" 100"), 100};
    int counts[7] = {};
    long long boxes = 0;
    QImage blank(mdlAelor::DisplayWidth, mdlAelor::DisplayHeight, raster::SurfaceFormat);
    blank.fill(Qt::white);

    // Whatever differs between the window and the reference, or breaks an
    // invariant; empty when all agree.
    auto mismatch = [&](bool withDisplay) -> QString {
        const auto& s = Probe::st(w);
        QStringList out;
        auto same = [&out](const char* name, long long got, long long want) {
            if (got != want)
                out.append(QStringLiteral("%1 is %2, the rules say %3").arg(QLatin1String(name)).arg(got).arg(want));
        };
        same("KiteX", s.KiteX, ref.KiteX);
        same("KiteY", s.KiteY, ref.KiteY);
        same("StepX", s.StepX, ref.StepX);
        same("StepY", s.StepY, ref.StepY);
        same("DirX", s.DirX, ref.DirX);
        same("DirY", s.DirY, ref.DirY);
        same("GrabX", s.GrabX, ref.GrabX);
        same("GrabY", s.GrabY, ref.GrabY);
        same("FrameNo", s.FrameNo, ref.FrameNo);
        same("KeyStep", s.KeyStep, ref.KeyStep);
        same("Dragging", s.Dragging, ref.Dragging ? -1 : 0);
        same("Running", s.Running, ref.Running ? -1 : 0);
        same("BgmOn", Probe::BgmOn(w), -1);
        same("timer enabled", Probe::flight(w).timerEnabled(), ref.timerOn);
        same("interval", Probe::flight(w).timerInterval(), ref.interval);
        same("timer ticking", Probe::flight(w).isTicking(), ref.timerOn && ref.interval > 0);
        same("watched", Probe::flight(w).watched(), ref.watched);
        const QString label = ref.Running ? QStringLiteral("作動中") : QStringLiteral("停止中");
        if (Child<QLabel>(w, "lblChange")->text() != label)
            out.append(QStringLiteral("the label reads %1, not %2").arg(Child<QLabel>(w, "lblChange")->text(), label));
        QStringList titles;
        for (const MsgBoxCall& c : world.msgbox.calls)
            titles.append(c.title);
        boxes += titles.size();
        world.msgbox.calls.clear();
        if (titles != ref.boxes)
            out.append(QStringLiteral("message boxes [%1], the rules say [%2]")
                           .arg(titles.join(QLatin1Char(',')), ref.boxes.join(QLatin1Char(','))));
        if (!world.endCalls.isEmpty())
            out.append(QStringLiteral("the program was ended"));
        if (world.sound.calls != soundsAtStart)
            out.append(QStringLiteral("a sound request was made"));

        // Invariants that hold whatever the sequence.
        if (s.FrameNo < 1 || s.FrameNo > 6)
            out.append(QStringLiteral("FrameNo %1 outside 1..6").arg(s.FrameNo));
        if (std::abs(s.DirX) != 1 || std::abs(s.DirY) != 1)
            out.append(QStringLiteral("a direction is neither +1 nor -1"));
        if (s.KiteX < -100 || s.KiteX > 500 || s.KiteY < -100 || s.KiteY > 500)
            out.append(QStringLiteral("the kite is far outside the display at (%1, %2)").arg(s.KiteX).arg(s.KiteY));
        if (s.GrabX < 0 || s.GrabX > 30 || s.GrabY < 0 || s.GrabY > 60)
            out.append(QStringLiteral("the grip (%1, %2) lies outside the kite").arg(s.GrabX).arg(s.GrabY));
        if (!s.Running && Probe::flight(w).timerEnabled())
            out.append(QStringLiteral("the timer runs while the flight is stopped"));
        if (s.Running && !s.Dragging && !Probe::flight(w).timerEnabled())
            out.append(QStringLiteral("the timer is off while the flight runs and nothing is dragged"));

        if (withDisplay) {
            const QImage want = ref.shown ? ExpectedFrame(Probe::surfaces(w).picBack, Probe::surfaces(w).picKite,
                                                          ref.shown->frame, ref.shown->x, ref.shown->y)
                                          : blank;
            const QString difference = FirstDifference(Child<widgets::PictureBox>(w, "picMain")->image(), want);
            if (!difference.isEmpty())
                out.append(QStringLiteral("the display does not show the last composed frame: %1").arg(difference));
        }
        ref.boxes.clear();
        return out.join(QStringLiteral("; "));
    };

    std::deque<QString> recent;
    long long wakes = 0, holds = 0, minimized = 0;
    bool hiddenNotMinimized = false;
    // Each failure names the seed, the step and the events before it.
    auto failure = [&](int step, const QString& what, const QString& wrong) {
        recent.push_back(QStringLiteral("%1: %2").arg(step).arg(what));
        if (recent.size() > 12)
            recent.pop_front();
        if (wrong.isEmpty())
            return QString();
        const QStringList last(recent.begin(), recent.end());
        return QStringLiteral("seed %1, step %2 (%3): %4\nlast events:\n  %5")
            .arg(used)
            .arg(step)
            .arg(what, wrong, last.join(QStringLiteral("\n  ")));
    };
    // How late the moment is against the wake the window asked for.
    auto late = [&] { return Probe::nextWake(w) ? clock.now - *Probe::nextWake(w) : nanoseconds::min(); };
    auto comes = [&](nanoseconds at) { return std::max(clock.now, at + Lateness(dice, ref.period)); };
    // The wake, as it comes. A wake is a refresh: what the display shows is
    // compared too, now and then.
    auto wakeAt = [&](int step, nanoseconds moment) {
        clock.now = ref.now = moment;
        ref.runDue(late());
        Probe::wake(w);
        ++wakes;
        return failure(step, QStringLiteral("wake"), mismatch(ref.watched && wakes % 256 == 0));
    };
    // Wakes the window whenever its timer asks, a little late, up to `until`;
    // the reference has run each tick at its own moment by then.
    auto wakeUntil = [&](int step, nanoseconds until) {
        while (const auto at = Probe::nextWake(w)) {
            const nanoseconds moment = comes(*at);
            if (moment > until)
                break;
            const QString wrong = wakeAt(step, moment);
            if (!wrong.isEmpty())
                return wrong;
        }
        clock.now = ref.now = until;
        ref.runDue(late());
        return QString();
    };

    QElapsedTimer elapsed;
    elapsed.start();
    for (int step = 0; step < events; ++step) {
        QString what;
        bool composes = false;
        const int roll = dice.below(100);
        if (roll < 33) {
            // The timer's next wake, whenever it comes; time passes without one.
            ++counts[0];
            if (const auto at = Probe::nextWake(w)) {
                what = QStringLiteral("wait for the wake at %1 ns").arg(at->count());
                const QString wrong = wakeAt(step, comes(*at));
                if (!wrong.isEmpty())
                    QFAIL(qPrintable(wrong));
                continue;
            }
            what = QStringLiteral("(no wake: time passes)");
            clock.now = ref.now = clock.now + Gap(dice, ref.interval, ref.period);
        } else if (roll == 98) {
            // The thread held past the moment the timer asked for.
            ++holds;
            clock.now = ref.now = clock.now + Hold(dice, ref.period);
            what = QStringLiteral("held until %1 ns").arg(clock.now.count());
            if (!Probe::nextWake(w) || *Probe::nextWake(w) > clock.now)
                continue;
            ref.runDue(late());
            Probe::wake(w);
            composes = ref.watched;
        } else {
            const QString wrong = wakeUntil(step, clock.now + Gap(dice, ref.interval, ref.period));
            if (!wrong.isEmpty())
                QFAIL(qPrintable(wrong));
        }

        if (roll >= 33 && roll < 53) {
            ++counts[1];
            static const int others[] = {16, 17, 18, 0, 13, 32, 36, 41, 65, 255, 0x7FFF, 0xFFFF};
            const int code = dice.chance(80) ? dice.between(37, 40) : others[dice.below(12)];
            const int mask = dice.below(8);
            what = QStringLiteral("key %1 with mask %2").arg(code).arg(mask);
            ref.key(code, mask);
            emit Child<widgets::PictureBox>(w, "picMain")->KeyDown(code, mask);
            composes = ref.watched;
        } else if (roll >= 53 && roll < 63) {
            ++counts[2];
            float x, y;
            if (dice.chance(60)) {  // at or around the kite, its edges included
                x = float(ref.KiteX) + dice.coordinate(-2, 31);
                y = float(ref.KiteY) + dice.coordinate(-2, 61);
            } else {
                x = dice.coordinate(-60, 440);
                y = dice.coordinate(-60, 410);
            }
            const int button = 1 << dice.below(3);
            const int mask = dice.below(8);
            what = QStringLiteral("press button %1 mask %2 at (%3, %4)").arg(button).arg(mask).arg(Num(x), Num(y));
            ref.press(x, y);
            emit Child<widgets::PictureBox>(w, "picMain")->MouseDown(button, mask, x, y);
        } else if (roll >= 63 && roll < 85) {
            ++counts[3];
            float x, y;
            if (dice.chance(75)) {  // a kite corner near or beyond the limits
                x = float(ref.GrabX) + dice.coordinate(-10, 360);
                y = float(ref.GrabY) + dice.coordinate(-10, 300);
            } else {
                x = dice.coordinate(-200, 600);
                y = dice.coordinate(-200, 600);
            }
            const int button = dice.below(8);
            const int mask = dice.below(8);
            what = QStringLiteral("move to (%1, %2)").arg(Num(x), Num(y));
            const long long followed = ref.follows;
            ref.move(x, y);
            emit Child<widgets::PictureBox>(w, "picMain")->MouseMove(button, mask, x, y);
            composes = ref.watched && ref.follows != followed;
        } else if (roll >= 85 && roll < 92) {
            ++counts[4];
            const float x = dice.coordinate(-60, 440);
            const float y = dice.coordinate(-60, 410);
            const int button = 1 << dice.below(3);
            const int mask = dice.below(8);
            what = QStringLiteral("release at (%1, %2)").arg(Num(x), Num(y));
            ref.release();
            emit Child<widgets::PictureBox>(w, "picMain")->MouseUp(button, mask, x, y);
        } else if (roll >= 92 && roll < 95) {
            ++counts[5];
            what = QStringLiteral("start/stop");
            ref.startStop();
            QTest::mouseClick(Child<QPushButton>(w, "cmdChange"), Qt::LeftButton);
        } else if (roll >= 95 && roll < 98) {
            ++counts[6];
            // Each entry is typed anew or left as it was.
            if (dice.chance(70))
                horiz = MakeEntry(dice);
            if (dice.chance(70))
                vert = MakeEntry(dice);
            if (dice.chance(70))
                inter = MakeEntry(dice);
            what = QStringLiteral("settings \"%1\" \"%2\" \"%3\"").arg(horiz.text, vert.text, inter.text);
            Child<QComboBox>(w, "cmbHoriz")->setEditText(horiz.text);
            Child<QComboBox>(w, "cmbVert")->setEditText(vert.text);
            Child<QLineEdit>(w, "txtInter")->setText(inter.text);
            ref.settings(horiz.value, vert.value, inter.value);
            QTest::mouseClick(Child<QPushButton>(w, "cmdSet"), Qt::LeftButton);
        } else if (roll == 99) {
            // Minimized or hidden (the platform reports it unexposed), or back
            // from it: the frame owed while unseen is shown.
            ++minimized;
            ref.watched = !ref.watched;
            if (!ref.watched)
                hiddenNotMinimized = dice.chance(50);
            what = QStringLiteral("%1 %2").arg(ref.watched ? QStringLiteral("back from") : QString(),
                                               hiddenNotMinimized ? QStringLiteral("hidden")
                                                                  : QStringLiteral("minimized"));
            if (hiddenNotMinimized)
                w.setVisible(ref.watched);
            else
                w.setWindowState(ref.watched ? Qt::WindowNoState : Qt::WindowMinimized);
            QCoreApplication::processEvents();  // the platform's answer
            composes = ref.watched;
        }

        const QString wrong =
            failure(step, what, mismatch((composes && step % 64 == 0) || (roll == 99 && ref.watched)));
        if (!wrong.isEmpty())
            QFAIL(qPrintable(wrong));
    }
    qInfo("model: %d events in %lld ms: %d tick turns, %d keys, %d presses, %d moves, %d releases, "
          "%d start/stop, %d settings, %lld holds, %lld unseen or seen again; %lld wakes ran %lld ticks, "
          "%lld dropped after a hold; %lld drags, %lld moves followed, %lld keys past a limit, %lld boxes",
          events, elapsed.elapsed(), counts[0], counts[1], counts[2], counts[3], counts[4], counts[5], counts[6], holds,
          minimized, wakes, ref.ticks, ref.dropped, ref.drags, ref.follows, ref.overshoots, boxes);
}

QTEST_MAIN(TestModel)
#include "tst_model.moc"
