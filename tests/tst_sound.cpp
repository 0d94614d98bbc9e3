// The real sound service on SDL's dummy device, and on its disk device where what
// is heard matters: it plays what it can, holds the caller until a sound has been
// heard to its end, and falls silent rather than failing.
#include "Probe.h"
#include "bytesupport.h"
#include "fakes.h"

#include "app/frmMain.h"
#include "platform/Sound.h"
#include "sound/SdlSound.h"
#include "sound/ServerReturn.h"
#include "sound/Wave.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstdlib>
#include <memory>

using platform::SND_ASYNC;
using platform::SND_LOOP;
using platform::SND_NODEFAULT;
using sound::ConvertedWaveBytes;
using sound::LoadWaveChunk;
using sound::MaxConvertedWaveBytes;
using sound::MaxWaveBytes;
using sound::SanitizeWave;
using sound::SdlSoundService;
using sound::ServerReturn;

namespace {

// A RIFF/WAVE header for 16-bit mono PCM at 22050 Hz, claiming `claimed` bytes of
// samples, followed by `actual` bytes of them.
QByteArray wave(quint32 claimed, int actual)
{
    QByteArray b;
    auto [u32, u16] = LittleEndianWriters(b);
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
    auto [u32, u16] = LittleEndianWriters(b);
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

// The same file with a chunk of odd length, and the pad byte that follows it,
// between the format and the samples.
QByteArray withOddChunk(QByteArray wave)
{
    const QByteArray chunk("note\x03\0\0\0abc\0", 12);
    wave.insert(36, chunk);
    const quint32 riff = qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(wave.constData() + 4));
    qToLittleEndian<quint32>(riff + quint32(chunk.size()), reinterpret_cast<uchar*>(wave.data() + 4));
    return wave;
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

// A hang guard, not a measure of speed: far beyond anything a busy machine adds
// to a request that should return at once, it only catches a caller held for good.
constexpr qint64 HangGuardMs = 10000;

// Rests of the device for the tests that need one: the disk driver starts its
// file anew when the device opens again, so a recording test keeps it open for
// longer than any of its waits; the test that sees it let go need not wait long.
constexpr int KeepOpenMs = 10 * 60 * 1000;
constexpr int ShortRestMs = 100;

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
    void loopPlaysOnUntilStopped();
    void noDeviceMeansSilence();
    void silentDeviceIsLetGoAndOpensAgain();
    void serverReturnFollowsItsTable_data();
    void serverReturnFollowsItsTable();
};

// Heard through SDL's disk driver, which writes the mixed output (44.1 kHz, 16-bit
// stereo) to a file at a sound card's pace: the file's length is how far playing
// has gone.
void TestSound::playAndWaitHoldsForTheSound()
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("mixed.raw"));
    const QByteArray savedDriver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    auto sound = std::make_unique<SdlSoundService>(KeepOpenMs);
    const bool opened = sound->hasDevice();
    qputenv("SDL_AUDIODRIVER", savedDriver);
    QVERIFY2(opened, "SDL's disk audio driver did not open");

    // Half a second of a loud 16-bit tone: every sample is far from silence.
    const QString half = dir.filePath(QStringLiteral("half.wav"));
    QFile f(half);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(waveOf(1, 1, 22050, 2, 16, 22050));
    f.close();
    constexpr qint64 BytesPerFrame = 4;
    constexpr qint64 ToneFrames = 44100 / 2;
    // The buffer being mixed and the file writer's own buffering, with room to spare.
    constexpr qint64 Slack = 4 * 1024;

    QFileInfo written(output);
    written.setCaching(false);
    sound->sndPlaySound(half, SND_NODEFAULT);
    const qint64 writtenAtReturn = written.size() / BytesPerFrame;
    // Whatever is still to be heard is heard before the device closes; the driver
    // keeps a sound card's pace, or a slower one on a busy machine.
    QVERIFY(
        QTest::qWaitFor([&] { return written.size() / BytesPerFrame >= writtenAtReturn + ToneFrames + Slack; }, 20000));
    sound.reset();  // closing the device writes out what is still buffered

    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray raw = file.readAll();
    qint64 first = -1, last = -1, heard = 0;
    for (qint64 i = 0; i < raw.size() / BytesPerFrame; ++i) {
        const auto* frame = reinterpret_cast<const uchar*>(raw.constData() + i * BytesPerFrame);
        if (std::abs(int(qFromLittleEndian<qint16>(frame))) > 1000) {
            if (first < 0)
                first = i;
            last = i;
            ++heard;
        }
    }
    const QString where = QStringLiteral("tone heard in %1 frames from %2 to %3, %4 frames written at the return")
                              .arg(heard)
                              .arg(first)
                              .arg(last)
                              .arg(writtenAtReturn);
    // The whole tone was heard, without a gap...
    QVERIFY2(heard >= ToneFrames - 64 && last - first + 1 == heard, qPrintable(where));
    // ...before the call came back...
    QVERIFY2(writtenAtReturn >= last - Slack, qPrintable(where));
    // ...and the call did come back: a hang guard of two seconds of audio, where
    // the service gives up a quarter of a second past a sound's length.
    QVERIFY2(writtenAtReturn <= last + 2 * 44100, qPrintable(where));
}

