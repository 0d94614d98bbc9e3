#include "data/artwork.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <numbers>
#include <vector>

namespace Artwork {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr QRgb PureWhite = 0xFFFFFFFFu;
constexpr QRgb PureBlack = 0xFF000000u;
// White paint on the kite itself has to stay distinguishable from the ground.
constexpr QRgb KiteOffWhite = 0xFFFEFEFEu;

// A tiny fixed-seed generator: the standard distributions are not required to
// give the same numbers on every library, and the pictures must not change
// from one build machine to the next.
class Xorshift32 {
public:
    explicit Xorshift32(std::uint32_t seed)
        : m_state(seed)
    {
    }

    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

    double uniform(double lo, double hi)
    {
        return lo + (hi - lo) * static_cast<double>(next() >> 8) / double(1u << 24);
    }

private:
    std::uint32_t m_state;
};

// ---------------------------------------------------------------------------
// Kite sprite

namespace KiteColour {
const QColor Sail(0xFF, 0xF4, 0xDA);
const QColor Border(0x1C, 0x2A, 0x78);
const QColor Sun(0xE0, 0x1E, 0x2C);
const QColor Spar(0x6B, 0x3A, 0x17);
const QColor TopPanel(0xFF, 0xC4, 0x1F);
const QColor String(0x40, 0x30, 0x28);
const QColor RibbonLeft(0xE8, 0x3A, 0x8C);
const QColor RibbonRight(0x1E, 0x8F, 0xE0);
const std::array<QColor, 3> Bows{QColor(0xF0, 0x2A, 0x2A), QColor(0xFF, 0xD0, 0x20), QColor(0x26, 0x58, 0xE8)};
}  // namespace KiteColour

// Kite body, in cell pixels. The sail is symmetric about column 15.
constexpr int KiteAxis = 15;
constexpr int KiteTop = 1;
constexpr int KiteSparY = 13;
constexpr int KiteHalfWidth = 12;
constexpr int KiteBottom = 36;
// Row of the tail's last knot; its bow reaches two rows lower, which keeps
// one row of ground at the foot of the cell.
constexpr int TailEnd = 56;

void drawLineWidth2(QPainter& p, const QPolygonF& line, const QColor& colour)
{
    p.setPen(QPen(colour, 1));
    p.drawPolyline(line);
    p.drawPolyline(line.translated(1, 0));
}

// The whole kite of one frame. The body never moves; the tail carries a
// travelling wave and the corner ribbons swing, both with a period of exactly
// six frames, so frame 6 leads back into frame 1 without a jump.
void drawKite(QPainter& p, int frameIndex)
{
    const double phase = 2.0 * Pi * frameIndex / KiteFrames;

    const QPoint top(KiteAxis, KiteTop);
    const QPoint left(KiteAxis - KiteHalfWidth, KiteSparY);
    const QPoint right(KiteAxis + KiteHalfWidth, KiteSparY);
    const QPoint bottom(KiteAxis, KiteBottom);

    // Two streamers flare out from the foot of the sail on either side of
    // the tail; they swing half a cycle apart so the kite never looks lopsided
    // for long.
    const int ribbonSteps = 12;
    QPolygonF leftRibbon, rightRibbon;
    for (int i = 0; i <= ribbonSteps; ++i) {
        const double t = double(i) / ribbonSteps;
        const double y = KiteBottom - 1 + 10.0 * t;
        const double spread = 1.0 + 5.5 * t;
        leftRibbon << QPointF(KiteAxis - 1 - spread + 1.8 * t * std::sin(phase - 1.4 * Pi * t), y);
        rightRibbon << QPointF(KiteAxis + spread + 1.8 * t * std::sin(phase + Pi - 1.4 * Pi * t), y);
    }
    drawLineWidth2(p, leftRibbon, KiteColour::RibbonLeft);
    drawLineWidth2(p, rightRibbon, KiteColour::RibbonRight);

    // Sail: a golden top panel above the cross spar, a pale lower panel.
    p.setPen(Qt::NoPen);
    p.setBrush(KiteColour::Sail);
    p.drawPolygon(QPolygon({top, right, bottom, left}));
    p.setBrush(KiteColour::TopPanel);
    p.drawPolygon(QPolygon({top, right, left}));

    // Spars behind the sun, as the sail is painted over its frame.
    p.setPen(QPen(KiteColour::Spar, 1));
    p.drawLine(top, bottom);
    p.drawLine(left, right);

    p.setPen(Qt::NoPen);
    p.setBrush(KiteColour::Sun);
    p.drawEllipse(QRectF(KiteAxis - 5, KiteSparY + 3, 11, 11));

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(KiteColour::Border, 1));
    p.drawPolygon(QPolygon({top, right, bottom, left}));

