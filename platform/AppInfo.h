#pragma once
#include "platform/Version.h"

#include <QString>

namespace platform {

// The application's title: the main window's caption, the title label's first
// text and the first half of the version box's caption.
inline const QString AppTitle = QStringLiteral("Aelorin");

// The directory that holds the program, with exactly one separator at its end,
// so that data files are named by plain concatenation: dir + "images/kite.bmp".
QString AppDirFrom(const QString& programDir);

// Twips per screen pixel as a whole number, the unit the window layout converts with.
int TwipsPerPixel(double dotsPerInch);

}  // namespace platform
