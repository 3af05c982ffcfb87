// Random boundaries, segments and points against a region test written from the geometry alone:
// inside the circle (in the circle frame), within the arc's angles, on the arc's side of the
// chord. The clipper's own probes play no part in the expected result.
#include "clip/clip_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using LD = long double;

struct P2 {
    LD x, y;
};
P2 operator+(P2 a, P2 b) { return {a.x + b.x, a.y + b.y}; }
P2 operator-(P2 a, P2 b) { return {a.x - b.x, a.y - b.y}; }
P2 operator*(LD k, P2 a) { return {k * a.x, k * a.y}; }
LD dot(P2 a, P2 b) { return a.x * b.x + a.y * b.y; }
LD cross(P2 a, P2 b) { return a.x * b.y - a.y * b.x; }
LD norm(P2 a) { return std::sqrt(dot(a, a)); }

const LD PI_L = 3.141592653589793238462643383279502884L;

// Distance from x to the segment a-b.
LD seg_distance(P2 x, P2 a, P2 b) {
    P2 d = b - a;
    LD t = dot(x - a, d) / dot(d, d);
    t = std::clamp(t, LD(0), LD(1));
    return norm(x - (a + t * d));
}

struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uni(double a, double b) { return a + (b - a) * ((next() >> 11) * 0x1.0p-53); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

// The region in the circle frame: the circle of radius r about c, the arc from angle a0 over
// span degrees, and the clipping mode (1 whole, 2 sector, 3 segment).
struct Region {
    int mode;
    LD cx, cy, r, hp, ct, st; // ct, st: cosine and sine of the tilt, ellipses only
    bool ellipse;
    LD a0, span;

    P2 frame(P2 p) const {
        if (!ellipse) return p;
        LD dx = p.x - cx, dy = p.y - cy;
        return {cx + ct * dx + st * dy, cy + (ct * dy - st * dx) / hp};
    }
    P2 on_circle(LD deg) const {
        LD a = deg * PI_L / 180;
        return {cx + r * std::cos(a), cy + r * std::sin(a)};
    }
    P2 centre() const { return {cx, cy}; }
    P2 end1() const { return on_circle(a0); }
    P2 end2() const { return on_circle(a0 + span); }
    bool in_arc(P2 x) const {
        if (mode == 1) return true;
        LD deg = std::atan2(x.y - cy, x.x - cx) * 180 / PI_L;
        LD rel = std::fmod(deg - a0, LD(360));
        if (rel < 0) rel += 360;
        return rel < span;
    }
    int chord_side(P2 x) const {
        LD c = cross(end2() - end1(), x - end1());
        return c > 0 ? 1 : -1;
    }
    bool inside(P2 x) const {
        if (norm(x - centre()) >= r) return false;
        if (mode == 2) return in_arc(x);
        if (mode == 3) return chord_side(x) == chord_side(on_circle(a0 + span / 2));
        return true;
    }
    LD arc_distance(P2 x) const {
        if (in_arc(x)) return std::fabs(norm(x - centre()) - r);
        return std::min(norm(x - end1()), norm(x - end2()));
    }
    LD edge_distance(P2 x) const {
        LD d = arc_distance(x);
        if (mode == 2) {
            d = std::min(d, seg_distance(x, end1(), centre()));
            d = std::min(d, seg_distance(x, end2(), centre()));
        } else if (mode == 3) {
            d = std::min(d, seg_distance(x, end1(), end2()));
        }
        return d;
    }
    // Where the segment p-q (circle frame) meets the edge, as parameters in (0, 1).
    int crossings(P2 p, P2 q, LD* s) const {
        int n = 0;
        P2 d = q - p, f = p - centre();
        LD a = dot(d, d), b = 2 * dot(d, f), c = dot(f, f) - r * r;
        LD disc = b * b - 4 * a * c;
        if (disc > 0) {
            LD root = std::sqrt(disc);
            for (LD t : {(-b - root) / (2 * a), (-b + root) / (2 * a)})
                if (t > 0 && t < 1 && in_arc(p + t * d)) s[n++] = t;
        }
        auto straight = [&](P2 e1, P2 e2) {
            P2 e = e2 - e1;
            LD den = cross(d, e);
            if (den == 0) return;
            LD t = cross(e1 - p, e) / den;
            LD u = cross(e1 - p, d) / den;
            if (t > 0 && t < 1 && u >= 0 && u <= 1) s[n++] = t;
        };
        if (mode == 2) {
            straight(end1(), centre());
            straight(end2(), centre());
        } else if (mode == 3) {
            straight(end1(), end2());
        }
        // At most four crossings: std::sort's unrolled tail draws a false bounds warning at -O3.
        for (int i = 1; i < n; ++i)
            for (int j = i; j > 0 && s[j] < s[j - 1]; --j) std::swap(s[j], s[j - 1]);
        return n;
    }
};

// Clearance in the circle frame that makes a position general.
const LD TOL = 2e-3L;
// How far a cut may lie from the true crossing: the fine tolerance of the counting tests. The
// slope and intercept arithmetic loses digits as a line nears the vertical.
const double CUT_TOL = 0.00025 / 100;

struct Tally {
    int segments = 0, points = 0, pieces = 0, skipped = 0;
    int probe_degenerate = 0, probe_degenerate_wrong = 0;
    int near_vertical = 0, near_vertical_wrong = 0;
};

std::string show(const char* what, double a, double b, double c = NAN, double d = NAN) {
    char buf[200];
    if (std::isnan(c))
        std::snprintf(buf, sizeof buf, "%s (%.17g, %.17g)", what, a, b);
    else
        std::snprintf(buf, sizeof buf, "%s (%.17g, %.17g)-(%.17g, %.17g)", what, a, b, c, d);
    return buf;
}

class PropertyClip : public ClipFixture {
  protected:
    Region reg{};
    bool crop = false;       // keep what lies inside (-i) instead of what lies outside
    std::string designation; // the boundary record and mode, for the failure messages
    Rng rng{0x5EEDC11Bull};

    // A random boundary for the clipping mode, designated and set up.
    void random_boundary(int mode) {
        reset_all();
        PAI = 3.141592653589793;
        gomi = 0.00025;
        double cx = rng.uni(-40, 40), cy = rng.uni(-40, 40), r = rng.uni(0.5, 30);
        int shape = rng.below(3); // ratio 0, ratio 1, ellipse
        double hp = shape == 0 ? 0 : shape == 1 ? 1 : rng.uni(0.2, 2.5);
        double jk = rng.uni(-180, 180);
        double sk, ek;
        if (mode == 1) {
            sk = ek = rng.below(2) ? 0 : rng.uni(-180, 360);
            if (hp == 1) sk = 0, ek = 360;
        } else {
            sk = rng.uni(-180, 360);
            ek = sk + rng.uni(5, 355);
            if (rng.below(3) == 0) ek -= 360;
        }
        K_CX = cx, K_CY = cy, K_CR = r, K_SK = sk, K_EK = ek, K_HP = hp, K_JK = jk;
        K_CPT = {cx, cy};
        char buf[300];
        std::snprintf(buf, sizeof buf,
                      "ci %.17g %.17g %.17g %.17g %.17g %.17g %.17g, mode %d: ", cx, cy, r, sk, ek,
                      hp, jk, mode);
        designation = buf;
        Pole_set({cx - r, cy - r});
        iMode = mode == 1 ? 1 : mode == 2 ? 2 : 4;
        ASSERT_EQ(Pre_del(), 0);
        ASSERT_EQ(iMode, mode);

        reg.mode = mode;
        reg.cx = cx, reg.cy = cy, reg.r = r, reg.hp = hp;
        reg.ellipse = shape == 2;
        LD t = LD(jk) * PI_L / 180;
        reg.ct = std::cos(t), reg.st = std::sin(t);
        // A circle's arc is in drawing angles, an ellipse's in its own.
        reg.a0 = reg.ellipse ? LD(sk) : LD(sk) + LD(jk);
        LD span = std::fmod(LD(ek) - LD(sk), LD(360));
        if (span < 0) span += 360;
        reg.span = mode == 1 ? 360 : span;
    }

    double extent() const { return reg.r * std::max(1.0L, reg.ellipse ? reg.hp : 1.0L); }

    // The probe from m to the outside reference point passes too near a corner or touches
    // the circle: there the crossing count depends on rounding.
    bool probe_degenerate(P2 m) const {
        if (reg.mode == 1) return false;
        P2 far = {Pmin[1].x, Pmin[1].y};
        if (seg_distance(reg.end1(), m, far) < TOL || seg_distance(reg.end2(), m, far) < TOL)
            return true;
        if (reg.mode == 2 && seg_distance(reg.centre(), m, far) < TOL) return true;
        return std::fabs(seg_distance(reg.centre(), m, far) - reg.r) < TOL;
    }

    // One random segment; false when its position is not general.
    bool segment_case(Tally& tally) {
        double e = extent() * 1.6;
        double x1 = rng.uni(reg.cx - e, reg.cx + e), y1 = rng.uni(reg.cy - e, reg.cy + e);
        double x2 = rng.uni(reg.cx - e, reg.cx + e), y2 = rng.uni(reg.cy - e, reg.cy + e);
        P2 P = {x1, y1}, Q = {x2, y2};
        P2 p = reg.frame(P), q = reg.frame(Q), d = q - p;
        if (norm(d) < 10 * TOL) return false;
        if (reg.edge_distance(p) < TOL || reg.edge_distance(q) < TOL) return false;
        // Not tangent, not through a corner.
        LD line_dist = std::fabs(cross(d, reg.centre() - p)) / norm(d);
        if (std::fabs(line_dist - reg.r) < TOL) return false;
        if (reg.mode != 1 &&
            (seg_distance(reg.end1(), p, q) < TOL || seg_distance(reg.end2(), p, q) < TOL))
            return false;
        if (reg.mode == 2 && seg_distance(reg.centre(), p, q) < TOL) return false;

        LD s[8];
        int n = reg.crossings(p, q, s);
        LD cut[10];
        int m = 0;
        cut[m++] = 0;
        for (int i = 0; i < n; ++i) cut[m++] = s[i];
        cut[m++] = 1;
        for (int i = 0; i + 1 < m; ++i) {
            if ((cut[i + 1] - cut[i]) * norm(d) < TOL) return false;
            LD mid = (cut[i] + cut[i + 1]) / 2;
            if (reg.edge_distance(p + mid * d) < TOL) return false;
        }
        // Expected kept intervals: the outside parts between consecutive cuts (inside for a crop).
        LD keep_a[10], keep_b[10];
        int kept = 0;
        for (int i = 0; i + 1 < m; ++i) {
            LD mid = (cut[i] + cut[i + 1]) / 2;
            if (reg.inside(p + mid * d) != crop) continue;
            keep_a[kept] = cut[i], keep_b[kept] = cut[i + 1];
            ++kept;
        }

        // The record's outer ends are given back where a cut lies within the tolerance of
        // them, coordinate by coordinate.
        P2 D = Q - P;
        LD len = norm(D);
        P2 ex_a[10], ex_b[10];
        for (int k = 0; k < kept; ++k) ex_a[k] = P + keep_a[k] * D, ex_b[k] = P + keep_b[k] * D;
        auto snap = [&](LD& v, LD end) {
            LD diff = std::fabs(v - end);
            if (std::fabs(diff - LD(gomi)) < 1e-9L) return false; // rounding would decide
            if (diff < LD(gomi)) v = end;
            return true;
        };
        if (kept > 0 && !(snap(ex_a[0].x, P.x) && snap(ex_a[0].y, P.y) &&
                          snap(ex_b[kept - 1].x, Q.x) && snap(ex_b[kept - 1].y, Q.y)))
            return false;

        std::string out_bytes;
        writer_open_memory(fpw, out_bytes);
        Pole_set({x1, y1});
        Pole_set({x2, y2});
        ILINE = {x1, y1, x2, y2};
        isCrop = crop ? 1 : 0;
        Del_c_l();
        writer_close(fpw);

        // Positions where the clipper's arithmetic is known to be weak: a probe near a corner or
        // touching the circle, and a segment or probe almost vertical in the circle frame.
        auto steep = [](P2 a, P2 b) { return std::fabs(a.x - b.x) < 1e-3L * std::fabs(a.y - b.y); };
        bool degenerate = false, near_vertical = steep(p, q);
        for (int i = 0; i + 1 < m; ++i) {
            P2 mid = p + ((cut[i] + cut[i + 1]) / 2) * d;
            if (probe_degenerate(mid)) degenerate = true;
            if (reg.mode == 1 && steep(mid, reg.centre())) near_vertical = true;
        }

        int got = olineMAX - 1;
        auto close = [](LD a, LD b) { return std::fabs(a - b) < LD(CUT_TOL); };
        bool wrong = got != kept;
        for (int k = 0; k < got && !wrong; ++k) {
            const Segment& o = OLINE[k + 1];
            if (!close(o.x1, ex_a[k].x) || !close(o.y1, ex_a[k].y) || !close(o.x2, ex_b[k].x) ||
                !close(o.y2, ex_b[k].y))
                wrong = true;
        }
        if (near_vertical) {
            ++tally.near_vertical;
            if (wrong) ++tally.near_vertical_wrong;
            return true;
        }
        if (degenerate) {
            ++tally.probe_degenerate;
            if (wrong) ++tally.probe_degenerate_wrong;
            return true;
        }
        ++tally.segments;
        tally.pieces += got;

        std::string where = designation + show("segment", x1, y1, x2, y2);
        EXPECT_EQ(got, kept) << where;
        if (got != kept) return true;
        LD pa[8], pb[8];
        for (int k = 0; k < got; ++k) {
            const Segment& o = OLINE[k + 1];
            EXPECT_NEAR(o.x1, double(ex_a[k].x), CUT_TOL) << where << " piece " << k;
            EXPECT_NEAR(o.y1, double(ex_a[k].y), CUT_TOL) << where << " piece " << k;
            EXPECT_NEAR(o.x2, double(ex_b[k].x), CUT_TOL) << where << " piece " << k;
            EXPECT_NEAR(o.y2, double(ex_b[k].y), CUT_TOL) << where << " piece " << k;
            P2 a = {o.x1, o.y1}, b = {o.x2, o.y2};
            pa[k] = dot(a - P, D) / (len * len);
            pb[k] = dot(b - P, D) / (len * len);
            // In the segment's direction, in order, and outside (inside for a crop).
            EXPECT_LT(pa[k], pb[k]) << where;
            if (k > 0) { EXPECT_LE(pb[k - 1], pa[k]) << where; }
            EXPECT_EQ(reg.inside(reg.frame(0.5L * (a + b))), crop) << where;
        }
        // Kept and erased parts make up the segment: every gap lies on the erased side.
        LD from = 0;
        for (int k = 0; k <= got; ++k) {
            LD to = k < got ? pa[k] : 1;
            if ((to - from) * len > 1e-6) {
                P2 mid = P + ((from + to) / 2) * D;
                EXPECT_NE(reg.inside(reg.frame(mid)), crop) << where << " gap " << k;
            }
            if (k < got) from = pb[k];
        }
        // Outer ends that survive are the record's own numbers.
        if (got > 0 && keep_a[0] == 0) {
            EXPECT_EQ(OLINE[1].x1, x1) << where;
            EXPECT_EQ(OLINE[1].y1, y1) << where;
        }
        if (got > 0 && keep_b[got - 1] == 1) {
            EXPECT_EQ(OLINE[got].x2, x2) << where;
            EXPECT_EQ(OLINE[got].y2, y2) << where;
        }
        // What was written is the pieces, one record each.
        const char* c = out_bytes.c_str();
        int records = 0;
        while (*c) {
            EXPECT_EQ(*c, ' ') << where;
            char* e2 = nullptr;
            double v[4];
            for (double& x : v) {
                x = std::strtod(c, &e2);
                c = e2;
            }
            ++records;
            if (records <= got) {
                const Segment& o = OLINE[records];
                EXPECT_NEAR(v[0], o.x1, 1e-12) << where;
                EXPECT_NEAR(v[1], o.y1, 1e-12) << where;
                EXPECT_NEAR(v[2], o.x2, 1e-12) << where;
                EXPECT_NEAR(v[3], o.y2, 1e-12) << where;
            }
            EXPECT_EQ(std::string(c, 2), "\r\n") << where;
            if (std::string(c, 2) != "\r\n") break;
            c += 2;
        }
        EXPECT_EQ(records, got) << where;
        return true;
    }

    bool point_case(Tally& tally) {
        double e = extent() * 1.6;
        double x = rng.uni(reg.cx - e, reg.cx + e), y = rng.uni(reg.cy - e, reg.cy + e);
        P2 p = reg.frame({x, y});
        if (reg.edge_distance(p) < TOL) return false;
        Pole_set({x, y});
        IPOINT = {x, y};
        isCrop = crop ? 1 : 0;
        int keep = Del_ten();
        bool want = reg.inside(p) == crop;
        if (probe_degenerate(p)) {
            ++tally.probe_degenerate;
            if (keep != (want ? 1 : 0)) ++tally.probe_degenerate_wrong;
            return true;
        }
        ++tally.points;
        EXPECT_EQ(keep, want ? 1 : 0) << designation << show("point", x, y);
        return true;
    }

    void run_mode(int mode, int boundaries, bool crop_run = false) {
        crop = crop_run;
        rng.s += static_cast<std::uint64_t>(mode); // each mode its own sequence
        Tally tally;
        for (int b = 0; b < boundaries && !HasFailure(); ++b) {
            random_boundary(mode);
            for (int i = 0; i < 8; ++i)
                if (!segment_case(tally)) ++tally.skipped;
            for (int i = 0; i < 8; ++i)
                if (!point_case(tally)) ++tally.skipped;
        }
        std::printf("%smode %d: %d segments (%d kept pieces) and %d points checked; %d positions "
                    "not general; %d with a probe near a corner or touching the circle, %d of "
                    "them decided otherwise; %d segments almost vertical in the circle frame, "
                    "%d of them clipped otherwise\n",
                    crop ? "crop, " : "", mode, tally.segments, tally.pieces, tally.points,
                    tally.skipped, tally.probe_degenerate, tally.probe_degenerate_wrong,
                    tally.near_vertical, tally.near_vertical_wrong);
        EXPECT_GT(tally.segments, boundaries * 4);
        EXPECT_GT(tally.points, boundaries * 4);
    }
};

TEST_F(PropertyClip, WholeCircleOrEllipse) { run_mode(1, 1000); }
TEST_F(PropertyClip, Sector) { run_mode(2, 1000); }
TEST_F(PropertyClip, Segment) { run_mode(3, 1000); }
TEST_F(PropertyClip, CropWholeCircleOrEllipse) { run_mode(1, 1000, true); }
TEST_F(PropertyClip, CropSector) { run_mode(2, 1000, true); }
TEST_F(PropertyClip, CropSegment) { run_mode(3, 1000, true); }

} // namespace
