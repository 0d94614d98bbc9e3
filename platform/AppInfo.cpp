#include "platform/AppInfo.h"

namespace platform {

QString AppDirFrom(const QString& programDir)
{
    if (programDir.endsWith(QLatin1Char('/')))
        return programDir;
    return programDir + QLatin1Char('/');
}

int TwipsPerPixel(double dotsPerInch)
{
    // A screen that reports no sensible resolution is taken as the common 96 dpi.
    if (!(dotsPerInch >= 1.0) || dotsPerInch > 1440.0)
        return 15;
    return static_cast<int>(1440.0 / dotsPerInch);
}

}  // namespace platform
