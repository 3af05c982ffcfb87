#include <cmath>

#include "base/constants.h"
#include "base/portable_math.h"
#include "boundary/boundary.h"
#include "geometry/geometry.h"
#include "geometry/trace.h"

int __CROSS_C(const Segment& S, const Point& P) {
    if (TRACE) TRACE->candidate(P);
    int result = 0;
    double deg = -360; // reported when the box test fails
    const double e = gomi;
    if (within(P.x, S.x1, S.x2, e) && within(P.y, S.y1, S.y2, e)) {
        // Every angle that is a number folds into [0, 360]; the angle itself, and KDEG with
        // it, is only ever shown in the diagnostics.
        if (!TRACE && KRP[2] <= 0 && KRP[3] >= 360)
            return std::isnan(P.y - K_CY) || std::isnan(P.x - K_CX) ? 0 : 1;
        deg = DEG_0_360(portable::atan2(P.y - K_CY, P.x - K_CX) * 180 / PAI);
        if (KRP[2] <= deg && deg <= KRP[3]) {
            KDEG = deg;
            result = 1;
        }
        // An arc through angle 0 has its upper limit above 360; this test wins when both hold.
        if (KRP[2] <= deg + 360 && deg + 360 <= KRP[3]) {
            KDEG = deg + 360;
            result = 1;
        }
        if (result == 0) KDEG = -1;
    }
    if (TRACE) TRACE->candidate_tested(P, result, KPcnt, KDEG, deg);
    return result;
}

// std::fmax and std::fmin are library calls, for the sake of NaN, which the callers below have
// ruled out (a NaN here would only send them the long way).
static double larger(double a, double b) { return a > b ? a : b; }
static double smaller(double a, double b) { return a < b ? a : b; }

// A candidate is found from the foot of the perpendicular, relative to the centre, and along the
// segment, so it lies within a few units in the last place of the sizes involved of the circle,
// or within the square root of that where the line is nearly tangent: far less than this margin,
// a millionth of those sizes. A segment whose box keeps that far from the circle's box has no
// candidate in it, whatever its direction.
bool clear_of_circle(const Segment& S) {
    const double cx = K_CX, cy = K_CY, r = std::fabs(K_CR);
    double size = std::fabs(cx) + std::fabs(cy) + r + std::fabs(S.x1) + std::fabs(S.y1) +
                  std::fabs(S.x2) + std::fabs(S.y2);
    if (!(size < 1e12)) return false; // NaN too
    double margin = std::fabs(gomi) + 1e-6 * (1 + size);
    // All four sides asked at once: which one a line keeps clear of is a coin toss.
    int sides =
        int{larger(S.x1, S.x2) + margin < cx - r} | int{smaller(S.x1, S.x2) - margin > cx + r} |
        int{larger(S.y1, S.y2) + margin < cy - r} | int{smaller(S.y1, S.y2) - margin > cy + r};
    return sides != 0;
}

int circle_line_candidates(const Segment& S, double cx, double cy, double r, Point cand[2]) {
    if (S.x1 == S.x2) {
        double D = r * r - (S.x1 - cx) * (S.x1 - cx);
        if (D < 0) return 0;
        double s = portable::sqrt(D);
        cand[0] = {S.x1, cy + s};
        cand[1] = {S.x1, cy - s};
        return 2;
    }
    // Relative to the centre and along the segment: a slope and an intercept at x = 0 lose
    // every digit on steep lines and far from the origin.
    double ax = S.x1 - cx, ay = S.y1 - cy;
    double dx = S.x2 - S.x1, dy = S.y2 - S.y1;
    double dd = dx * dx + dy * dy;
    double u = -(ax * dx + ay * dy) / dd;
    double fx = ax + u * dx, fy = ay + u * dy;
    double D = r * r - (fx * fx + fy * fy);
    if (D < 0) return 0; // 0 goes on: a tangent
    double s = portable::sqrt(D / dd);
    double t0 = dx > 0 ? u + s : u - s; // the larger x first
    double t1 = dx > 0 ? u - s : u + s;
    cand[0] = {S.x1 + t0 * dx, S.y1 + t0 * dy};
    cand[1] = {S.x1 + t1 * dx, S.y1 + t1 * dy};
    return 2;
}

int Koten_en_ln(const Segment& S, int flag) {
    Point cand[2];
    if (circle_line_candidates(S, K_CX, K_CY, K_CR, cand) == 0) return 0;
    int count = 0;
    for (const Point& P : cand) {
        if (__CROSS_C(S, P) != 1) continue;
        if (flag != 0) {
            ++count;
        } else if (KPcnt >= 0 && KPcnt < 8) {
            // A full list drops the point rather than writing past the table.
            KP[KPcnt] = P;
            ++KPcnt;
            ++count;
        }
    }
    return count;
}

// A probe from p to the centre, when p lies clearly outside, crosses the circle once in the
// probe, and its candidate there lies within a few units in the last place of the probe's size
// of the true crossing, inside the probe's box. The bound taken allows some thirty times that
// error, so this answers only where the count surely is not 0. When p lies inside by more than
// twice the tolerance, both candidates lie beyond the probe's box by more than the tolerance
// along one axis at least: the count surely is 0.
int probe_side(const Point& p, double cx, double cy, double r, double e) {
    const double dx = p.x - cx, dy = p.y - cy;
    if (!(e > 0)) return -1; // no tolerance
    const double size = larger(larger(std::fabs(p.x), std::fabs(p.y)),
                               larger(larger(std::fabs(cx), std::fabs(cy)), r));
    if (!(size < 1e12) || !(r > 1e-6 * size) || !(r > 4 * e)) return -1; // NaN too
    const double err = 1e-12 * size;
    if (!(err < 0.5 * e)) return -1;
    const double d2 = dx * dx + dy * dy;
    const double beyond = r + 1e-9 * size; // p at least this far from the centre
    if (d2 > beyond * beyond) return 0;
    const double within = r - 2 * e - 1e-9 * size;
    return within > 0 && d2 < within * within ? 1 : -1;
}

bool crosses_on_way_to_centre(const Point& p) {
    if (!(KRP[2] <= 0 && KRP[3] >= 360)) return false;
    return probe_side(p, K_CX, K_CY, std::fabs(K_CR), gomi) == 0;
}
