// Drawings as they really are, against the region computed from the geometry alone: a grid of
// walls, lines vertical or horizontal but for rounding noise, lines through the centre and the
// corners, lines ending on the edge, short lines near it, points on round coordinates and on
// the probes' rays through the corners; at the origin and moved to survey coordinates.
#include "clip/clip_fixture.h"
#include "clip/region_reference.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace reference;

struct Kind {
    const char* name;
    double sk, ek, hp, jk;
    int mode; // as given on the command line
};

const Kind KINDS[] = {
    {"circle", 0, 0, 0, 0, 1},
    {"ellipse tilted 90", 0, 0, 0.5, 90, 1},
    {"ellipse tilted 30", 0, 0, 0.6, 30, 1},
    {"sector 0..90", 0, 90, 1, 0, 2},
    {"sector 90..270", 90, 270, 1, 0, 2},
    {"sector 300..60 of ratio 0", 300, 60, 0, 0, 2},
    {"elliptic sector", 30, 240, 0.5, 90, 2},
    {"segment 0..90", 0, 90, 1, 0, 4},
    {"segment 90..270", 90, 270, 1, 0, 4},
    {"elliptic segment", 200, 20, 0.7, 45, 4},
};

const double OFFSETS[][2] = {{0, 0}, {1e5 + 0.5, 2e5}, {1.2345675e7, 5.4321e6}};

class Drawings : public ClipFixture {
  protected:
    Region reg{};
    P2 centre{};
    Rng rng{0xD4A1A9ull};
    std::string where;
    std::string sink;
    int lines_checked = 0, samples_checked = 0, points_checked = 0;

    // The boundary point at the record's own angle, in drawing coordinates.
    P2 on_boundary(LD deg) const { return reg.unframe(reg.on_circle(deg)); }
    LD noise() { return std::pow(LD(10), LD(rng.uni(-13, -6))) * (rng.below(2) ? 1 : -1); }

    // Lines that lie along a straight edge may go either way.
    bool along_straight_edge(P2 p, P2 q) const {
        auto along = [&](P2 a, P2 b) {
            P2 e = b - a;
            LD n = norm(e);
            return std::fabs(cross(e, p - a)) / n < 2 * gomi &&
                   std::fabs(cross(e, q - a)) / n < 2 * gomi;
        };
        if (reg.mode == 2)
            return along(reg.end1(), reg.centre()) || along(reg.end2(), reg.centre());
        return reg.mode == 3 && along(reg.end1(), reg.end2());
    }

    void check_line(P2 P, P2 Q, bool crop) {
        Segment s = {double(P.x), double(P.y), double(Q.x), double(Q.y)};
        P = {s.x1, s.y1}, Q = {s.x2, s.y2};
        if (s.x1 == s.x2 && s.y1 == s.y2) return;
        ILINE = s;
        isCrop = crop;
        Del_c_l();
        if (along_straight_edge(reg.frame(P), reg.frame(Q))) return;
        char buf[200];
        std::snprintf(buf, sizeof buf, " line (%.17g, %.17g)-(%.17g, %.17g)", s.x1, s.y1, s.x2,
                      s.y2);
        const std::string at = where + buf;
        P2 D = Q - P;
        LD len2 = dot(D, D), len = std::sqrt(len2);
        int got = olineMAX - 1;
        std::vector<LD> pa, pb;
        for (int k = 1; k <= got; ++k) {
            P2 a = {OLINE[k].x1, OLINE[k].y1}, b = {OLINE[k].x2, OLINE[k].y2};
            // On its line, within the record, in the record's direction and order.
            EXPECT_LT(std::fabs(cross(D, a - P)) / len, gomi / 100) << at << " piece " << k;
            EXPECT_LT(std::fabs(cross(D, b - P)) / len, gomi / 100) << at << " piece " << k;
            pa.push_back(dot(a - P, D) / len2);
            pb.push_back(dot(b - P, D) / len2);
            EXPECT_LT(pa.back(), pb.back()) << at << " piece " << k;
            EXPECT_GT(pa.back() * len, -gomi) << at;
            EXPECT_LT(pb.back() * len, len + gomi) << at;
            if (k > 1) { EXPECT_LE(pb[k - 2], pa[k - 1]) << at; }
        }
        // Every length of line away from the edge is kept exactly when it lies on the kept side.
        const int N = 64;
        for (int i = 0; i < N; ++i) {
            LD t = (i + LD(0.5)) / N;
            P2 x = reg.frame(P + t * D);
            if (reg.edge_distance(x) < 2 * gomi) continue;
            bool kept = false;
            for (int k = 0; k < got; ++k) kept = kept || (pa[k] <= t && t <= pb[k]);
            ++samples_checked;
            EXPECT_EQ(kept, reg.inside(x) == crop) << at << " at t = " << double(t);
        }
        ++lines_checked;
    }

