// The real sound service on SDL's dummy device: it plays what it can, waits no
// longer than a sound lasts, and falls silent rather than failing.
#include "fakes.h"

#include "app/frmMain.h"
#include "platform/Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

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

// A RIFF/WAVE file with the given format fields and `samples` bytes of samples.
QByteArray waveOf(quint16 tag, quint16 channels, quint32 rate, quint16 blockAlign, quint16 bits, int samples)
{
    QByteArray b;
    auto u32 = [&b](quint32 v) { for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF)); };
    auto u16 = [&b](quint16 v) { b.append(char(v & 0xFF)); b.append(char(v >> 8)); };
    b.append("RIFF");
    u32(36 + quint32(samples));
    b.append("WAVEfmt ");
    u32(16);
    u16(tag);
    u16(channels);
    u32(rate);
    u32(rate * blockAlign);
    u16(blockAlign);
    u16(bits);
    b.append("data");
    u32(quint32(samples));
    for (int i = 0; i < samples; ++i)
        b.append(char(0x80 + (i % 64)));
    return b;
}

QByteArray builtFile(const QString& rel)
{
    QFile f(BuildDataDir() + rel);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program directory of our own with copies of the built data, so a test can
// spoil one file.
struct DataCopy {
    QTemporaryDir dir;
    DataCopy()
    {
        for (const char* sub : {"images", "sounds"})
            QDir().mkpath(dir.filePath(QLatin1String(sub)));
        for (const char* file : {"images/kite.bmp", "images/back.bmp", "sounds/Wave22.wav", "sounds/Over.wav"})
            QFile::copy(BuildDataDir() + QLatin1String(file), dir.filePath(QLatin1String(file)));
    }
};

qint64 msToPlay(platform::SoundService& sound, const QString& file, std::uint32_t flags)
{
    QElapsedTimer clock;
    clock.start();
    sound.sndPlaySound(file, flags);
    return clock.elapsed();
}

// Threads of this process SDL runs for an open playback device.
int audioThreads()
{
    int n = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().startsWith("SDLAudioP"))
            ++n;
    }
    return n;
}

}  // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void playAndWaitHoldsForTheSound();
    void faultyFilesAreSilentAndDoNotHold_data();
    void faultyFilesAreSilentAndDoNotHold();
    void convertedSizeBoundsWhatTheMixerMakes_data();
    void convertedSizeBoundsWhatTheMixerMakes();
    void sanitizeCutsLyingChunks_data();
    void sanitizeCutsLyingChunks();
    void startUpAndClosingGoOnWithAFaultyWave_data();
    void startUpAndClosingGoOnWithAFaultyWave();
    void loopAndStopReturnAtOnce();
    void noDeviceMeansSilence();
    void silentDeviceIsLetGoAndOpensAgain();
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
    QTest::addColumn<bool>("silent");  // false where what the file really holds may play
    QTest::newRow("missing") << QByteArray() << false << true;
    QTest::newRow("empty") << QByteArray() << true << true;
    QTest::newRow("garbage") << QByteArray(5000, '\x7f') << true << true;
    QTest::newRow("truncated header") << wave(1000, 0).left(20) << true << true;
    QTest::newRow("claims 4 GB, holds 100 bytes") << wave(0xFFFFFF00u, 100) << true << false;
    QTest::newRow("larger than the service reads") << QByteArray("huge") << true << true;
    QTest::newRow("RIFF length of 4 GB on 40 bytes") << wave(0, 0).left(4) + QByteArray("\xff\xff\xff\xff", 4)
                                                        + wave(0, 0).mid(8) << true << true;
    QTest::newRow("no format chunk") << QByteArray("RIFF\x1c\0\0\0WAVEdata\x10\0\0\0", 20) + QByteArray(16, '\0')
                                     << true << true;
    QTest::newRow("format chunk cut short") << wave(0, 0).left(30) << true << true;
    QTest::newRow("no channels") << waveOf(1, 0, 22050, 2, 16, 1000) << true << true;
    QTest::newRow("sample rate of 0") << waveOf(1, 1, 0, 2, 16, 1000) << true << true;
    // 4000 samples at one per second would become some 700 MB at the device's
    // rate; the mixer's own arithmetic overflows on the way.
    QTest::newRow("sample rate of 1 Hz") << waveOf(1, 1, 1, 1, 8, 4000) << true << true;
    QTest::newRow("unknown encoding") << waveOf(0x1234, 1, 22050, 2, 16, 1000) << true << true;
    QTest::newRow("ADPCM block of 1 byte") << waveOf(0x11, 1, 22050, 1, 4, 1000) << true << true;
}