    // Tail: amplitude grows towards the free end, where the wind whips it most.
    const int tailSteps = 40;
    QPolygonF tail;
    auto tailPoint = [&](double s) {
        const double x = KiteAxis + 0.5 + 7.5 * std::pow(s, 1.3) * std::sin(phase - 1.8 * Pi * s);
        const double y = KiteBottom + 1 + (TailEnd - KiteBottom - 1) * s;
        return QPointF(x, y);
    };
    for (int i = 0; i <= tailSteps; ++i)
        tail << tailPoint(double(i) / tailSteps);
    p.setPen(QPen(KiteColour::String, 1));
    p.drawPolyline(tail);

    // The first bow sits below the streamers' ends so the two never merge.
    constexpr std::array<double, 3> BowPositions{0.42, 0.71, 1.0};
    p.setPen(Qt::NoPen);
    for (std::size_t b = 0; b < KiteColour::Bows.size(); ++b) {
        const QPointF c = tailPoint(BowPositions[b]);
        const QPoint k(int(std::floor(c.x())), int(std::floor(c.y())));
        p.setBrush(KiteColour::Bows[b]);
        p.drawPolygon(QPolygon({k + QPoint(-3, -2), k + QPoint(-3, 2), k + QPoint(0, 0)}));
        p.drawPolygon(QPolygon({k + QPoint(3, -2), k + QPoint(3, 2), k + QPoint(0, 0)}));
        p.fillRect(QRect(k.x() - 1, k.y() - 1, 3, 3), KiteColour::Bows[b]);
    }
}

}  // namespace

QImage makeKiteSheet()
{
    QImage sheet(KiteCellWidth * KiteFrames, KiteCellHeight * 2, QImage::Format_RGB32);
    for (int frame = 0; frame < KiteFrames; ++frame) {
        QImage cell(KiteCellWidth, KiteCellHeight, QImage::Format_ARGB32);
        cell.fill(Qt::transparent);
        {
            QPainter p(&cell);
            // Every pixel must be either kite or ground: a blended edge would
            // belong to neither the picture nor the mask.
            p.setRenderHint(QPainter::Antialiasing, false);
            drawKite(p, frame);
        }
        const int x0 = frame * KiteCellWidth;
        for (int y = 0; y < KiteCellHeight; ++y) {
            for (int x = 0; x < KiteCellWidth; ++x) {
                const QRgb c = cell.pixel(x, y);
                const bool opaque = qAlpha(c) >= 128;
                QRgb picture = PureWhite;
                if (opaque) {
                    picture = c | 0xFF000000u;
                    if (picture == PureWhite)
                        picture = KiteOffWhite;
                }
                sheet.setPixel(x0 + x, y, picture);
                sheet.setPixel(x0 + x, KiteCellHeight + y, opaque ? PureWhite : PureBlack);
            }
        }
    }
    return sheet;
}

// ---------------------------------------------------------------------------
// Background

namespace {

// Soft cloud built from overlapping puffs; each puff fades out at its rim so
// neighbouring puffs melt into one another instead of showing circles.
void drawCloud(QPainter& p, Xorshift32& rng, QPointF centre, double width, double height)
{
    const int puffs = 7 + int(rng.next() % 4);
    struct Puff {
        QPointF at;
        double radius;
    };
    std::vector<Puff> shape;
    for (int i = 0; i < puffs; ++i) {
        const double along = (double(i) / (puffs - 1) - 0.5) * width;
        // Puffs are taller in the middle, like a heap of cumulus.
        const double bulge = 1.0 - std::abs(along) / (0.5 * width);
        const double r = height * (0.45 + 0.55 * bulge) * rng.uniform(0.8, 1.15);
        shape.push_back({centre + QPointF(along + rng.uniform(-4, 4), -0.35 * r * bulge), r});
    }
    auto paintPuffs = [&](QPointF offset, QColor core) {
        for (const Puff& puff : shape) {
            QRadialGradient g(puff.at + offset, puff.radius);
            QColor rim = core;
            rim.setAlpha(0);
            g.setColorAt(0.0, core);
            g.setColorAt(0.55, core);
            g.setColorAt(1.0, rim);
            p.setBrush(g);
            p.drawEllipse(puff.at + offset, puff.radius, puff.radius);
        }
    };
    // A faint blue-grey underside first, then the sunlit body slightly above.
    paintPuffs(QPointF(2, 4), QColor(190, 202, 226, 150));
    paintPuffs(QPointF(0, 0), QColor(255, 255, 255, 215));
}

// Height of a hill line: a few long, gentle waves.
double hillY(double x, double base, double a1, double f1, double p1, double a2, double f2, double p2)
{
    return base + a1 * std::sin(x * f1 + p1) + a2 * std::sin(x * f2 + p2);
}

}  // namespace

