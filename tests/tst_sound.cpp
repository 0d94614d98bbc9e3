// The real sound service on SDL's dummy device: it plays what it can, waits no
// longer than a sound lasts, and falls silent rather than failing.
#include "fakes.h"

#include "platform/Sound.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using platform::SND_ASYNC;
using platform::SND_LOOP;
using platform::SND_NODEFAULT;

namespace {

// A RIFF/WAVE header for 16-bit mono PCM at 22050 Hz, claiming `claimed` bytes of
// samples, followed by `actual` bytes of them.
QByteArray wave(quint32 claimed, int actual)
{
    QByteArray b;
    auto u32 = [&b](quint32 v) { for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF)); };
    auto u16 = [&b](quint16 v) { b.append(char(v & 0xFF)); b.append(char(v >> 8)); };
    b.append("RIFF");
    u32(36 + claimed);
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(44100);
    u16(2);
    u16(16);
    b.append("data");
    u32(claimed);
    b.append(QByteArray(actual, '\0'));
    return b;
}

qint64 msToPlay(platform::SoundService& sound, const QString& file, std::uint32_t flags)
{
    QElapsedTimer clock;
    clock.start();
    sound.sndPlaySound(file, flags);
    return clock.elapsed();
}

}  // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void playAndWaitHoldsForTheSound();
    void faultyFilesAreSilentAndDoNotHold_data();
    void faultyFilesAreSilentAndDoNotHold();
    void loopAndStopReturnAtOnce();
    void noDeviceMeansSilence();
};

void TestSound::playAndWaitHoldsForTheSound()
{
    platform::SdlSoundService sound;
    if (!sound.hasDevice())
        QSKIP("SDL has no audio device here, not even the dummy one");
    QTemporaryDir dir;
    const QString half = dir.filePath(QStringLiteral("half.wav"));
    QFile f(half);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(wave(22050, 22050));  // half a second of silence
    f.close();

    const qint64 ms = msToPlay(sound, half, SND_NODEFAULT);
    // It waited for the sound, and not for long past its end.
    QVERIFY2(ms >= 300, qPrintable(QString::number(ms)));
    QVERIFY2(ms < 3000, qPrintable(QString::number(ms)));
}

void TestSound::faultyFilesAreSilentAndDoNotHold_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("garbage") << QByteArray(5000, '\x7f') << true;
    QTest::newRow("truncated header") << wave(1000, 0).left(20) << true;
    QTest::newRow("claims 4 GB, holds 100 bytes") << wave(0xFFFFFF00u, 100) << true;
}

void TestSound::faultyFilesAreSilentAndDoNotHold()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, exists);
    platform::SdlSoundService sound;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Wave22.wav"));
    if (exists) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    QVERIFY2(msToPlay(sound, file, SND_NODEFAULT) < 2000, "a faulty file held the caller");
    QVERIFY(msToPlay(sound, file, SND_ASYNC | SND_NODEFAULT | SND_LOOP) < 2000);
    sound.sndPlaySound(std::nullopt, SND_ASYNC | SND_NODEFAULT | SND_LOOP);
}

void TestSound::loopAndStopReturnAtOnce()
{
    platform::SdlSoundService sound;
    const QString tune = BuildDataDir() + QStringLiteral("sounds/Over.wav");
    QVERIFY(QFile::exists(tune));
    // The tune lasts many seconds; starting its loop must not wait for it.
    QVERIFY(msToPlay(sound, tune, SND_ASYNC | SND_NODEFAULT | SND_LOOP) < 2000);
    QElapsedTimer clock;
    clock.start();
    sound.sndPlaySound(std::nullopt, SND_ASYNC | SND_NODEFAULT | SND_LOOP);
    QVERIFY(clock.elapsed() < 1000);
}

void TestSound::noDeviceMeansSilence()
{
    const QByteArray saved = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    {
        platform::SdlSoundService sound;
        QVERIFY(!sound.hasDevice());
        const QString chime = BuildDataDir() + QStringLiteral("sounds/Wave22.wav");
        QVERIFY(msToPlay(sound, chime, SND_NODEFAULT) < 500);
        sound.sndPlaySound(std::nullopt, SND_ASYNC | SND_NODEFAULT | SND_LOOP);
    }
    qputenv("SDL_AUDIODRIVER", saved);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
