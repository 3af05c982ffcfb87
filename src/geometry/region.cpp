#include <cmath>

#include "base/constants.h"
#include "base/portable_math.h"
#include "boundary/boundary.h"
#include "geometry/geometry.h"

// A NaN parameter counts as 0; the clamp keeps the nearest point on the segment.
Point offset_to_segment(const Point& V, const Point& A, const Point& B) {
    double ex = B.x - A.x, ey = B.y - A.y;
    double ee = ex * ex + ey * ey;
    double t = ee == 0 ? 0 : ((V.x - A.x) * ex + (V.y - A.y) * ey) / ee;
    if (!(t > 0)) t = 0;
    if (t > 1) t = 1;
    return {A.x + t * ex - V.x, A.y + t * ey - V.y};
}

static bool passes_near(const Point& A, const Point& B, const Point& V) {
    Point q = offset_to_segment(V, A, B);
    return q.x * q.x + q.y * q.y < gomi * gomi;
}

bool within_arc(const Point& p) {
    double deg = DEG_0_360(portable::atan2(p.y - K_CY, p.x - K_CX) * 180 / PAI);
    return (KRP[2] <= deg && deg <= KRP[3]) || (KRP[2] <= deg + 360 && deg + 360 <= KRP[3]);
}

bool probe_near_corner(const Point& p, int mode, const Point& E1, const Point& E2) {
    if (mode != 2 && mode != 3) return false;
    if (passes_near(p, Pmin[1], E1) || passes_near(p, Pmin[1], E2)) return true;
    return mode == 2 && passes_near(p, Pmin[1], K_CPT);
}

static double chord_side(const Point& Q, const Point& E1, const Point& E2) {
    return (E2.x - E1.x) * (Q.y - E1.y) - (E2.y - E1.y) * (Q.x - E1.x);
}

bool inside_region(const Point& p, int mode, const Point& E1, const Point& E2) {
    if (mode > 3) return true;
    const double cx = K_CX, cy = K_CY, r = K_CR;
    double dx = p.x - cx, dy = p.y - cy;
    if (!(dx * dx + dy * dy < r * r)) return false;
    if (mode == 2) return within_arc(p);
    if (mode == 3) {
        double m = (KRP[2] + KRP[3]) * 0.5 * PAI / 180;
        Point M = {cx + r * portable::cos(m), cy + r * portable::sin(m)};
        return (chord_side(p, E1, E2) > 0) == (chord_side(M, E1, E2) > 0);
    }
    return true;
}