QImage makeBackground()
{
    QImage img(BackWidth, BackHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);

    // Deep blue overhead, warming to a pale peach at the horizon.
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0.0, QColor(0x2A, 0x5C, 0xA8));
    sky.setColorAt(0.5, QColor(0x6F, 0xA9, 0xE0));
    sky.setColorAt(0.85, QColor(0xBF, 0xDA, 0xEE));
    sky.setColorAt(1.0, QColor(0xF5, 0xDE, 0xC8));
    p.fillRect(img.rect(), sky);

    const QPointF sunAt(312, 64);
    QRadialGradient glow(sunAt, 110);
    glow.setColorAt(0.0, QColor(255, 250, 228, 210));
    glow.setColorAt(0.18, QColor(255, 242, 205, 140));
    glow.setColorAt(1.0, QColor(255, 236, 200, 0));
    p.fillRect(img.rect(), glow);
    p.setBrush(QColor(255, 253, 240));
    p.drawEllipse(sunAt, 17, 17);

    Xorshift32 rng(0x4B1735u);
    const struct {
        double x, y, w, h;
    } clouds[] = {{70, 58, 110, 26}, {215, 118, 130, 30}, {330, 165, 90, 20}, {40, 175, 80, 18}, {170, 30, 70, 16}};
    for (const auto& c : clouds)
        drawCloud(p, rng, QPointF(c.x, c.y), c.w, c.h);

    // A lone snow-capped volcano on the horizon, hazy with distance.
    QPainterPath mountain;
    mountain.moveTo(-10, 300);
    mountain.cubicTo(80, 285, 132, 232, 158, 186);
    mountain.lineTo(188, 186);
    mountain.cubicTo(214, 232, 266, 285, 390, 300);
    mountain.closeSubpath();
    QLinearGradient rock(0, 186, 0, 300);
    rock.setColorAt(0.0, QColor(0x6E, 0x7E, 0xAE));
    rock.setColorAt(1.0, QColor(0xB4, 0xBF, 0xDA));
    p.setBrush(rock);
    p.drawPath(mountain);

    p.save();
    p.setClipPath(mountain);
    QPolygonF snow;
    snow << QPointF(100, 170) << QPointF(250, 170);
    // Ragged lower edge, where snow runs down the gullies.
    const double snowLine[] = {214, 222, 210, 228, 215, 224, 208, 226, 212, 220, 214};
    for (int i = 0; i < 11; ++i)
        snow << QPointF(250 - i * 15.0, snowLine[i]);
    p.setBrush(QColor(0xF3, 0xF6, 0xFC));
    p.drawPolygon(snow);
    p.restore();

    // Mist lying along the foot of the mountain.
    QLinearGradient mist(0, 250, 0, 300);
    mist.setColorAt(0.0, QColor(245, 238, 230, 0));
    mist.setColorAt(1.0, QColor(245, 238, 230, 170));
    p.fillRect(QRectF(0, 250, BackWidth, 50), mist);

    // Two rows of rolling hills, the nearer one darker.
    auto hillPath = [](double base, double a1, double f1, double p1, double a2, double f2, double p2) {
        QPainterPath path;
        path.moveTo(0, BackHeight);
        for (int x = 0; x <= BackWidth; x += 4)
            path.lineTo(x, hillY(x, base, a1, f1, p1, a2, f2, p2));
        path.lineTo(BackWidth, BackHeight);
        path.closeSubpath();
        return path;
    };
    QLinearGradient farGreen(0, 270, 0, 350);
    farGreen.setColorAt(0.0, QColor(0x8C, 0xB8, 0x7A));
    farGreen.setColorAt(1.0, QColor(0x6A, 0x9A, 0x5C));
    p.setBrush(farGreen);
    p.drawPath(hillPath(292, 9, 0.016, 0.7, 4, 0.043, 2.1));

    // Cherry trees dotted along the far ridge, pale pink crowns on dark trunks.
    for (int i = 0; i < 14; ++i) {
        const double x = 12 + i * 27 + rng.uniform(-8, 8);
        const double ground = hillY(x, 292, 9, 0.016, 0.7, 4, 0.043, 2.1);
        const double r = rng.uniform(5, 8);
        p.setBrush(QColor(0x5A, 0x40, 0x38));
        p.drawRect(QRectF(x - 1, ground - r, 2, r + 2));
        for (int k = 0; k < 4; ++k) {
            const QPointF at(x + rng.uniform(-r * 0.6, r * 0.6), ground - r - rng.uniform(0, r * 0.6));
            const int shade = int(rng.uniform(0, 30));
            p.setBrush(QColor(0xF6 - shade / 3, 0xC4 - shade, 0xD4 - shade / 2));
            p.drawEllipse(at, r * 0.7, r * 0.6);
        }
    }

    QLinearGradient nearGreen(0, 300, 0, 350);
    nearGreen.setColorAt(0.0, QColor(0x5C, 0x96, 0x50));
    nearGreen.setColorAt(1.0, QColor(0x3A, 0x6E, 0x3A));
    p.setBrush(nearGreen);
    p.drawPath(hillPath(322, 8, 0.021, 3.9, 3, 0.061, 0.4));

    // Petals drifting over the near hill.
    for (int i = 0; i < 60; ++i) {
        const QPointF at(rng.uniform(0, BackWidth), rng.uniform(300, BackHeight));
        p.setBrush(QColor(0xFA, 0xD6, 0xE2, 200));
        p.drawEllipse(at, 1.3, 1.0);
    }
    p.end();
    return img;
}

