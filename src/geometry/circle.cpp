#include <cmath>

#include "boundary/boundary.h"
#include "exchange/attributes.h"
#include "exchange/format.h"
#include "exchange/run.h"
#include "geometry/geometry.h"

static bool within(double v, double a, double b, double e) {
    return (a - e < v && v < b + e) || (b - e < v && v < a + e);
}

int __CROSS_C(const Segment& S, const Point& P) {
    if (isTest == 1) __TEN(P);
    int result = 0;
    double deg = -360; // reported when the box test fails
    const double e = gomi;
    const bool quiet = isTest != 1 && isTest != 2;
    if (within(P.x, S.x1, S.x2, e) && within(P.y, S.y1, S.y2, e)) {
        // Every angle that is a number folds into [0, 360]; the angle itself, and KDEG with
        // it, is only ever shown in the diagnostics.
        if (quiet && KRP[2] <= 0 && KRP[3] >= 360)
            return std::isnan(P.y - K_CY) || std::isnan(P.x - K_CX) ? 0 : 1;
        deg = DEG_0_360(std::atan2(P.y - K_CY, P.x - K_CX) * 180 / PAI);
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
    if (!quiet) {
        say("#Koten_en_ln() __CROSS_C(%d) KPcnt(%d) KDEG(%.1f) deg(%.1f) KRP(%.1f-%.1f)\n", result,
            KPcnt, KDEG, deg, KRP[2], KRP[3]);
        emit("#Koten_en_ln() __CROSS_C(%d) KPcnt(%d) KDEG(%.1f)\n", result, KPcnt, KDEG);
        __TEN(P);
    }
    return result;
}

// std::fmax and std::fmin are library calls, for the sake of NaN, which the callers below have
// ruled out (a NaN here would only send them the long way).
static double larger(double a, double b) { return a > b ? a : b; }
static double smaller(double a, double b) { return a < b ? a : b; }

// The candidates of a line of slope at most 16 lie within rounding of the circle (far less
// than this margin, which allows a millionth of the coordinates' size), so a segment whose
// box keeps that far from the circle's box has none in it: the box test would refuse both.
static bool clear_of_circle(const Segment& S, double cx, double cy, double r) {
    double dx = S.x1 - S.x2, dy = S.y1 - S.y2;
    if (!(std::fabs(dy) <= 16 * std::fabs(dx))) return false; // steep, vertical or NaN
    r = std::fabs(r);
    double size = std::fabs(cx) + std::fabs(cy) + r + std::fabs(S.x1) + std::fabs(S.y1) +
                  std::fabs(S.x2) + std::fabs(S.y2);
    if (!(size < 1e12)) return false;
    double margin = std::fabs(gomi) + 1e-6 * (1 + size) * 17 * 17;
    return larger(S.x1, S.x2) + margin < cx - r || smaller(S.x1, S.x2) - margin > cx + r ||
           larger(S.y1, S.y2) + margin < cy - r || smaller(S.y1, S.y2) - margin > cy + r;
}

int Koten_en_ln(const Segment& S, int flag) {
    const double cx = K_CX, cy = K_CY, r = K_CR;
    // Without diagnostics a candidate that fails the box test leaves no trace.
    if (isTest != 1 && isTest != 2 && clear_of_circle(S, cx, cy, r)) return 0;
    Point cand[2];
    if (S.x1 == S.x2) {
        double D = r * r - (S.x1 - cx) * (S.x1 - cx);
        if (D < 0) return 0;
        double s = std::sqrt(D);
        cand[0] = {S.x1, cy + s};
        cand[1] = {S.x1, cy - s};
    } else {
        double m = (S.y1 - S.y2) / (S.x1 - S.x2);
        double c = S.y1 - S.x1 * m;
        double t = (m * (c - cy) - cx) / (1 + m * m);
        double q = ((c - cy) * (c - cy) + cx * cx - r * r) / (1 + m * m);
        if (t * t < q) return 0;
        double D = t * t - q;
        double s = std::sqrt(D);
        double xa = s - t;
        double xb = -t - s;
        cand[0] = {xa, c + m * xa};
        cand[1] = {xb, c + m * xb};
    }
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
// probe; its candidate there passes the box test when its rounding error stays below the
// tolerance. The bound taken allows about a thousand times the error the computation can
// make for a slope of at most 16, so this answers only where the count surely is not 0.
bool crosses_on_way_to_centre(const Point& p) {
    if (isTest == 1 || isTest == 2 || !(KRP[2] <= 0 && KRP[3] >= 360)) return false;
    const double cx = K_CX, cy = K_CY, r = std::fabs(K_CR), e = gomi;
    double dx = p.x - cx, dy = p.y - cy;
    double adx = std::fabs(dx), ady = std::fabs(dy);
    if (!(ady <= 16 * adx) || !(e > 0)) return false; // steep, vertical, NaN, no tolerance
    double size = larger(larger(std::fabs(p.x), std::fabs(p.y)),
                         larger(larger(std::fabs(cx), std::fabs(cy)), r));
    if (!(size < 1e8) || !(r > 1e-6 * size) || !(r > 4 * e)) return false;
    double slope = 1 + ady / adx;
    double err = 1e-13 * slope * slope * (size * size * slope / r + size);
    if (!(err < 0.5 * e)) return false;
    double beyond = r + 1e-9 * size; // p at least this far from the centre
    return dx * dx + dy * dy > beyond * beyond;
}
