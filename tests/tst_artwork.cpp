#include "data/artwork.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Black = 0x000000;

QRgb rgbAt(const QImage& img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFF;
}

struct Wav {
    QString error;
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int blockAlign = 0;
    int byteRate = 0;
    std::vector<std::int16_t> samples;  // interleaved
    int frames() const { return channels ? int(samples.size()) / channels : 0; }
};

std::uint32_t le32(const QByteArray& b, qsizetype at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8
           | std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

std::uint16_t le16(const QByteArray& b, qsizetype at)
{
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

// Walks the RIFF chunks as a player would, rather than assuming a 44-byte header.
Wav parseWav(const QByteArray& b)
{
    Wav w;
    if (b.size() < 12 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE") {
        w.error = QStringLiteral("not RIFF/WAVE");
        return w;
    }
    if (le32(b, 4) != std::uint32_t(b.size() - 8)) {
        w.error = QStringLiteral("RIFF size %1 disagrees with file size %2").arg(le32(b, 4)).arg(b.size());
        return w;
    }
    bool haveFmt = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= b.size()) {
        const QByteArray id = b.mid(at, 4);
        const qsizetype size = le32(b, at + 4);
        const qsizetype body = at + 8;
        if (body + size > b.size()) {
            w.error = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return w;
        }
        if (id == "fmt ") {
            if (size < 16) {
                w.error = QStringLiteral("short fmt chunk");
                return w;
            }
            w.format = le16(b, body);
            w.channels = le16(b, body + 2);
            w.rate = int(le32(b, body + 4));
            w.byteRate = int(le32(b, body + 8));
            w.blockAlign = le16(b, body + 12);
            w.bits = le16(b, body + 14);
            haveFmt = true;
        } else if (id == "data") {
            if (!haveFmt || w.bits != 16) {
                w.error = QStringLiteral("data before a 16-bit fmt chunk");
                return w;
            }
            for (qsizetype i = body; i + 1 < body + size; i += 2)
                w.samples.push_back(std::int16_t(le16(b, i)));
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFmt || !haveData)
        w.error = QStringLiteral("missing fmt or data chunk");
    return w;
}

int peakOf(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to)
{
    int peak = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i)
        peak = std::max(peak, std::abs(int(s[i])));
    return peak;
}

}  // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void kiteSheetHoldsTwoRowsOfSixCells();
    void maskIsWhiteExactlyWhereThePictureIsNotWhite_data();
    void maskIsWhiteExactlyWhereThePictureIsNotWhite();
    void composedFrameShowsBackgroundAroundTheKite_data();
    void composedFrameShowsBackgroundAroundTheKite();
    void kiteKeepsClearOfItsCellEdges_data();
    void kiteKeepsClearOfItsCellEdges();
    void eachFrameDiffersFromTheNext_data();
    void eachFrameDiffersFromTheNext();
    void drawingsAreTheSameOnEveryRun();

    void backgroundCoversTheDisplay();

    void wavesAreSixteenBitPcmOfPlausibleLength_data();
    void wavesAreSixteenBitPcmOfPlausibleLength();
    void soundsStartAndEndInSilence_data();
    void soundsStartAndEndInSilence();
    void tuneLastsAWholeNumberOfBeats();

    void smallIconUsesAtMostSixteenColours();
    void largerIconsEnlargeTheSmallOnePixelForPixel_data();
    void largerIconsEnlargeTheSmallOnePixelForPixel();
};

void TestArtwork::kiteSheetHoldsTwoRowsOfSixCells()
{
    const QImage sheet = Artwork::makeKiteSheet();
    QCOMPARE(sheet.size(), QSize(180, 120));
    QCOMPARE(sheet.format(), QImage::Format_RGB32);
    QCOMPARE(Artwork::KiteCellWidth * Artwork::KiteFrames, sheet.width());
    QCOMPARE(Artwork::KiteCellHeight * 2, sheet.height());
}

