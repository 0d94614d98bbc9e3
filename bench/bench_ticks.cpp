// Ticks run by the animation timer of the real main window on a real X server
// against the ticks that fell due, the display's repaints a second, and the
// wake-ups a second of all the program's threads (voluntary context switches).
// Ticks are counted from the first repaint to the last of each interval, each
// read as the repaint comes, right after the ticks of its wake ran. Run by
// bench/desktop.sh under Xvfb.
//   bench_ticks DATADIR [seconds per interval]
#include "Probe.h"
#include "app/frmMain.h"
#include "desktop_bench.h"
#include "platform/Desktop.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {

// The first and the last repaint of a measurement: when, and how many ticks had
// run by then.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(const frmMain& window)
        : m_window(window)
    {
        m_clock.start();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            last = {m_clock.nsecsElapsed(), Probe::flight(m_window).ticksRun()};
            if (!first)
                first = last;
        }
        return false;
    }
    struct Mark {
        qint64 ns;
        std::int64_t ticks;
    };
    std::optional<Mark> first, last;
    int paints = 0;

private:
    const frmMain& m_window;
    QElapsedTimer m_clock;
};

long long WakeUps()
{
    long long sum = 0;
    for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(task));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:"))
                sum += line.mid(24).trimmed().toLongLong();
    }
    return sum;
}

}  // namespace

int main(int argc, char* argv[])
{
    // The desktop as the program prepares it: its wake-ups are the program's.
    platform::PrepareDesktop();
    QApplication app(argc, argv);
    platform::InstallFonts();
    SilentSound sound;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;
    frmMain window(
        BenchServices(sound, argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath()));
    if (window.Form_Load() != frmMain::LoadResult::Loaded)
        return 1;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    std::printf("interval-ms ticks-due-per-s ticks-run-per-due repaints-per-s wake-ups-per-s\n");
    for (int interval : {1, 2, 10, 100}) {
        // Typed and applied as a person does.
        Child<QLineEdit>(window, "txtInter")->setText(QString::number(interval));
        QTest::mouseClick(Child<QPushButton>(window, "cmdSet"), Qt::LeftButton);
        QTest::qWait(200);  // settle
        PaintCounter counter(window);
        Child<widgets::PictureBox>(window, "picMain")->installEventFilter(&counter);
        const long long wakeUpsBefore = WakeUps();
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double elapsed = double(clock.nsecsElapsed()) / 1e9;
        const long long wakeUps = WakeUps() - wakeUpsBefore;
        Child<widgets::PictureBox>(window, "picMain")->removeEventFilter(&counter);
        if (!counter.first || counter.last->ns == counter.first->ns)
            return 1;
        const double due = double(counter.last->ns - counter.first->ns) / 1e6 / interval;
        std::printf("%d %.1f %.4f %.1f %.1f\n", interval, 1000.0 / interval,
                    double(counter.last->ticks - counter.first->ticks) / due, counter.paints / elapsed,
                    double(wakeUps) / elapsed);
    }
    return 0;
}