void TestSound::faultyFilesAreSilentAndDoNotHold()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, exists);
    QFETCH(bool, silent);
    platform::SdlSoundService sound;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Wave22.wav"));
    if (exists) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (contents == "huge") {
            f.write(wave(0x7FFFFFF0u, 1000));
            QVERIFY(f.resize(platform::MaxWaveBytes + 1));  // sparse: cheap to make
        } else {
            f.write(contents);
        }
    }
    QVERIFY2(msToPlay(sound, file, SND_NODEFAULT) < 2000, "a faulty file held the caller");
    QVERIFY(msToPlay(sound, file, SND_ASYNC | SND_NODEFAULT | SND_LOOP) < 2000);
    if (silent && sound.hasDevice())
        QVERIFY2(!Mix_Playing(-1), "a faulty file is playing");
    sound.sndPlaySound(std::nullopt, SND_ASYNC | SND_NODEFAULT | SND_LOOP);
}

void TestSound::convertedSizeBoundsWhatTheMixerMakes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("plays");
    QTest::newRow("the opening sound") << builtFile(QStringLiteral("sounds/Wave22.wav")) << true;
    QTest::newRow("the music loop") << builtFile(QStringLiteral("sounds/Over.wav")) << true;
    QTest::newRow("8-bit mono at 8 kHz") << waveOf(1, 1, 8000, 1, 8, 800) << true;
    QTest::newRow("16-bit stereo at 48 kHz") << waveOf(1, 2, 48000, 4, 16, 4800) << true;
    // Found by fuzzing: the mixer goes by the block, not by the sample size.
    QTest::newRow("24-bit samples in 1-byte blocks") << waveOf(1, 1, 8000, 1, 24, 160) << true;
    QTest::newRow("sample rate of 1 Hz") << waveOf(1, 1, 1, 1, 8, 4000) << false;
    QTest::newRow("sample rate of 100 Hz, 2 MB") << waveOf(1, 1, 100, 1, 8, 2'000'000) << false;
}

// Nothing the mixer makes of a file outgrows the bound the service checks
// before handing the file over, and what would outgrow the limit is not decoded.
void TestSound::convertedSizeBoundsWhatTheMixerMakes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, plays);
    platform::SdlSoundService sound;
    if (!sound.hasDevice())
        QSKIP("SDL has no audio device here, not even the dummy one");
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    QVERIFY(Mix_QuerySpec(&rate, &format, &channels));

    QByteArray sanitised = bytes;
    QVERIFY(platform::SanitizeWave(sanitised));
    const auto bound = platform::ConvertedWaveBytes(sanitised, rate, channels * (SDL_AUDIO_BITSIZE(format) / 8));
    QVERIFY(bound);
    Mix_Chunk* chunk = platform::LoadWaveChunk(bytes);
    QCOMPARE(chunk != nullptr, plays);
    if (!chunk) {
        QVERIFY(*bound > platform::MaxConvertedWaveBytes);
        return;
    }
    const qint64 made = chunk->alen;
    Mix_FreeChunk(chunk);
    QVERIFY2(made <= *bound, qPrintable(QStringLiteral("%1 bytes made, %2 bound").arg(made).arg(*bound)));
    QVERIFY(made > 0);
}

void TestSound::sanitizeCutsLyingChunks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isWave");
    QTest::addColumn<quint32>("dataLength");  // what the data chunk claims afterwards
    QTest::newRow("honest file unchanged") << wave(100, 100) << true << quint32(100);
    QTest::newRow("claims 4 GB, holds 100 bytes") << wave(0xFFFFFF00u, 100) << true << quint32(100);
    QTest::newRow("claims 1000, holds 10") << wave(1000, 10) << true << quint32(10);
    QTest::newRow("not a wave") << QByteArray("RIFF\0\0\0\0AVI LIST") << false << quint32(0);
    QTest::newRow("too short") << QByteArray("RIFF") << false << quint32(0);
}