// ---------------------------------------------------------------------------
// Sounds

namespace {

void putLE16(QByteArray& out, std::uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void putLE32(QByteArray& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((v >> shift) & 0xFF));
}

// Mono 16-bit PCM. The header is written field by field, little-endian, so
// the file is the same whatever the host's byte order.
QByteArray wavFromSamples(const std::vector<double>& samples, int sampleRate)
{
    const std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF", 4);
    putLE32(out, 36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    putLE32(out, 16);
    putLE16(out, 1);  // PCM
    putLE16(out, 1);  // channels
    putLE32(out, std::uint32_t(sampleRate));
    putLE32(out, std::uint32_t(sampleRate * 2));  // bytes per second
    putLE16(out, 2);                              // bytes per sample frame
    putLE16(out, 16);                             // bits per sample
    out.append("data", 4);
    putLE32(out, dataBytes);
    for (double s : samples) {
        const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        putLE16(out, std::uint16_t(std::int16_t(v)));
    }
    return out;
}

void normalise(std::vector<double>& samples, double peak)
{
    double max = 0.0;
    for (double s : samples)
        max = std::max(max, std::abs(s));
    if (max > 0.0)
        for (double& s : samples)
            s *= peak / max;
}

double midiToHz(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// Raised-cosine fade from 0 to 1 over `length` samples; a linear ramp would
// leave a corner in the waveform that the ear hears as a tick.
double smoothRamp(double pos, double length)
{
    if (pos <= 0.0)
        return 0.0;
    if (pos >= length)
        return 1.0;
    return 0.5 - 0.5 * std::cos(Pi * pos / length);
}

}  // namespace

QByteArray makeChimeWav()
{
    constexpr int rate = 22050;
    constexpr double seconds = 1.2;
    std::vector<double> out(std::size_t(rate * seconds), 0.0);

    // A small bell's partials: not harmonic, which is what makes it ring
    // rather than hum. Higher partials die away sooner.
    struct Partial {
        double ratio, gain, decay;
    };
    constexpr Partial partials[] = {
        {1.0, 1.0, 0.50}, {2.0, 0.45, 0.32}, {2.76, 0.30, 0.22}, {4.07, 0.14, 0.14}, {5.40, 0.07, 0.09},
    };
    // Three strokes falling through E6, B5 and E5: bright, then settling.
    const struct {
        double at;
        int note;
        double gain;
    } strokes[] = {{0.00, 88, 0.8}, {0.16, 83, 0.85}, {0.32, 76, 1.0}};

    for (const auto& stroke : strokes) {
        const double f0 = midiToHz(stroke.note);
        const std::size_t start = std::size_t(stroke.at * rate);
        for (std::size_t i = start; i < out.size(); ++i) {
            const double t = double(i - start) / rate;
            double v = 0.0;
            for (const Partial& pt : partials)
                v += pt.gain * std::exp(-t / pt.decay) * std::sin(2.0 * Pi * f0 * pt.ratio * t);
            out[i] += stroke.gain * smoothRamp(double(i - start), 0.003 * rate) * v;
        }
    }
    // Close the tail fully, so the sound ends in silence and not with a cut.
    const double fade = 0.25 * rate;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] *= smoothRamp(double(out.size() - 1 - i), fade);

    normalise(out, 0.7);
    return wavFromSamples(out, rate);
}

QByteArray makeTuneWav()
{
    // Sakura Sakura, the traditional melody, in A minor. Durations in beats.
    struct Note {
        int midi;
        double beats;
    };
    constexpr int A4 = 69, B4 = 71, C5 = 72, E4 = 64, F4 = 65, C4 = 60, B3 = 59;
    static constexpr Note melody[] = {
        {A4, 1}, {A4, 1},   {B4, 2},                        //
        {A4, 1}, {A4, 1},   {B4, 2},                        //
        {A4, 1}, {B4, 1},   {C5, 1},   {B4, 1},             //
        {A4, 1}, {B4, 0.5}, {A4, 0.5}, {F4, 2},             //
        {E4, 1}, {C4, 1},   {E4, 1},   {F4, 1},             //
        {E4, 1}, {E4, 0.5}, {C4, 0.5}, {B3, 2},             //
        {A4, 1}, {B4, 1},   {C5, 1},   {B4, 1},             //
        {A4, 1}, {B4, 0.5}, {A4, 0.5}, {F4, 2},             //
        {E4, 1}, {C4, 1},   {E4, 1},   {F4, 1},             //
        {E4, 1}, {E4, 0.5}, {C4, 0.5}, {B3, 2},             //
        {A4, 1}, {A4, 1},   {B4, 2},                        //
        {A4, 1}, {A4, 1},   {B4, 2},                        //
        {E4, 1}, {F4, 1},   {B4, 0.5}, {A4, 0.5}, {F4, 1},  //
        {E4, 4},
    };
    // One soft low note per bar underneath, on the bar's home tone.
    constexpr int A2 = 45, E2 = 40;
    static constexpr int bassPerBar[] = {A2, A2, A2, A2, E2, E2, A2, A2, E2, E2, A2, A2, E2, E2};
    constexpr int beatsPerBar = 4;

    constexpr double totalBeats = [] {
        double sum = 0.0;
        for (const Note& n : melody)
            sum += n.beats;
        return sum;
    }();
    // The loop must close on a bar line, or the rhythm stumbles at the seam.
    static_assert(totalBeats == beatsPerBar * double(std::size(bassPerBar)));
    const std::size_t totalSamples = std::size_t(totalBeats) * TuneSamplesPerBeat;
    std::vector<double> out(totalSamples, 0.0);

    // Every voice starts from zero and is faded to exactly zero on the last
    // sample of its own slot. Nothing rings past its slot, so the final slot
    // ends in silence and the loop's seam is as quiet as a rest.
    auto addVoice = [&](std::size_t start, std::size_t length, double attack, double release, const auto& wave) {
        for (std::size_t k = 0; k < length && start + k < out.size(); ++k) {
            const double env = smoothRamp(double(k), attack) * smoothRamp(double(length - 1 - k), release);
            out[start + k] += env * wave(double(k) / TuneSampleRate);
        }
    };

    // The melody: a plucked, koto-like voice, bright at the attack and
    // mellowing as the upper harmonics fade faster than the fundamental.
    double beat = 0.0;
    for (const Note& n : melody) {
        const std::size_t start = std::size_t(std::lround(beat * TuneSamplesPerBeat));
        beat += n.beats;
        const std::size_t end = std::size_t(std::lround(beat * TuneSamplesPerBeat));
        const double f = midiToHz(n.midi);
        addVoice(start, end - start, 0.004 * TuneSampleRate, 0.05 * TuneSampleRate, [f](double t) {
            double v = 0.0;
            constexpr double gains[] = {1.0, 0.42, 0.22, 0.10};
            for (int h = 0; h < 4; ++h)
                v += gains[h] * std::exp(-t * (1.6 + 2.2 * h)) * std::sin(2.0 * Pi * f * (h + 1) * t);
            return v;
        });
    }

    // The bass: a plain sine with a slow swell, well below the melody.
    for (std::size_t bar = 0; bar < std::size(bassPerBar); ++bar) {
        const std::size_t length = std::size_t(beatsPerBar) * TuneSamplesPerBeat;
        const double f = midiToHz(bassPerBar[bar]);
        addVoice(bar * length, length, 0.06 * TuneSampleRate, 0.3 * TuneSampleRate, [f](double t) {
            return 0.28 * std::exp(-t * 0.7) * (std::sin(2.0 * Pi * f * t) + 0.3 * std::sin(2.0 * Pi * 1.5 * f * t));
        });
    }

    normalise(out, 0.6);
    return wavFromSamples(out, TuneSampleRate);
}

// ---------------------------------------------------------------------------
// Application icon

namespace {

// Drawn pixel by pixel in the sixteen colours of the classic display palette,
// so that the 32 x 32 icon is exactly this picture at any colour depth.
// '.' is transparent.
constexpr const char* IconRows[32] = {
    "................................", ".....................N..........", "....................NMN.........",
    "...................NYMYN........", "..................NYYMYYN.......", ".................NYYYMYYYN......",
    "................NYYYYMYYYYN.....", "...............NYYYYYMYYYYYN....", "..............NYYYYYYMYYYYYYN...",
    ".............NMMMMMMMMMMMMMMMN..", ".............NWWWWWWWMWWWWWWWN..", "..............NWWWWWWMWWWWWWN...",
    "..............NWWWWRRRRRWWWWN...", "...............NWWRRRRRRRWWN....", "...............NWWRRRRRRRWWN....",
    "................NWRRRRRRRWN.....", "................NWRRRRRRRWN.....", ".................NRRRRRRRN......",
    ".................NWRRRRRWN......", "..................NWWMWWN.......", "..................NWWMWWN.......",
    "...................NWMWN........", "...................NWMWN........", "....................NMN.........",
    "....................NMN.........", "...R.R.........R.R...N..........", "...RRR.........RRR.KK.FF........",
    "....RKK..B.B....RKK...A.FF......", "...RRR.KKBBB..KRRR....A...F.....", "...R.R....BKKK.R.R.....A...F....",
    ".........BBB...........A....F...", ".........B.B............A.......",
};

QRgb iconColour(char key)
{
    switch (key) {
    case 'K':
        return qRgb(0x00, 0x00, 0x00);  // black
    case 'M':
        return qRgb(0x80, 0x00, 0x00);  // maroon
    case 'G':
        return qRgb(0x00, 0x80, 0x00);  // green
    case 'O':
        return qRgb(0x80, 0x80, 0x00);  // olive
    case 'N':
        return qRgb(0x00, 0x00, 0x80);  // navy
    case 'P':
        return qRgb(0x80, 0x00, 0x80);  // purple
    case 'T':
        return qRgb(0x00, 0x80, 0x80);  // teal
    case 'S':
        return qRgb(0xC0, 0xC0, 0xC0);  // silver
    case 'D':
        return qRgb(0x80, 0x80, 0x80);  // grey
    case 'R':
        return qRgb(0xFF, 0x00, 0x00);  // red
    case 'L':
        return qRgb(0x00, 0xFF, 0x00);  // lime
    case 'Y':
        return qRgb(0xFF, 0xFF, 0x00);  // yellow
    case 'B':
        return qRgb(0x00, 0x00, 0xFF);  // blue
    case 'F':
        return qRgb(0xFF, 0x00, 0xFF);  // fuchsia
    case 'A':
        return qRgb(0x00, 0xFF, 0xFF);  // aqua
    case 'W':
        return qRgb(0xFF, 0xFF, 0xFF);  // white
    default:
        return qRgba(0, 0, 0, 0);
    }
}

QImage iconPixelMap()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            img.setPixel(x, y, iconColour(IconRows[y][x]));
    return img;
}

}  // namespace

QImage makeAppIcon(int size)
{
    const QImage base = iconPixelMap();
    if (size <= 0)
        return QImage();
    if (size < 32)
        return base.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);

    // Whole-number enlargement keeps every drawn pixel a crisp square; any
    // space left over becomes an even transparent margin.
    const int factor = size / 32;
    const int margin = (size - 32 * factor) / 2;
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int y = 0; y < 32 * factor; ++y)
        for (int x = 0; x < 32 * factor; ++x)
            icon.setPixel(margin + x, margin + y, base.pixel(x / factor, y / factor));
    return icon;
}

}  // namespace Artwork
