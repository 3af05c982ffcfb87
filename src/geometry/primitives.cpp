#include <cmath>
#include <limits>

#include "base/portable_math.h"
#include "geometry/primitives.h"

double __Distance(const Point& p, const Point& q) {
    double dx = p.x - q.x;
    double dy = p.y - q.y;
    return portable::sqrt(dx * dx + dy * dy);
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
