// Ticks run per second by the animation timer of the real main window on a real
// X server, against the requested rate, and how many repaints of the display
// came per tick. Run by bench/desktop.sh under Xvfb.
//   bench_ticks DATADIR [seconds per interval]
#include "Probe.h"
#include "app/frmMain.h"
#include "desktop_bench.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>

#include <cstdio>

namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

}  // namespace

int main(int argc, char* argv[])
{
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

    PaintCounter counter;
    Child<widgets::PictureBox>(window, "picMain")->installEventFilter(&counter);

    std::printf("interval-ms requested-per-s run-per-s ratio repaints-per-tick\n");
    for (int interval : {1, 10, 100}) {
        // Typed and applied as a person does.
        Child<QLineEdit>(window, "txtInter")->setText(QString::number(interval));
        QTest::mouseClick(Child<QPushButton>(window, "cmdSet"), Qt::LeftButton);
        QTest::qWait(200);  // settle
        const std::int64_t ticksBefore = Probe::flight(window).ticksRun();
        counter.paints = 0;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < seconds * 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        const double elapsed = clock.elapsed() / 1000.0;
        const auto ticks = double(Probe::flight(window).ticksRun() - ticksBefore);
        const double requested = 1000.0 / interval;
        const double delivered = ticks / elapsed;
        std::printf("%d %.1f %.1f %.3f %.3f\n", interval, requested, delivered, delivered / requested,
                    ticks > 0 ? double(counter.paints) / ticks : 0.0);
    }
    return 0;
}
