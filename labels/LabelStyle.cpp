#include "labels/LabelStyle.h"

#include <QColor>
#include <QFont>
#include <QPalette>

#include <cmath>
#include <limits>

std::int64_t LabelStyle::UnitsFromPoints(double points)
{
    // Font sizes are tiny; anything absurd is kept within what a font can take.
    if (!std::isfinite(points) || points <= 0.0)
        return 1;
    const double units = std::nearbyint(points * 10000.0);
    constexpr double most = 16384.0 * 10000.0;
    return static_cast<std::int64_t>(units > most ? most : units < 1.0 ? 1.0 : units);
}

QColor DrawingColor(std::uint32_t foreColor, const QPalette& palette)
{
    if (foreColor & 0x80000000u)
        return palette.color(QPalette::Active, QPalette::ButtonText);
    return QColor(static_cast<int>(foreColor & 0xFF), static_cast<int>((foreColor >> 8) & 0xFF),
                  static_cast<int>((foreColor >> 16) & 0xFF));
}

QFont DrawingFont(const LabelStyle& style)
{
    QFont font(style.Name);
    font.setPointSizeF(style.Size());
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    font.setUnderline(style.Underline);
    return font;
}