// clang-format off
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
    QTest::newRow("the largest the service reads, which plays") << QByteArray("largest") << true << false;
    QTest::newRow("a link to a device that never ends") << QByteArray("zeros") << true << true;
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
// clang-format on

void TestSound::faultyFilesAreSilentAndDoNotHold()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, exists);
    QFETCH(bool, silent);
    SdlSoundService sound;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Wave22.wav"));
    if (contents == "zeros") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
    } else if (exists) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (contents == "huge") {
            f.write(wave(0x7FFFFFF0u, 1000));
            QVERIFY(f.resize(MaxWaveBytes + 1));  // sparse: cheap to make
        } else if (contents == "largest") {
            // A short sound in the device's own format (so that converting it
            // cannot grow it past the other limit) behind a chunk of filler, the
            // file exactly at the limit.
            const QByteArray sound = waveOf(1, 2, 44100, 4, 16, 4000);
            QByteArray filler("junk");
            LittleEndianWriters(filler).first(quint32(MaxWaveBytes - sound.size() - 8));
            f.write(sound.left(36) + filler);
            f.seek(MaxWaveBytes - (sound.size() - 36));
            f.write(sound.mid(36));
            QCOMPARE(f.size(), MaxWaveBytes);
        } else {
            f.write(contents);
        }
    }
    QVERIFY2(msToPlay(sound, file, SND_NODEFAULT) < HangGuardMs, "a faulty file held the caller");
    QVERIFY2(msToPlay(sound, file, SND_ASYNC | SND_NODEFAULT | SND_LOOP) < HangGuardMs,
             "a faulty file held the caller");
    if (silent && sound.hasDevice())
        QVERIFY2(!Mix_Playing(-1), "a faulty file is playing");
    if (contents == "largest" && sound.hasDevice())
        QVERIFY2(Mix_Playing(-1), "a file of the largest size allowed is silent");
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
    QTest::newRow("a chunk of odd length before the samples") << withOddChunk(waveOf(1, 1, 8000, 1, 8, 800)) << true;
    QTest::newRow("sample rate of 1 Hz") << waveOf(1, 1, 1, 1, 8, 4000) << false;
    QTest::newRow("sample rate of 100 Hz, 2 MB") << waveOf(1, 1, 100, 1, 8, 2'000'000) << false;
}

// Nothing the mixer makes of a file outgrows the bound the service checks
// before handing the file over, and what would outgrow the limit is not decoded.
void TestSound::convertedSizeBoundsWhatTheMixerMakes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, plays);
    SdlSoundService sound;
    if (!sound.hasDevice())
        QSKIP("SDL has no audio device here, not even the dummy one");
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    QVERIFY(Mix_QuerySpec(&rate, &format, &channels));

    QByteArray sanitised = bytes;
    QVERIFY(SanitizeWave(sanitised));
    const auto bound = ConvertedWaveBytes(sanitised, rate, channels * (SDL_AUDIO_BITSIZE(format) / 8));
    QVERIFY(bound);
    QString why;
    Mix_Chunk* chunk = LoadWaveChunk(bytes, &why);
    QVERIFY2((chunk != nullptr) == plays, qPrintable(why));
    if (!chunk) {
        QVERIFY(*bound > MaxConvertedWaveBytes);
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
    QCOMPARE(SanitizeWave(bytes), isWave);
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

    SdlSoundService sound;
    FakeWorld world;
    world.programDir = data.dir.path();
    Services services = world.services();
    services.sound = &sound;
    frmMain w(services);
    QCOMPARE(w.Form_Load(), frmMain::LoadResult::Loaded);
    QVERIFY(world.msgbox.calls.isEmpty());
    QCOMPARE(Probe::BgmOn(w), mdlAelor::True);
    QVERIFY(Child<QAction>(w, "mnuBgmItem", 0)->isChecked());
    w.show();
    QVERIFY(w.close());
    QVERIFY(world.msgbox.calls.isEmpty());
    QVERIFY(world.endCalls.isEmpty());
}

