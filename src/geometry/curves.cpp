#include "geometry/curves.h"
#include "base/portable_math.h"

#include <cmath>

#include "base/constants.h"
#include "boundary/boundary.h"
#include "geometry/geometry.h"

static constexpr double TWO_PI = 2 * PAI;

Point conic_at(const Conic& q, double a) {
    double ca = portable::cos(a), sa = portable::sin(a);
    return {q.c.x + q.u.x * ca + q.v.x * sa, q.c.y + q.u.y * ca + q.v.y * sa};
}

bool arc_range(double sk, double ek, double& start, double& end) {
    start = DEG_0_360(sk);
    end = DEG_0_360(ek);
    if (sk == ek || (sk == 0 && ek == 360) || start == end) {
        end = start + 360;
        return true;
    }
    if (end < start) end += 360;
    return false;
}

double turned_into(double a, double lo) {
    a -= std::floor((a - lo) / TWO_PI) * TWO_PI;
    if (a < lo) a += TWO_PI;
    if (a >= lo + TWO_PI) a -= TWO_PI;
    return a;
}

// The angles a and b, each moved into [lo, lo + 2 pi), that are not above hi; ascending.
static int two_in_range(double a, double b, double lo, double hi, double* out) {
    a = turned_into(a, lo);
    b = turned_into(b, lo);
    if (b < a) {
        double t = a;
        a = b;
        b = t;
    }
    int n = 0;
    if (a <= hi) out[n++] = a;
    if (b <= hi) out[n++] = b;
    return n;
}

int conic_line_crossings(const Conic& q, const Point& A, const Point& B, double lo, double hi,
                         double* out) {
    // Along the line's normal the curve is g + al cos a + be sin a.
    double nx = A.y - B.y, ny = B.x - A.x;
    double g = nx * (q.c.x - A.x) + ny * (q.c.y - A.y);
    double al = nx * q.u.x + ny * q.u.y, be = nx * q.v.x + ny * q.v.y;
    double R = portable::hypot(al, be);
    if (!(R > 0)) return 0;
    double k = -g / R;
    if (!(k > -1 && k < 1)) return 0; // clear of the line, or touching it
    double psi = portable::atan2(be, al), w = portable::acos(k);
    return two_in_range(psi - w, psi + w, lo, hi, out);
}

namespace {

// f(a) = |Q(a) - o|^2 - r^2 = a0 + a1 cos a + b1 sin a + a2 cos 2a + b2 sin 2a, evaluated from
// the point itself, which keeps it exact near the circle whatever the coefficients' size.
struct Gap {
    Point d, u, v;
    double rr;
    double at(double a, double* slope) const {
        double ca = portable::cos(a), sa = portable::sin(a);
        double px = d.x + u.x * ca + v.x * sa, py = d.y + u.y * ca + v.y * sa;
        if (slope) *slope = 2 * (px * (v.x * ca - u.x * sa) + py * (v.y * ca - u.y * sa));
        return px * px + py * py - rr;
    }
    // The sign change in [a, b], f(a) on the negative side or not as neg says: Newton's steps
    // while they stay in the bracket, halving otherwise.
    double root(double a, double b, bool neg) const {
        double x = 0.5 * (a + b);
        for (int i = 0; i < 200; ++i) {
            double slope = 0;
            double fx = at(x, &slope);
            if (fx == 0) return x;
            ((fx < 0) == neg ? a : b) = x;
            double next = x - fx / slope;
            if (!(next > a && next < b)) next = 0.5 * (a + b); // NaN too
            if (std::fabs(next - x) <= 1e-15 * (1 + std::fabs(x))) return next;
            x = next;
        }
        return x;
    }
};

} // namespace

// A root with the same side a little before and after it is a touch (exactly 0 at a sample),
// or half of a dip too short to tell.
static int touches_dropped(const Gap& f, double* a, int n, double w) {
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        double step = std::fmax(w, 1e-13 * (1 + std::fabs(a[i])));
        if ((f.at(a[i] - step, nullptr) < 0) != (f.at(a[i] + step, nullptr) < 0)) a[kept++] = a[i];
    }
    return kept;
}