    void check_point(P2 P, bool crop) {
        Point p = {double(P.x), double(P.y)};
        P2 x = reg.frame({p.x, p.y});
        IPOINT = p;
        isCrop = crop;
        int keep = Del_ten();
        if (reg.edge_distance(x) < 2 * gomi) return;
        ++points_checked;
        char buf[120];
        std::snprintf(buf, sizeof buf, " point (%.17g, %.17g)", p.x, p.y);
        EXPECT_EQ(keep, reg.inside(x) == crop ? 1 : 0) << where << buf;
    }

    void drawing(const Kind& kind, const double* off, bool crop) {
        reset_all();
        gomi = 0.00025;
        writer_open_memory(fpw, sink);
        const double cx = off[0] + 10, cy = off[1] + 5, r = 10;
        char buf[200];
        std::snprintf(buf, sizeof buf, "%s at (%.17g, %.17g)%s:", kind.name, cx, cy,
                      crop ? ", crop" : "");
        where = buf;
        designate(cx, cy, r, kind.sk, kind.ek, kind.hp, kind.jk, kind.mode);
        const int mode = kind.mode == 1 ? 1 : kind.mode == 2 ? 2 : 3;
        ASSERT_EQ(iMode, mode);
        reg = Region::of(mode, cx, cy, r, kind.sk, kind.ek, kind.hp, kind.jk);
        centre = {cx, cy};

        std::vector<std::pair<P2, P2>> lines;
        for (int g = -30; g <= 30; g += 5) { // walls every 5 units, either way round
            P2 a = {cx - 32, cy + g}, b = {cx + 32, cy + g};
            lines.push_back(g % 10 ? std::make_pair(b, a) : std::make_pair(a, b));
            a = {cx + g, cy - 32}, b = {cx + g, cy + 32};
            lines.push_back(g % 10 ? std::make_pair(b, a) : std::make_pair(a, b));
        }
        std::vector<P2> corners = {centre, on_boundary(reg.a0), on_boundary(reg.a0 + reg.span)};
        for (int i = 0; i < 40; ++i) {
            LD at = rng.uni(-14, 14);
            lines.push_back({{cx + at, cy - 20}, {cx + at + noise(), cy + 20}}); // near-vertical
            lines.push_back({{cx - 20, cy + at}, {cx + 20, cy + at + noise()}}); // near-horizontal
            LD a = rng.uni(0, 2 * 3.14159265358979);
            P2 u = {std::cos(a), std::sin(a)};
            lines.push_back({centre - 20 * u, centre + 20 * u}); // through the centre
            P2 e = on_boundary(rng.uni(0, 360));                 // an end on the edge
            lines.push_back({e, {cx + rng.uni(-25, 25), cy + rng.uni(-25, 25)}});
            LD l = rng.uni(0.01, 1); // short, near the edge
            P2 m = on_boundary(rng.uni(0, 360)) + P2{rng.uni(-0.3, 0.3), rng.uni(-0.3, 0.3)};
            lines.push_back({m - l * u, m + l * u});
            P2 v = corners[rng.below(3)]; // through a corner
            lines.push_back({v - rng.uni(1, 20) * u, v + rng.uni(1, 20) * u});
        }
        // The pre-scan sees every coordinate before the main pass.
        for (auto& [a, b] : lines) {
            Pole_set({double(a.x), double(a.y)});
            Pole_set({double(b.x), double(b.y)});
        }
        for (auto& [a, b] : lines) check_line(a, b, crop);

        for (LD i = -15; i <= 15; i += 2.5) // round coordinates
            for (LD j = -15; j <= 15; j += 2.5) check_point({cx + i, cy + j}, crop);
        // On the ray from the outside reference point through each corner, both sides of it.
        P2 far = {Pmin[1].x, Pmin[1].y};
        for (P2 v : corners) {
            P2 w = reg.frame(v), d = w - far;
            d = (1 / norm(d)) * d;
            for (int i = 0; i < 12; ++i)
                check_point(reg.unframe(w + LD(rng.uni(-15, 15)) * d), crop);
        }
        writer_close(fpw);
    }
};

TEST_F(Drawings, EveryRegionKindAtTheOriginAndFarFromIt) {
    for (const Kind& kind : KINDS)
        for (const auto& off : OFFSETS)
            for (bool crop : {false, true}) {
                drawing(kind, off, crop);
                if (HasFailure()) return;
            }
    std::printf("%d lines (%d samples along them) and %d points checked\n", lines_checked,
                samples_checked, points_checked);
    EXPECT_GT(samples_checked, 100000);
    EXPECT_GT(points_checked, 10000);
}

} // namespace
