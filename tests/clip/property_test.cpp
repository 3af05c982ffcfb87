// Random boundaries, segments and points against a region test written from the geometry alone:
// inside the circle (in the circle frame), within the arc's angles, on the arc's side of the
// chord. The clipper's own probes play no part in the expected result.
#include "clip/clip_fixture.h"
#include "clip/region_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

using namespace reference;

// Clearance in the circle frame that makes a position general.
const LD TOL = 2e-3L;
// How far a cut may lie from the true crossing: the fine tolerance of the counting tests.
const double CUT_TOL = 0.00025 / 100;

struct Tally {
    int segments = 0, points = 0, pieces = 0, skipped = 0;
    int probe_degenerate = 0, near_vertical = 0;
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

        reg = Region::of(mode, cx, cy, r, sk, ek, hp, jk);
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
        // them in both coordinates.
        P2 D = Q - P;
        LD len = norm(D);
        P2 ex_a[10], ex_b[10];
        for (int k = 0; k < kept; ++k) ex_a[k] = P + keep_a[k] * D, ex_b[k] = P + keep_b[k] * D;
        auto snap = [&](P2& v, P2 end) {
            LD dx = std::fabs(v.x - end.x), dy = std::fabs(v.y - end.y);
            if (std::fabs(dx - LD(gomi)) < 1e-9L || std::fabs(dy - LD(gomi)) < 1e-9L)
                return false; // rounding would decide
            if (dx < LD(gomi) && dy < LD(gomi)) v = end;
            return true;
        };
        if (kept > 0 && !(snap(ex_a[0], P) && snap(ex_b[kept - 1], Q))) return false;

        std::string out_bytes;
        writer_open_memory(fpw, out_bytes);
        Pole_set({x1, y1});
        Pole_set({x2, y2});
        ILINE = {x1, y1, x2, y2};
        isCrop = crop ? 1 : 0;
        Del_c_l();
        writer_close(fpw);

        // Positions where a slope, an intercept or a crossing count would fail: a probe near a
        // corner or touching the circle, a segment or probe almost vertical in the circle frame.
        // Counted, to show that they are met, and held to the same account.
        auto steep = [](P2 a, P2 b) { return std::fabs(a.x - b.x) < 1e-3L * std::fabs(a.y - b.y); };
        bool degenerate = false, near_vertical = steep(p, q);
        for (int i = 0; i + 1 < m; ++i) {
            P2 mid = p + ((cut[i] + cut[i + 1]) / 2) * d;
            if (probe_degenerate(mid)) degenerate = true;
            if (reg.mode == 1 && steep(mid, reg.centre())) near_vertical = true;
        }