void TestSound::loopPlaysOnUntilStopped()
{
    SdlSoundService sound;
    if (!sound.hasDevice())
        QSKIP("SDL has no audio device here, not even the dummy one");
    const QString tune = BuildDataDir() + QStringLiteral("sounds/Over.wav");
    QVERIFY(QFile::exists(tune));
    // The caller is not held for the loop: a wait would end with the sound halted.
    sound.sndPlaySound(tune, SND_ASYNC | SND_NODEFAULT | SND_LOOP);
    QVERIFY2(Mix_Playing(-1), "the loop is not playing when its request returns");
    sound.sndPlaySound(std::nullopt, SND_ASYNC | SND_NODEFAULT | SND_LOOP);
    QVERIFY2(!Mix_Playing(-1), "the loop plays on after the stop");
}

void TestSound::noDeviceMeansSilence()
{
    const QByteArray saved = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    SdlSoundService sound;
    const bool opened = sound.hasDevice();
    qputenv("SDL_AUDIODRIVER", saved);
    QVERIFY(!opened);
    // Besides the chime, a sound far longer than the hang guard, so that waiting
    // for a sound nobody hears cannot pass for a slow return.
    QTemporaryDir dir;
    const QString longSound = dir.filePath(QStringLiteral("long.wav"));
    QFile f(longSound);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(wave(22050 * 2 * 30, 22050 * 2 * 30));  // 30 s of silence
    f.close();
    for (const QString& file : {BuildDataDir() + QStringLiteral("sounds/Wave22.wav"), longSound})
        QVERIFY2(msToPlay(sound, file, SND_NODEFAULT) < HangGuardMs,
                 qPrintable(QStringLiteral("no device, and %1 held the caller").arg(file)));
    sound.sndPlaySound(std::nullopt, SND_ASYNC | SND_NODEFAULT | SND_LOOP);
}

void TestSound::silentDeviceIsLetGoAndOpensAgain()
{
    SdlSoundService sound(ShortRestMs);
    if (!sound.hasDevice())
        QSKIP("SDL has no audio device here, not even the dummy one");
    const QString tune = BuildDataDir() + QStringLiteral("sounds/Over.wav");
    const std::uint32_t loop = SND_ASYNC | SND_NODEFAULT | SND_LOOP;
    // The audio thread starts and ends on SDL's time, which a busy machine stretches.
    sound.sndPlaySound(tune, loop);
    QVERIFY(QTest::qWaitFor([] { return audioThreads() == 1; }, 20000));
    sound.sndPlaySound(std::nullopt, loop);
    // With nothing to play, nothing of the device stays to wake the program.
    QVERIFY(QTest::qWaitFor([] { return audioThreads() == 0; }, 20000));
    sound.sndPlaySound(tune, loop);
    QVERIFY(QTest::qWaitFor([] { return audioThreads() == 1; }, 20000));
    QVERIFY(Mix_Playing(-1) == 1);
    sound.sndPlaySound(std::nullopt, loop);
}

using Event = ServerReturn::Event;
using State = ServerReturn::State;

