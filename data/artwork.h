// Pictures and sounds of Aelorin, drawn and synthesised in code so that the
// data files beside the program can be rebuilt from source at any time.
//
// Every function here is pure and deterministic: the same build gives the
// same bytes on every run. They need QtGui's raster engine only, so they run
// without a QGuiApplication and without a display (gendata and the tests
// call them that way).
#pragma once

#include "data/Geometry.h"

#include <QByteArray>
#include <QImage>

namespace Artwork {

// Sprite sheet and background sizes, as the frame compositor reads them.
using Geometry::BackHeight;
using Geometry::BackWidth;
using Geometry::KiteCellHeight;
using Geometry::KiteCellWidth;
using Geometry::KiteFrames;

// The music loop is written at this rate and tempo; one beat is a whole
// number of samples so that the loop always closes on a beat boundary.
inline constexpr int TuneSampleRate = 22050;
inline constexpr int TuneBeatsPerMinute = 120;
inline constexpr int TuneSamplesPerBeat = TuneSampleRate * 60 / TuneBeatsPerMinute;

// 180 x 120, RGB32. Top row: six kite pictures on a pure white ground; bottom
// row: their masks, pure white exactly where the picture above is not pure
// white and pure black elsewhere, so that "background OR mask, then AND
// picture" leaves the background untouched around the kite.
QImage makeKiteSheet();

// 380 x 350, RGB32: the sky the kite flies in.
QImage makeBackground();

// The opening and closing chime: a RIFF/WAVE file, 16-bit PCM mono.
QByteArray makeChimeWav();

// The background music loop: a RIFF/WAVE file, 16-bit PCM mono at
// TuneSampleRate, a whole number of beats long, starting and ending
// in silence so that it repeats without a click.
QByteArray makeTuneWav();

// The application icon at size x size, ARGB32 on a transparent ground. At 32
// it is the hand-drawn 16-colour pixel map itself; larger sizes enlarge that
// map by the largest whole factor that fits (nearest neighbour) and centre it,
// smaller ones shrink it smoothly.
QImage makeAppIcon(int size);

}  // namespace Artwork
