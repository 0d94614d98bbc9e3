#pragma once
#include <QString>
#include <cstdint>

class QColor;
class QFont;
class QPalette;

// How a label draws its text: the model the two format dialogs read and write.
struct LabelStyle {
    // Colours are 0x00BBGGRR; a value with the top bit set names a system colour.
    static constexpr std::uint32_t SystemButtonText = 0x80000012u;

    // 0x00BBGGRR from red, green and blue.
    static constexpr std::uint32_t RGB(int r, int g, int b)
    {
        return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8)
               | (static_cast<std::uint32_t>(b & 0xFF) << 16);
    }

    std::uint32_t ForeColor = SystemButtonText;
    QString Name;                    // face name, kept exactly as set
    std::int64_t SizeUnits = 90000;  // size in 1/10000 point
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    // Sizes are held to four decimal places, as whole units of 1/10000 point.
    static std::int64_t UnitsFromPoints(double points);
    double Size() const { return static_cast<double>(SizeUnits) / 10000.0; }
    void setSize(double points) { SizeUnits = UnitsFromPoints(points); }

    bool operator==(const LabelStyle&) const = default;
};

// The colour to draw with: a plain colour as it is, a system colour from the palette.
QColor DrawingColor(std::uint32_t foreColor, const QPalette& palette);

// The font a style draws with; the face name stays the family as given.
QFont DrawingFont(const LabelStyle& style);