void TestArtwork::maskIsWhiteExactlyWhereThePictureIsNotWhite_data()
{
    QTest::addColumn<int>("frame");
    for (int n = 1; n <= 6; ++n)
        QTest::addRow("frame %d", n) << n;
}

// The compositor ORs the mask and then ANDs the picture: any pixel where the
// two disagree shows as a white speck or a hole in the kite.
void TestArtwork::maskIsWhiteExactlyWhereThePictureIsNotWhite()
{
    QFETCH(int, frame);
    const QImage sheet = Artwork::makeKiteSheet();
    const int x0 = (frame - 1) * 30;
    int opaque = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 30; ++x) {
            const QRgb picture = rgbAt(sheet, x0 + x, y);
            const QRgb mask = rgbAt(sheet, x0 + x, 60 + y);
            if (mask != White && mask != Black)
                QFAIL(qPrintable(QStringLiteral("mask pixel (%1,%2) is %3, neither black nor white")
                                     .arg(x)
                                     .arg(y)
                                     .arg(mask, 6, 16, QLatin1Char('0'))));
            if ((picture != White) != (mask == White))
                QFAIL(qPrintable(QStringLiteral("picture %1 and mask %2 disagree at (%3,%4)")
                                     .arg(picture, 6, 16, QLatin1Char('0'))
                                     .arg(mask, 6, 16, QLatin1Char('0'))
                                     .arg(x)
                                     .arg(y)));
            opaque += mask == White;
        }
    }
    // A kite worth the name covers a good part of its cell but not all of it.
    QVERIFY2(opaque > 300, qPrintable(QString::number(opaque)));
    QVERIFY2(opaque < 30 * 60 / 2, qPrintable(QString::number(opaque)));
}

void TestArtwork::composedFrameShowsBackgroundAroundTheKite_data()
{
    maskIsWhiteExactlyWhereThePictureIsNotWhite_data();
}

// Runs the compositor's two raster operations over the real background and
// checks the outcome: background around the kite, kite colours inside it.
void TestArtwork::composedFrameShowsBackgroundAroundTheKite()
{
    QFETCH(int, frame);
    const QImage sheet = Artwork::makeKiteSheet();
    const QImage back = Artwork::makeBackground();
    const int x0 = (frame - 1) * 30;
    const QPoint at(100, 100);
    int kitePixels = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 30; ++x) {
            const QRgb under = rgbAt(back, at.x() + x, at.y() + y);
            const QRgb picture = rgbAt(sheet, x0 + x, y);
            const QRgb shown = (under | rgbAt(sheet, x0 + x, 60 + y)) & picture;
            if (picture == White) {
                QCOMPARE(shown, under);
            } else {
                QCOMPARE(shown, picture);
                ++kitePixels;
            }
        }
    }
    QVERIFY(kitePixels > 0);
}

void TestArtwork::kiteKeepsClearOfItsCellEdges_data()
{
    maskIsWhiteExactlyWhereThePictureIsNotWhite_data();
}

// A kite touching its cell's edge would look cut off when drawn over the sky.
void TestArtwork::kiteKeepsClearOfItsCellEdges()
{
    QFETCH(int, frame);
    const QImage sheet = Artwork::makeKiteSheet();
    const int x0 = (frame - 1) * 30;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool edge = x == 0 || x == 29 || y == 0 || y == 59;
            if (edge && rgbAt(sheet, x0 + x, 60 + y) != Black)
                QFAIL(qPrintable(QStringLiteral("kite touches the cell edge at (%1,%2)").arg(x).arg(y)));
        }
    }
}

void TestArtwork::eachFrameDiffersFromTheNext_data()
{
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("next");
    for (int n = 1; n <= 6; ++n)
        QTest::addRow("frame %d to %d", n, n % 6 + 1) << n << n % 6 + 1;
}

