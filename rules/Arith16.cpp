#include "rules/Arith16.h"

#include <cfenv>
#include <cmath>

namespace arith16 {

double RoundHalfEven(double v)
{
    // nearbyint follows the current rounding mode; make sure it is the default one.
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return r;
}

}  // namespace arith16