int conic_circle_crossings(const Conic& q, const Point& o, double r, double lo, double hi,
                           double tol, double* out, int cap) {
    const Gap f = {{q.c.x - o.x, q.c.y - o.y}, q.u, q.v, r * r};
    const Point &d = f.d, &u = q.u, &v = q.v;
    double uu = u.x * u.x + u.y * u.y, vv = v.x * v.x + v.y * v.y, uv = u.x * v.x + u.y * v.y;
    double a0 = d.x * d.x + d.y * d.y + 0.5 * (uu + vv) - r * r;
    double a1 = 2 * (d.x * u.x + d.y * u.y), b1 = 2 * (d.x * v.x + d.y * v.y);
    double R1 = portable::hypot(a1, b1), R2 = portable::hypot(0.5 * (uu - vv), uv);
    double size =
        portable::hypot(d.x, d.y) + portable::sqrt(uu) + portable::sqrt(vv) + std::fabs(r);
    double ef = 1e-14 * size * size;                // rounding of f and of its slope
    if (!(std::fabs(a0) <= R1 + R2 + ef)) return 0; // clear of the circle, or not a number
    int n = 0;
    if (R2 <= 0.01 * tol * std::fabs(r)) {
        // A circle, or one closer to it than the tolerance can tell: a0 + R1 cos(a - phi).
        if (!(R1 > 0)) return 0; // concentric
        double k = -a0 / R1;
        if (!(k > -1 && k < 1)) return 0;
        double phi = portable::atan2(b1, a1), w = portable::acos(k);
        double root[2] = {phi - w, phi + w};
        // Newton's steps take up the rounding of a0, which grows with the sizes involved.
        for (double& a : root)
            for (int i = 0; i < 2; ++i) {
                double slope = 0, fa = f.at(a, &slope);
                double next = a - fa / slope;
                if (std::fabs(next - a) < 0.5 * w && std::fabs(f.at(next, nullptr)) < std::fabs(fa))
                    a = next;
            }
        double got[2];
        int m = two_in_range(root[0], root[1], lo, hi, got);
        for (int i = 0; i < m && n < cap; ++i) out[n++] = got[i];
        return touches_dropped(f, out, n, tol / (4 * portable::sqrt(uu + vv)));
    }

    // Over a span of half-width w about its middle, f strays from its value there by at most
    // M1 w, and its slope by at most M2 w: a span passes without a root, or holds at most one,
    // or is halved, down to a length of the curve below tol, where only a sign change counts.
    const double M1 = R1 + 2 * R2, M2 = R1 + 4 * R2;
    const double reach = portable::sqrt(uu + vv);
    const double w_min = tol / (4 * reach);
    struct Span {
        double a, b, fa, fb;
        int depth;
    };
    Span stack[64];
    int top = 0;
    stack[top++] = {lo, hi, f.at(lo, nullptr), f.at(hi, nullptr), 0};
    // Where the rounding of f swamps its whole range (a curve tiny beside a huge circle) no span
    // is ever passed, and the halving would visit 2^56 of them: beyond a budget that no
    // computable case comes near, the crossings cannot be told.
    long budget = 1 << 16;
    while (top > 0) {
        if (--budget < 0) return -1;
        Span s = stack[--top];
        double m = 0.5 * (s.a + s.b), w = 0.5 * (s.b - s.a);
        double slope = 0, fm = f.at(m, &slope);
        if (std::fabs(fm) > M1 * w + ef) continue;
        bool change = (s.fa < 0) != (s.fb < 0);
        bool last = !(w >= w_min) || s.depth >= 56 || top > 60;
        if (std::fabs(slope) > M2 * w + ef || last) {
            if (change && n < cap) out[n++] = f.root(s.a, s.b, s.fa < 0);
            continue;
        }
        stack[top++] = {m, s.b, fm, s.fb, s.depth + 1};
        stack[top++] = {s.a, m, s.fa, fm, s.depth + 1};
    }
    return touches_dropped(f, out, n, w_min);
}

static double segment_distance(const Point& p, const Point& A, const Point& B) {
    Point q = offset_to_segment(p, A, B);
    return portable::hypot(q.x, q.y);
}

double edge_distance(const Point& p, int mode, const Point& E1, const Point& E2) {
    const Point K = {K_CX, K_CY};
    double d = std::fabs(portable::hypot(p.x - K.x, p.y - K.y) - K_CR);
    if (mode != 2 && mode != 3) return d;
    if (!within_arc(p))
        d = std::fmin(portable::hypot(p.x - E1.x, p.y - E1.y),
                      portable::hypot(p.x - E2.x, p.y - E2.y));
    if (mode == 2)
        return std::fmin(d, std::fmin(segment_distance(p, E1, K), segment_distance(p, E2, K)));
    return std::fmin(d, segment_distance(p, E1, E2));
}

int edge_candidates(const Conic& q, int mode, const Point& E1, const Point& E2, double lo,
                    double hi, double tol, double* out, int cap) {
    const Point K = {K_CX, K_CY};
    int n = conic_circle_crossings(q, K, K_CR, lo, hi, tol, out, cap);
    if (n < 0) return n;
    double more[4];
    int m = 0;
    if (mode == 2) {
        m = conic_line_crossings(q, E1, K, lo, hi, more);
        m += conic_line_crossings(q, E2, K, lo, hi, more + m);
    } else if (mode == 3) {
        m = conic_line_crossings(q, E1, E2, lo, hi, more);
    }
    for (int i = 0; i < m && n < cap; ++i) {
        int j = n++;
        for (; j > 0 && out[j - 1] > more[i]; --j) out[j] = out[j - 1];
        out[j] = more[i];
    }
    return n;
}