void TestSound::serverReturnFollowsItsTable_data()
{
    QTest::addColumn<QString>("from");  // the start, reached through the events its name says
    QTest::addColumn<Event>("event");
    QTest::addColumn<bool>("socketThere");
    QTest::addColumn<State>("to");
    QTest::addColumn<unsigned>("actions");
    QTest::addColumn<int>("triesLeft");
    const unsigned none = ServerReturn::Nothing, connect = ServerReturn::Connect, retry = ServerReturn::RetryLater,
                   announce = ServerReturn::Announce;
    const struct {
        const char* from;
        Event event;
        bool there;
        State to;
        unsigned actions;
        int tries;
    } rows[] = {
        // clang-format off
        {"watching", Event::Lost, false, State::Watching, none, 0},
        {"watching", Event::Watched, true, State::Trying, connect, 0},
        {"watching", Event::Watched, false, State::Watching, none, 0},
        {"watching", Event::Changed, true, State::Trying, connect, 8},
        {"watching", Event::Changed, false, State::Watching, none, 0},
        {"watching", Event::RetryDue, true, State::Watching, none, 0},
        {"watching", Event::Answered, false, State::Watching, none, 0},
        {"watching", Event::Refused, false, State::Watching, none, 0},
        {"watching", Event::Reached, false, State::Connected, none, 0},
        {"watching", Event::Unreached, false, State::Watching, none, 0},
        {"trying after a change", Event::Lost, false, State::Watching, none, 0},
        {"trying after a change", Event::Watched, true, State::Trying, none, 8},
        {"trying after a change", Event::Changed, true, State::Trying, none, 8},
        {"trying after a change", Event::Changed, false, State::Trying, none, 8},
        {"trying after a change", Event::RetryDue, true, State::Trying, none, 8},
        {"trying after a change", Event::Answered, false, State::Connected, announce, 8},
        {"trying after a change", Event::Refused, false, State::Retrying, retry, 7},
        {"trying after a change", Event::Reached, false, State::Connected, none, 8},
        {"trying after a change", Event::Unreached, false, State::Retrying, retry, 7},
        {"trying a socket found when watching began", Event::Refused, false, State::Watching, none, 0},
        {"trying a socket found when watching began", Event::Changed, true, State::Trying, none, 8},
        {"retrying", Event::Lost, false, State::Retrying, none, 7},
        {"retrying", Event::Watched, true, State::Retrying, none, 7},
        {"retrying", Event::Changed, true, State::Trying, connect, 8},
        {"retrying", Event::Changed, false, State::Retrying, none, 7},
        {"retrying", Event::RetryDue, true, State::Trying, connect, 7},
        {"retrying", Event::RetryDue, false, State::Watching, none, 7},
        {"retrying", Event::Answered, false, State::Retrying, none, 7},
        {"retrying", Event::Refused, false, State::Retrying, none, 7},
        {"retrying", Event::Reached, false, State::Connected, none, 7},
        {"retrying", Event::Unreached, false, State::Retrying, retry, 6},
        {"connected", Event::Lost, false, State::Watching, none, 0},
        {"connected", Event::Watched, true, State::Connected, none, 0},
        {"connected", Event::Changed, true, State::Connected, none, 0},
        {"connected", Event::RetryDue, true, State::Connected, none, 0},
        {"connected", Event::Answered, false, State::Connected, none, 0},
        {"connected", Event::Refused, false, State::Connected, none, 0},
        {"connected", Event::Reached, false, State::Connected, none, 0},
        {"connected", Event::Unreached, false, State::Watching, none, 0},
        // clang-format on
    };
    const char* events[] = {"lost", "watched", "changed", "retry due", "answered", "refused", "reached", "unreached"};
    for (const auto& r : rows)
        QTest::addRow("%s: %s%s", r.from, events[int(r.event)], r.there ? ", socket there" : "")
            << QString::fromLatin1(r.from) << r.event << r.there << r.to << r.actions << r.tries;
}

// The return's states without a server: each row drives the table to its start
// and feeds it one event.
void TestSound::serverReturnFollowsItsTable()
{
    QFETCH(QString, from);
    QFETCH(Event, event);
    QFETCH(bool, socketThere);
    QFETCH(State, to);
    QFETCH(unsigned, actions);
    QFETCH(int, triesLeft);
    ServerReturn r;
    if (from == QLatin1String("connected"))
        r.on(Event::Reached);
    if (from.startsWith(QLatin1String("trying a socket")))
        r.on(Event::Watched, true);
    if (from.startsWith(QLatin1String("trying after")) || from.startsWith(QLatin1String("retrying")))
        r.on(Event::Changed, true);
    if (from.startsWith(QLatin1String("retrying")))
        r.on(Event::Refused);
    QCOMPARE(r.on(event, socketThere), actions);
    QCOMPARE(r.state(), to);
    QCOMPARE(r.triesLeft(), triesLeft);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