// The cycle includes 6 -> 1: a repeated frame there would make the flutter stall.
void TestArtwork::eachFrameDiffersFromTheNext()
{
    QFETCH(int, frame);
    QFETCH(int, next);
    const QImage sheet = Artwork::makeKiteSheet();
    const QImage a = sheet.copy((frame - 1) * 30, 0, 30, 120);
    const QImage b = sheet.copy((next - 1) * 30, 0, 30, 120);
    int differing = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 30; ++x)
            differing += rgbAt(a, x, y) != rgbAt(b, x, y);
    // More than a stray pixel or two: the tail has to visibly move.
    QVERIFY2(differing >= 10, qPrintable(QString::number(differing)));
}

// The build drew the data files in a run of its own: drawing them again here
// gives the same pictures and the same bytes.
void TestArtwork::drawingsAreTheSameOnEveryRun()
{
    const QString built = QStringLiteral(AELORIN_BUILD_DIR "/");
    auto picture = [&built](const char* file) {
        return QImage(built + QLatin1String(file)).convertToFormat(QImage::Format_RGB32);
    };
    auto bytes = [&built](const char* file) {
        QFile f(built + QLatin1String(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QCOMPARE(picture("images/kite.bmp"), Artwork::makeKiteSheet());
    QCOMPARE(picture("images/back.bmp"), Artwork::makeBackground());
    QCOMPARE(bytes("sounds/Wave22.wav"), Artwork::makeChimeWav());
    QCOMPARE(bytes("sounds/Over.wav"), Artwork::makeTuneWav());
}

void TestArtwork::backgroundCoversTheDisplay()
{
    const QImage back = Artwork::makeBackground();
    QVERIFY(back.width() >= 380);
    QVERIFY(back.height() >= 350);
    QCOMPARE(back.format(), QImage::Format_RGB32);
    // A flat fill or a failed paint leaves a handful of colours; a sky with
    // gradients and clouds leaves many.
    QSet<QRgb> colours;
    for (int y = 0; y < 350; y += 2)
        for (int x = 0; x < 380; x += 2)
            colours.insert(rgbAt(back, x, y));
    QVERIFY2(colours.size() > 200, qPrintable(QString::number(colours.size())));
}

void TestArtwork::wavesAreSixteenBitPcmOfPlausibleLength_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<double>("minSeconds");
    QTest::addColumn<double>("maxSeconds");
    QTest::newRow("opening and closing chime") << Artwork::makeChimeWav() << 0.5 << 2.0;
    QTest::newRow("music loop") << Artwork::makeTuneWav() << 15.0 << 30.0;
}

void TestArtwork::wavesAreSixteenBitPcmOfPlausibleLength()
{
    QFETCH(QByteArray, wav);
    QFETCH(double, minSeconds);
    QFETCH(double, maxSeconds);
    const Wav w = parseWav(wav);
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    QCOMPARE(w.format, 1);
    QVERIFY(w.channels == 1 || w.channels == 2);
    QVERIFY2(w.rate == 22050 || w.rate == 44100, qPrintable(QString::number(w.rate)));
    QCOMPARE(w.bits, 16);
    QCOMPARE(w.blockAlign, 2 * w.channels);
    QCOMPARE(w.byteRate, w.rate * w.blockAlign);
    QCOMPARE(w.samples.size() % std::size_t(w.channels), std::size_t(0));
    const double seconds = double(w.frames()) / w.rate;
    QVERIFY2(seconds >= minSeconds && seconds <= maxSeconds, qPrintable(QString::number(seconds)));
    // Audible, and not driven into the rails.
    const int peak = peakOf(w.samples, 0, w.samples.size());
    QVERIFY2(peak > 8000, qPrintable(QString::number(peak)));
    QVERIFY2(peak < 32767, qPrintable(QString::number(peak)));
}

void TestArtwork::soundsStartAndEndInSilence_data()
{
    wavesAreSixteenBitPcmOfPlausibleLength_data();
}

// A sound that starts or stops away from zero clicks; for the music loop the
// click would come back on every repeat.
void TestArtwork::soundsStartAndEndInSilence()
{
    QFETCH(QByteArray, wav);
    const Wav w = parseWav(wav);
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    QVERIFY(w.frames() > 0);
    const std::size_t n = w.samples.size();
    const std::size_t ch = std::size_t(w.channels);
    for (std::size_t c = 0; c < ch; ++c) {
        QVERIFY2(std::abs(int(w.samples[c])) <= 64, qPrintable(QString::number(w.samples[c])));
        QVERIFY2(std::abs(int(w.samples[n - ch + c])) <= 64, qPrintable(QString::number(w.samples[n - ch + c])));
    }
    // Not only the last sample: the final few milliseconds have died away.
    const std::size_t tail = std::size_t(w.rate / 200) * ch;
    const int endPeak = peakOf(w.samples, n - tail, n);
    QVERIFY2(endPeak < 1000, qPrintable(QString::number(endPeak)));
}

void TestArtwork::tuneLastsAWholeNumberOfBeats()
{
    const Wav w = parseWav(Artwork::makeTuneWav());
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    QCOMPARE(w.rate, Artwork::TuneSampleRate);
    QCOMPARE(Artwork::TuneSamplesPerBeat * Artwork::TuneBeatsPerMinute, Artwork::TuneSampleRate * 60);
    QCOMPARE(w.frames() % Artwork::TuneSamplesPerBeat, 0);
    // Whole bars of four, so the melody's phrasing also carries across.
    QCOMPARE(w.frames() / Artwork::TuneSamplesPerBeat % 4, 0);
}

void TestArtwork::smallIconUsesAtMostSixteenColours()
{
    const QImage icon = Artwork::makeAppIcon(32);
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.hasAlphaChannel());
    QSet<QRgb> colours;
    int transparent = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb c = icon.pixel(x, y);
            // A half-transparent pixel would be blended into a colour outside the palette.
            QVERIFY2(qAlpha(c) == 0 || qAlpha(c) == 255, qPrintable(QString::number(qAlpha(c))));
            colours.insert(qAlpha(c) == 0 ? 0u : c);
            transparent += qAlpha(c) == 0;
        }
    }
    QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
    // It shows something, on a ground the title bar shows through.
    QVERIFY(colours.size() >= 4);
    QVERIFY(transparent > 0);
    QVERIFY(transparent < 32 * 32);
}

