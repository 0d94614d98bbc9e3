#pragma once
// The frame a person should see on the 380 x 350 display, worked out pixel by
// pixel from the background and the sprite sheet, apart from the program's own
// drawing code.
#include <QImage>
#include <QString>

// The background, and where the kite's 30 x 60 cell covers it, the background
// ORed with the cell's mask (the sheet's lower row) and then ANDed with its
// picture (the upper row). Frames are numbered from 1, left to right.
inline QImage ExpectedFrame(const QImage& back, const QImage& sheet, int frame, int kiteX, int kiteY)
{
    QImage want(380, 350, QImage::Format_RGB32);
    for (int y = 0; y < 350; ++y) {
        for (int x = 0; x < 380; ++x) {
            QRgb p = back.pixel(x, y);
            const int cx = x - kiteX, cy = y - kiteY;
            if (cx >= 0 && cx < 30 && cy >= 0 && cy < 60) {
                const int sx = (frame - 1) * 30 + cx;
                p = (p | sheet.pixel(sx, 60 + cy)) & sheet.pixel(sx, cy);
            }
            want.setPixel(x, y, p);
        }
    }
    return want;
}

// The first pixel where what is seen differs from what should be, or nothing.
inline QString FirstDifference(const QImage& seen, const QImage& want)
{
    if (seen.size() != want.size())
        return QStringLiteral("the size differs");
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            if (seen.pixel(x, y) != want.pixel(x, y))
                return QStringLiteral("(%1, %2) is %3, should be %4")
                    .arg(x)
                    .arg(y)
                    .arg(seen.pixel(x, y), 8, 16)
                    .arg(want.pixel(x, y), 8, 16);
        }
    }
    return QString();
}
