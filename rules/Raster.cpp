#include "rules/Raster.h"

#include <algorithm>
#include <cstring>

namespace raster {

namespace {

// Narrows [start, start + len) on one axis so that both the destination range and
// the matching source range lie inside their surfaces. Works in 64 bits so that
// absurd coordinates cannot overflow.
bool clipAxis(std::int64_t& d, std::int64_t& s, std::int64_t& len,
              std::int64_t dstExtent, std::int64_t srcExtent)
{
    const std::int64_t lead = std::max({std::int64_t{0}, -d, -s});
    d += lead;
    s += lead;
    len -= lead;
    len = std::min({len, dstExtent - d, srcExtent - s});
    return len > 0;
}

}  // namespace

void BitBlt(QImage& dst, int x, int y, int w, int h,
            const QImage& src, int sx, int sy, std::uint32_t rop)
{
    if (dst.format() != SurfaceFormat || src.format() != SurfaceFormat)
        return;
    if (rop != SRCCOPY && rop != SRCPAINT && rop != SRCAND)
        return;

    std::int64_t dx = x, sxx = sx, width = w;
    std::int64_t dy = y, syy = sy, height = h;
    if (!clipAxis(dx, sxx, width, dst.width(), src.width())
        || !clipAxis(dy, syy, height, dst.height(), src.height()))
        return;

    const auto cols = static_cast<std::size_t>(width);
    for (std::int64_t row = 0; row < height; ++row) {
        auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(static_cast<int>(dy + row))) + dx;
        const auto* in =
            reinterpret_cast<const std::uint32_t*>(src.constScanLine(static_cast<int>(syy + row))) + sxx;
        switch (rop) {
        case SRCCOPY:
            std::memmove(out, in, cols * sizeof(std::uint32_t));
            break;
        case SRCPAINT:
            for (std::size_t i = 0; i < cols; ++i)
                out[i] |= in[i];
            break;
        case SRCAND:
            for (std::size_t i = 0; i < cols; ++i)
                out[i] &= in[i];
            break;
        }
    }
}

}  // namespace raster
