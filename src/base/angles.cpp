#include "base/angles.h"

#include <cmath>
#include <limits>

// Beyond this many turns the stepwise fold would take too long (or, for huge angles, never
// end, since a - 360 == a); fmod is exact and lands on the same value the steps would give.
static constexpr double FOLD_BY_STEPS = 360.0 * 4096;

double DEG_0_360(double a) {
    if (!std::isfinite(a)) return std::numeric_limits<double>::quiet_NaN();
    if (std::fabs(a) <= FOLD_BY_STEPS) {
        while (a < 0) a += 360;
        while (a > 360) a -= 360;
        return a;
    }
    double r = std::fmod(a, 360.0);
    // The steps end on 360 for a positive whole multiple and on +0 for a negative one; a
    // negative remainder gets its last +360 rounded as the steps round it.
    if (r == 0) return a > 0 ? 360.0 : 0.0;
    if (r < 0) r += 360;
    return r;
}