void TestArtwork::largerIconsEnlargeTheSmallOnePixelForPixel_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("margin");
    QTest::newRow("48, too small to double") << 48 << 1 << 8;
    QTest::newRow("64") << 64 << 2 << 0;
    QTest::newRow("100, tripled and framed") << 100 << 3 << 2;
    QTest::newRow("128") << 128 << 4 << 0;
    QTest::newRow("256") << 256 << 8 << 0;
}

void TestArtwork::largerIconsEnlargeTheSmallOnePixelForPixel()
{
    QFETCH(int, size);
    QFETCH(int, factor);
    QFETCH(int, margin);
    const QImage small = Artwork::makeAppIcon(32);
    const QImage big = Artwork::makeAppIcon(size);
    QCOMPARE(big.size(), QSize(size, size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int sx = x - margin;
            const int sy = y - margin;
            const bool inside = sx >= 0 && sy >= 0 && sx < 32 * factor && sy < 32 * factor;
            const QRgb expected = inside ? small.pixel(sx / factor, sy / factor) : 0u;
            const QRgb got = big.pixel(x, y);
            // Fully transparent pixels may carry any colour bits.
            if (qAlpha(expected) == 0 && qAlpha(got) == 0)
                continue;
            if (got != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1,%2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(got, 8, 16, QLatin1Char('0'))
                                     .arg(expected, 8, 16, QLatin1Char('0'))));
        }
    }
}

QTEST_APPLESS_MAIN(TestArtwork)
#include "tst_artwork.moc"