        if (near_vertical) ++tally.near_vertical;
        if (degenerate) ++tally.probe_degenerate;
        int got = olineMAX - 1;
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
        if (probe_degenerate(p)) ++tally.probe_degenerate;
        ++tally.points;
        EXPECT_EQ(keep, want ? 1 : 0) << designation << show("point", x, y);
        return true;
    }

    // A point of the region's edge (the arc, a radius or the chord), rounded to 3 or 4 decimals
    // as a drawing rounds it: it may lie a little inside or outside.
    P2 near_edge() {
        P2 e;
        int part = reg.mode == 1 ? 0 : rng.below(3);
        if (part == 0) {
            e = reg.unframe(reg.on_circle(rng.uni(0, 360)));
        } else {
            P2 a = reg.unframe(reg.end1()),
               b = reg.mode == 2 ? reg.unframe(reg.centre()) : reg.unframe(reg.end2());
            if (part == 2 && reg.mode == 2) a = reg.unframe(reg.end2());
            e = a + LD(rng.uni(0, 1)) * (b - a);
        }
        double k = rng.below(2) ? 1e3 : 1e4;
        return {std::round(double(e.x) * k) / k, std::round(double(e.y) * k) / k};
    }

    // The same line with -k, then erased or cropped: the pieces of both sides join end to end
    // into the line, each within it and of some length, and the run keeps those of its side.
    void edge_case(Tally& tally) {
        P2 P = near_edge(), Q;
        switch (rng.below(4)) {
        case 0:
            Q = reg.centre();
            break;
        case 1:
            Q = near_edge();
            break;
        case 2:
            Q = reg.centre() + LD(rng.uni(1.2, 3)) * (P - reg.centre());
            break;
        default:
            Q = {rng.uni(reg.cx - 2 * extent(), reg.cx + 2 * extent()),
                 rng.uni(reg.cy - 2 * extent(), reg.cy + 2 * extent())};
        }
        if (rng.below(2)) std::swap(P, Q);
        const double x1 = double(P.x), y1 = double(P.y), x2 = double(Q.x), y2 = double(Q.y);
        if (x1 == x2 && y1 == y2) return;
        std::string where = designation + show("segment", x1, y1, x2, y2);
        const P2 D = {LD(x2) - x1, LD(y2) - y1};
        const LD len = norm(D);
        auto along = [&](double x, double y) { return dot(P2{x - LD(x1), y - LD(y1)}, D) / len; };
        auto off = [&](double x, double y) { return cross(D, P2{x - LD(x1), y - LD(y1)}) / len; };
        const LD eps = 1e-9L * (1 + std::fabs(reg.cx) + std::fabs(reg.cy) + extent());

        std::string bytes;
        Segment all[9];
        bool restyled[9];
        int n = 0;
        for (int keep = 1; keep >= 0; --keep) {
            writer_open_memory(fpw, bytes);
            Pole_set({x1, y1});
            Pole_set({x2, y2});
            ILINE = {x1, y1, x2, y2};
            isCrop = crop ? 1 : 0;
            isKeep = keep;
            Del_c_l();
            writer_close(fpw);
            isKeep = 0;
            if (keep) {
                n = olineMAX - 1;
                for (int k = 0; k < n; ++k) all[k] = OLINE[k + 1], restyled[k] = ORESTYLE[k + 1];
                continue;
            }
            int m = 0; // the run's pieces are the -k run's of its side
            for (int k = 0; k < n; ++k) {
                if (restyled[k]) continue;
                ASSERT_LT(m + 1, olineMAX) << where;
                // but that an end next to the record's own is snapped onto it
                const Segment &o = OLINE[m + 1], &a = all[k];
                for (auto [u, v] :
                     {std::pair{o.x1, a.x1}, {o.y1, a.y1}, {o.x2, a.x2}, {o.y2, a.y2}})
                    EXPECT_NEAR(u, v, gomi) << where << " piece " << m;
                ++m;
            }
            EXPECT_EQ(m, olineMAX - 1) << where;
        }
        ++tally.segments;
        tally.pieces += n;
        ASSERT_GT(n, 0) << where;
        EXPECT_EQ(all[0].x1, x1) << where;
        EXPECT_EQ(all[0].y1, y1) << where;
        EXPECT_EQ(all[n - 1].x2, x2) << where;
        EXPECT_EQ(all[n - 1].y2, y2) << where;
        for (int k = 0; k < n; ++k) {
            const Segment& o = all[k];
            EXPECT_FALSE(o.x1 == o.x2 && o.y1 == o.y2)
                << where << " piece " << k << " of no length";
            for (auto [x, y] : {std::pair{o.x1, o.y1}, std::pair{o.x2, o.y2}}) {
                EXPECT_GE(along(x, y), -eps) << where << " piece " << k << " before the start";
                EXPECT_LE(along(x, y), len + eps) << where << " piece " << k << " after the end";
                EXPECT_LE(std::fabs(off(x, y)), eps) << where << " piece " << k << " off the line";
            }
            EXPECT_LT(along(o.x1, o.y1), along(o.x2, o.y2)) << where << " piece " << k;
            if (k > 0) {
                EXPECT_EQ(all[k - 1].x2, o.x1) << where << " gap before piece " << k;
                EXPECT_EQ(all[k - 1].y2, o.y1) << where << " gap before piece " << k;
            }
        }
    }

    void run_edges(int mode, bool crop_run) {
        crop = crop_run;
        rng.s += static_cast<std::uint64_t>(mode) + 100;
        Tally tally;
        for (int b = 0; b < 300 && !HasFailure(); ++b) {
            random_boundary(mode);
            for (int i = 0; i < 12 && !HasFailure(); ++i) edge_case(tally);
        }
        std::printf("%smode %d: %d lines from the edge, %d pieces\n", crop ? "crop, " : "", mode,
                    tally.segments, tally.pieces);
        EXPECT_GT(tally.segments, 3000);
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
                    "not general; %d with a probe near a corner or touching the circle; %d "
                    "segments almost vertical in the circle frame\n",
                    crop ? "crop, " : "", mode, tally.segments, tally.pieces, tally.points,
                    tally.skipped, tally.probe_degenerate, tally.near_vertical);
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

// Ends rounded near the edge: a crossing found within the tolerance of an end but beyond it
// cuts nothing, and no piece shrinks to a point.
TEST_F(PropertyClip, LinesFromTheEdgeStayWithinThemselves) {
    for (int mode = 1; mode <= 3; ++mode)
        for (bool crop_run : {false, true}) run_edges(mode, crop_run);
}

} // namespace
