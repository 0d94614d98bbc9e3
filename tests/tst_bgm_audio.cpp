// The music as it is heard: the real sound service and a real main window play
// through SDL's disk driver, which writes the mixed output to a file at the pace
// of a sound card. The written audio shows the loop playing after start-up,
// silence after "停止中(&N)", and the loop from its beginning after "演奏中(&P)".
#include "Probe.h"
#include "fakes.h"

#include "app/frmMain.h"
#include "platform/Sound.h"
#include "sound/SdlSound.h"

#include <SDL_mixer.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// The device format the sound service asks for: 44.1 kHz, 16-bit little-endian
// samples, two channels interleaved, a buffer of 1024 frames.
constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr qint64 BytesPerFrame = Channels * 2;
constexpr qint64 BufferFrames = 1024;
// How far the file may lag behind or run ahead of a request: the buffer being
// mixed, the one being written and the writer's own buffering, with room to spare.
constexpr qint64 Slack = 4 * BufferFrames;
// Far longer than all the waits below put together.
constexpr int KeepOpenMs = 10 * 60 * 1000;

qint64 FramesWritten(const QString& file)
{
    QFileInfo info(file);
    info.setCaching(false);
    return info.size() / BytesPerFrame;
}

// The left channel; the music is mono, so the right one is the same.
std::vector<double> LeftChannel(const QByteArray& raw)
{
    std::vector<double> left(static_cast<std::size_t>(raw.size() / BytesPerFrame));
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw.constData());
    for (std::size_t i = 0; i < left.size(); ++i) {
        const unsigned char* frame = bytes + i * BytesPerFrame;
        left[i] = static_cast<std::int16_t>(frame[0] | (frame[1] << 8));
    }
    return left;
}

double Rms(const std::vector<double>& s, qint64 from, qint64 to)
{
    double sum = 0.0;
    for (qint64 i = from; i < to; ++i)
        sum += s[std::size_t(i)] * s[std::size_t(i)];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

qint64 FirstSound(const std::vector<double>& s, qint64 from)
{
    for (qint64 i = from; i < qint64(s.size()); ++i) {
        if (s[std::size_t(i)] != 0.0)
            return i;
    }
    return qint64(s.size());
}

// Normalised correlation of s[a, a + n) with s[b, b + n): 1 for the same shape.
double Similarity(const std::vector<double>& s, qint64 a, qint64 b, qint64 n)
{
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (qint64 i = 0; i < n; ++i) {
        const double x = s[std::size_t(a + i)];
        const double y = s[std::size_t(b + i)];
        ab += x * y;
        aa += x * x;
        bb += y * y;
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// Where in [from, to) the n frames from `at` fit best.
qint64 BestMatch(const std::vector<double>& s, qint64 at, qint64 n, qint64 from, qint64 to)
{
    qint64 best = from;
    double bestScore = -2.0;
    for (qint64 p = from; p < to; ++p) {
        const double score = Similarity(s, at, p, n);
        if (score > bestScore) {
            bestScore = score;
            best = p;
        }
    }
    return best;
}

}  // namespace

class TestBgmAudio : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void loopPlaysStopsAndStartsAgainFromItsBeginning();

private:
    QTemporaryDir m_dir;
    QString m_output;
};

void TestBgmAudio::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_output = m_dir.filePath(QStringLiteral("mixed.raw"));
    // Before the sound service first opens the device.
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_output));
}

void TestBgmAudio::loopPlaysStopsAndStartsAgainFromItsBeginning()
{
    // Kept open throughout: the disk driver would start its file anew on reopening.
    auto service = std::make_unique<sound::SdlSoundService>(KeepOpenMs);
    QVERIFY2(service->hasDevice(), "SDL's disk audio driver did not open");
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    QVERIFY(Mix_QuerySpec(&rate, &format, &channels) != 0);
    QCOMPARE(rate, Rate);
    QCOMPARE(format, Uint16(AUDIO_S16LSB));
    QCOMPARE(channels, Channels);

    FakeWorld world;
    Services services = world.services();
    services.sound = service.get();
    auto w = std::make_unique<frmMain>(services);
    // The opening chime plays to its end, then the loop starts.
    QCOMPARE(w->Form_Load(), frmMain::LoadResult::Loaded);
    const qint64 started = FramesWritten(m_output);
    const qint64 window = Rate * 6 / 10;  // long enough to span more than one note
    // The driver writes at real-time pace, or slower on a busy machine: wait for
    // the audio, not for the clock.
    auto waitFor = [this](qint64 frames) {
        return QTest::qWaitFor([&] { return FramesWritten(m_output) >= frames; }, 20000);
    };
    QVERIFY(waitFor(started + window + 4 * Slack));

    Child<QAction>(*w, "mnuBgmItem", 1)->trigger();
    QCOMPARE(Probe::BgmOn(*w), mdlAelor::False);
    const qint64 stopped = FramesWritten(m_output);
    QVERIFY(waitFor(stopped + Slack + Rate / 2));

    // Starting reads the wave file anew, which takes a moment: the loop comes
    // back between the request and a little after the call returned.
    const qint64 restarted = FramesWritten(m_output);
    Child<QAction>(*w, "mnuBgmItem", 0)->trigger();
    const qint64 restartDone = FramesWritten(m_output);
    QCOMPARE(Probe::BgmOn(*w), mdlAelor::True);
    QVERIFY(waitFor(restartDone + window + 4 * Slack));

    // Closing the device writes out whatever is still buffered.
    w.reset();
    service.reset();
    QFile file(m_output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::vector<double> s = LeftChannel(file.readAll());

    QVERIFY(qint64(s.size()) >= restartDone + window + 4 * Slack);

    // The loop plays after start-up.
    QVERIFY(Rms(s, started + Slack, stopped - Slack) > 500.0);

    // After the stop, silence is written until the loop is asked for again...
    const qint64 resumed = FirstSound(s, stopped + Slack);
    QVERIFY2(resumed >= restarted,
             qPrintable(QStringLiteral("sound at frame %1, restart at %2").arg(resumed).arg(restarted)));
    QVERIFY(restarted - (stopped + Slack) >= Rate / 2);
    // ...and the loop comes back as soon as it is loaded...
    QVERIFY2(resumed <= restartDone + Slack,
             qPrintable(QStringLiteral("sound at frame %1, restart done at %2").arg(resumed).arg(restartDone)));

    // ...from its beginning: what is heard after the restart is what was heard
    // when the loop first started, not where it stood at the stop.
    const qint64 probe = 2 * BufferFrames;
    const qint64 first = BestMatch(s, resumed, probe, std::max<qint64>(0, started - Slack), stopped - window);
    QVERIFY2(std::abs(first - started) <= Slack,
             qPrintable(QStringLiteral("best match at frame %1, loop started near %2").arg(first).arg(started)));
    const double similarity = Similarity(s, resumed, first, window);
    QVERIFY2(similarity > 0.995, qPrintable(QString::number(similarity)));
}

QTEST_MAIN(TestBgmAudio)
#include "tst_bgm_audio.moc"