void TestSound::sanitizeCutsLyingChunks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isWave);
    QFETCH(quint32, dataLength);
    const qsizetype size = bytes.size();
    QCOMPARE(platform::SanitizeWave(bytes), isWave);
    QCOMPARE(bytes.size(), size);  // never grows or shrinks the bytes
    if (!isWave)
        return;
    const qsizetype data = bytes.indexOf("data");
    QVERIFY(data > 0);
    QCOMPARE(qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(bytes.constData() + data + 4)), dataLength);
    QCOMPARE(qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(bytes.constData() + 4)), quint32(size - 8));
}

void TestSound::startUpAndClosingGoOnWithAFaultyWave_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("missing");
    QTest::addColumn<qint64>("sparseSize");  // when above 0, the file is grown to this length
    for (const char* file : {"sounds/Wave22.wav", "sounds/Over.wav"}) {
        const QString rel = QLatin1String(file);
        const QByteArray good = builtFile(rel);
        auto row = [file](const char* fault) -> QTestData& {
            return QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(file), QLatin1String(fault))));
        };
        row("missing") << rel << QByteArray() << true << qint64(0);
        row("empty") << rel << QByteArray() << false << qint64(0);
        row("cut in its header") << rel << good.left(30) << false << qint64(0);
        row("cut in its samples") << rel << good.left(good.size() / 3) << false << qint64(0);
        row("garbage") << rel << QByteArray(5000, '\x7f') << false << qint64(0);
        row("at 1 Hz") << rel << waveOf(1, 1, 1, 1, 8, 4000) << false << qint64(0);
        row("of 5 GB") << rel << good << false << qint64(5) * 1024 * 1024 * 1024;
    }
}

// The whole start-up and the closing sequence with the real sound service: a
// spoiled wave file is passed over in silence, and everything else goes on.
void TestSound::startUpAndClosingGoOnWithAFaultyWave()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(bool, missing);
    QFETCH(qint64, sparseSize);
    DataCopy data;
    // A chime of a few milliseconds keeps the rows that spoil the music short.
    {
        QFile chime(data.dir.filePath(QStringLiteral("sounds/Wave22.wav")));
        QVERIFY(chime.open(QIODevice::WriteOnly | QIODevice::Truncate));
        chime.write(waveOf(1, 1, 22050, 2, 16, 400));
    }
    const QString path = data.dir.filePath(file);
    if (missing) {
        QVERIFY(QFile::remove(path));
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contents);
        if (sparseSize > 0)
            QVERIFY(f.resize(sparseSize));  // sparse: cheap to make
    }

    platform::SdlSoundService sound;
    FakeWorld world;
    world.programDir = data.dir.path();
    Services services = world.services();
    services.sound = &sound;
    frmMain w(services);
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Loaded);
    QVERIFY(world.msgbox.calls.isEmpty());
    QCOMPARE(w.st.BgmOn, mdlAelor::True);
    QVERIFY(w.mnuBgmItem[0]->isChecked());
    w.show();
    QVERIFY(w.close());
    QVERIFY(world.msgbox.calls.isEmpty());
    QVERIFY(world.endCalls.isEmpty());
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

void TestSound::silentDeviceIsLetGoAndOpensAgain()
{
    platform::SdlSoundService sound;
    if (!sound.hasDevice())
        QSKIP("SDL has no audio device here, not even the dummy one");
    const QString tune = BuildDataDir() + QStringLiteral("sounds/Over.wav");
    const std::uint32_t loop = SND_ASYNC | SND_NODEFAULT | SND_LOOP;
    sound.sndPlaySound(tune, loop);
    QCOMPARE(audioThreads(), 1);
    sound.sndPlaySound(std::nullopt, loop);
    // With nothing to play, nothing of the device stays to wake the program.
    QVERIFY(QTest::qWaitFor([] { return audioThreads() == 0; }, 20000));
    sound.sndPlaySound(tune, loop);
    QCOMPARE(audioThreads(), 1);
    QVERIFY(Mix_Playing(-1) == 1);
    sound.sndPlaySound(std::nullopt, loop);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
