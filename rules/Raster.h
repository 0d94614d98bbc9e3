#pragma once
#include <QImage>
#include <cstdint>

namespace raster {

// The three raster operations the compositor needs, with their customary codes.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;  // destination OR source
inline constexpr std::uint32_t SRCAND = 0x008800C6;    // destination AND source

// Every picture surface is 32-bit RGB, so OR and AND work on whole pixels.
inline constexpr QImage::Format SurfaceFormat = QImage::Format_RGB32;

// Copies a w x h block from src (sx, sy) to dst (x, y) with the given operation.
// The block is clipped against both surfaces: only pixels that exist in both are
// touched, so a sprite partly or wholly off the buffer is simply cut. An unknown
// operation or a surface of another format copies nothing.
void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, std::uint32_t rop);

}  // namespace raster
