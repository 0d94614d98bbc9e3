#include "rules/Raster.h"

#include <algorithm>
#include <cstring>

namespace raster {

namespace {

// Narrows [start, start + len) on one axis so that both the destination range and
// the matching source range lie inside their surfaces. Works in 64 bits so that
// absurd coordinates cannot overflow.
bool clipAxis(std::int64_t& d, std::int64_t& s, std::int64_t& len, std::int64_t dstExtent, std::int64_t srcExtent)
{
    const std::int64_t lead = std::max({std::int64_t{0}, -d, -s});
    d += lead;
    s += lead;
    len -= lead;
    len = std::min({len, dstExtent - d, srcExtent - s});
    return len > 0;
}

}  // namespace

void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, std::uint32_t rop)
{
    if (dst.format() != SurfaceFormat || src.format() != SurfaceFormat)
        return;
    if (rop != SRCCOPY && rop != SRCPAINT && rop != SRCAND)
        return;

    std::int64_t dx = x, sxx = sx, width = w;
    std::int64_t dy = y, syy = sy, height = h;
    if (!clipAxis(dx, sxx, width, dst.width(), src.width()) || !clipAxis(dy, syy, height, dst.height(), src.height()))
        return;

    // Pointers and strides taken once: scanLine() checks for sharing on every call.
    const qsizetype outStride = dst.bytesPerLine();
    const qsizetype inStride = src.bytesPerLine();
    auto* outBase = dst.bits() + dy * outStride + dx * 4;
    const auto* inBase = src.constBits() + syy * inStride + sxx * 4;
    const auto cols = static_cast<std::size_t>(width);
    const auto rows = static_cast<std::size_t>(height);
    const auto outRowBytes = static_cast<std::size_t>(outStride);
    const auto inRowBytes = static_cast<std::size_t>(inStride);

    if (rop == SRCCOPY) {
        // Whole rows of two surfaces laid out alike are one contiguous block.
        if (outStride == inStride && outRowBytes == cols * 4) {
            std::memmove(outBase, inBase, rows * cols * 4);
            return;
        }
        for (std::size_t row = 0; row < rows; ++row)
            std::memmove(outBase + row * outRowBytes, inBase + row * inRowBytes, cols * 4);
        return;
    }
    for (std::size_t row = 0; row < rows; ++row) {
        auto* out = reinterpret_cast<std::uint32_t*>(outBase + row * outRowBytes);
        const auto* in = reinterpret_cast<const std::uint32_t*>(inBase + row * inRowBytes);
        if (rop == SRCPAINT) {
            for (std::size_t i = 0; i < cols; ++i)
                out[i] |= in[i];
        } else {
            for (std::size_t i = 0; i < cols; ++i)
                out[i] &= in[i];
        }
    }
}

}  // namespace raster
