// Start-up cost of the real main window against a minimal Qt Widgets window
// built the same way. Started by bench/desktop.sh under Xvfb, which notes the
// wall clock at launch; this prints the wall clock when the first frame reaches
// the screen, then the peak memory after two seconds.
//   bench_startup aelorin DATADIR   the real window; DATADIR holds images/ only
//   bench_startup minimal           a 630 x 370 window showing a 380 x 350 picture
#include "Probe.h"
#include "app/frmMain.h"
#include "desktop_bench.h"
#include "platform/Fonts.h"
#include "sound/SdlSound.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

namespace {

// Reports the first paint of a widget: that is when its frame is on screen.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_shown) {
            m_shown = true;
            std::printf("window-ms %lld\n", WallMs());
        }
        if (event->type() == QEvent::Paint && !m_seen && m_ready(watched)) {
            m_seen = true;
            std::printf("first-frame-ms %lld\n", WallMs());
            std::fflush(stdout);
            QTimer::singleShot(2000, [] {
                std::printf("peak-rss-kb %lld\n", PeakRssKb());
                QApplication::quit();
            });
        }
        return false;
    }
    std::function<bool(QObject*)> m_ready = [](QObject*) { return true; };

private:
    bool m_shown = false;
    bool m_seen = false;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    FirstPaint watcher;

    if (mode == QStringLiteral("minimal")) {
        QMainWindow window;
        auto* picture = new QLabel(&window);
        QImage image(380, 350, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        picture->setPixmap(QPixmap::fromImage(image));
        window.setCentralWidget(picture);
        window.setFixedSize(630, 370);
        picture->installEventFilter(&watcher);
        window.show();
        return QApplication::exec();
    }

    platform::InstallFonts();
    sound::SdlSoundService sdl;  // the real one: its start costs belong to start-up
    frmMain window(
        BenchServices(sdl, argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath()));
    if (window.Form_Load() != frmMain::LoadResult::Loaded)
        return 1;
    // The display's first paint after the first tick is the first composed frame.
    watcher.m_ready = [&window](QObject*) { return Probe::flight(window).ticksRun() > 0; };
    Child<widgets::PictureBox>(window, "picMain")->installEventFilter(&watcher);
    window.show();
    return QApplication::exec();
}
