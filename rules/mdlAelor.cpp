#include "rules/mdlAelor.h"

#include "rules/Raster.h"

namespace mdlAelor {

void AdvanceTick(FlightState& s)
{
    s.FrameNo = Add16(s.FrameNo, 1);
    if (s.FrameNo == FrameCount + 1)
        s.FrameNo = 1;

    s.KiteX = Add16(s.KiteX, Mul16(s.StepX, s.DirX));
    if (s.KiteX > RightLimit)
        s.DirX = -1;
    else if (s.KiteX < 0)
        s.DirX = 1;

    s.KiteY = Add16(s.KiteY, Mul16(s.StepY, s.DirY));
    if (s.KiteY > BottomLimit)
        s.DirY = -1;
    else if (s.KiteY < 0)
        s.DirY = 1;
}

void ComposeInto(const FlightState& s, Surfaces& surfaces, QImage& display)
{
    ComposeArea(s, QRect(0, 0, DisplayWidth, DisplayHeight), surfaces, display);
}

QRegion ChangedArea(const QRect& drawnCell, const FlightState& s)
{
    return QRegion(drawnCell).united(KiteCell(s)).intersected(QRect(0, 0, DisplayWidth, DisplayHeight));
}

void ComposeArea(const FlightState& s, const QRegion& area, Surfaces& surfaces, QImage& display)
{
    using raster::BitBlt;
    const int cellX = (s.FrameNo - 1) * KiteWidth;
    for (const QRect& r : area)
        BitBlt(surfaces.picWork, r.x(), r.y(), r.width(), r.height(), surfaces.picBack, r.x(), r.y(), raster::SRCCOPY);
    BitBlt(surfaces.picWork, s.KiteX, s.KiteY, KiteWidth, KiteHeight, surfaces.picKite, cellX, KiteHeight,
           raster::SRCPAINT);
    BitBlt(surfaces.picWork, s.KiteX, s.KiteY, KiteWidth, KiteHeight, surfaces.picKite, cellX, 0, raster::SRCAND);
    for (const QRect& r : area)
        BitBlt(display, r.x(), r.y(), r.width(), r.height(), surfaces.picWork, r.x(), r.y(), raster::SRCCOPY);
}

QRect KiteCell(const FlightState& s)
{
    return QRect(s.KiteX, s.KiteY, KiteWidth, KiteHeight);
}

}  // namespace mdlAelor
