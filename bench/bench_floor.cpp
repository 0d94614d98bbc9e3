// The floor: what Qt itself costs for the flight's work, measured beside the
// program by bench/desktop_cpu.sh. A bare Qt Widgets window: one 30 x 60 sprite
// bounced over a 380 x 350 back buffer on a QTimer, the two cells it left and
// entered repainted, nothing else. It presents at the program's pace: at
// intervals shorter than the screen's refresh period its timer comes once a
// period and the ticks that fell due meanwhile run together, with one repaint.
//   bench_floor INTERVAL_MS
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <cstdlib>

namespace {

class Sky : public QWidget {
public:
    explicit Sky(int intervalMs)
        : m_interval(intervalMs)
        , m_back(380, 350, QImage::Format_RGB32)
        , m_sprite(30, 60, QImage::Format_ARGB32_Premultiplied)
    {
        setFixedSize(380, 350);
        setAttribute(Qt::WA_OpaquePaintEvent);
        for (int y = 0; y < 350; ++y)
            for (int x = 0; x < 380; ++x)
                m_back.setPixel(x, y, qRgb(x % 256, y % 256, 160));
        m_sprite.fill(Qt::transparent);
        QPainter kite(&m_sprite);
        kite.setBrush(Qt::red);
        kite.drawEllipse(2, 2, 26, 56);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &Sky::tick);
    }

    void start()
    {
        const double hz = screen()->refreshRate() >= 1.0 ? screen()->refreshRate() : 60.0;
        m_clock.start();
        m_timer.start(std::max(m_interval, int(std::ceil(1000.0 / hz))));
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        for (const QRect& r : event->region())
            p.drawImage(r.topLeft(), m_back, r);
        p.drawImage(m_x, m_y, m_sprite);
    }

private:
    void tick()
    {
        const QRect left(m_x, m_y, 30, 60);
        const qint64 due = m_clock.nsecsElapsed() / (qint64(m_interval) * 1'000'000) - m_ran;
        for (qint64 i = 0; i < due; ++i) {
            m_x += m_dx;
            m_y += m_dy;
            if (m_x < 0 || m_x > 350)
                m_dx = -m_dx;
            if (m_y < 0 || m_y > 290)
                m_dy = -m_dy;
        }
        m_ran += due;
        update(QRegion(left) + QRect(m_x, m_y, 30, 60));
    }

    int m_interval;
    QImage m_back, m_sprite;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_ran = 0;
    int m_x = 100, m_y = 100, m_dx = 1, m_dy = 1;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Sky sky(argc > 1 ? std::max(1, std::atoi(argv[1])) : 100);
    sky.setWindowTitle(QStringLiteral("floor"));
    sky.show();
    sky.start();
    return QApplication::exec();
}
