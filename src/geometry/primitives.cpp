#include <cmath>
#include <limits>

#include "exchange/portable_math.h"
#include "geometry/primitives.h"

double __Distance(const Point& p, const Point& q) {
    double dx = p.x - q.x;
    double dy = p.y - q.y;
    return portable::sqrt(dx * dx + dy * dy);
}

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

int __T2_LN(const Point& p, const Point& q, Segment& out) {
    out.x1 = p.x;
    out.y1 = p.y;
    out.x2 = q.x;
    out.y2 = q.y;
    return 0;
}

int Dsen(const Segment& s) {
    double dy = s.y2 - s.y1;
    double dx = s.x2 - s.x1;
    // Away from the axes the signs decide as the angle would; within 1e-12 radians of an axis
    // the angle is computed, as it may round onto the boundary there.
    const double far = 1e12;
    double ax = std::fabs(dx), ay = std::fabs(dy);
    if (ay < ax * far && ax < ay * far) {
        if (dx > 0) return dy > 0 ? 1 : 4;
        return dy > 0 ? 2 : 3;
    }
    if (dx > 0 && dy == 0) return 1; // +-0
    double a = portable::atan2(dy, dx);
    double h = PAI * 0.5;
    if (0 <= a && a < h) return 1;
    if (h <= a && a <= PAI) return 2;
    if (-PAI <= a && a <= -h) return 3;
    return 4; // (-h, 0), and NaN
}
