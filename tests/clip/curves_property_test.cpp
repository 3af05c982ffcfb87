// Random circles, arcs and ellipses cut against random regions. What a piece should hold is
// decided from the boundary's own equation in drawing coordinates, without the circle frame or
// any of the kernel's crossing code: a sampled point of the curve lies in a written piece
// exactly when it lies outside the region (inside for a crop), wherever it keeps clear of the
// edge, and every cut lies on the edge.
#include "clip/clip_fixture.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

using LD = long double;
const LD PI_L = 3.141592653589793238462643383279502884L;

struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        s ^= s << 13, s ^= s >> 7, s ^= s << 17;
        return s;
    }
    double uni(double a, double b) { return a + (b - a) * ((next() >> 11) * 0x1.0p-53); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

LD rad(LD deg) { return deg * PI_L / 180; }
LD fold(LD deg) {
    LD r = std::fmod(deg, LD(360));
    return r < 0 ? r + 360 : r;
}

// An ellipse (or circle) with its own angles: centre, semi-axes a and a*h, tilt t.
struct Ell {
    LD cx, cy, a, h, t;
    void at(LD deg, LD& x, LD& y) const {
        LD u = a * std::cos(rad(deg)), v = a * h * std::sin(rad(deg));
        x = cx + std::cos(rad(t)) * u - std::sin(rad(t)) * v;
        y = cy + std::sin(rad(t)) * u + std::cos(rad(t)) * v;
    }
    // The point as (rho cos phi, rho h sin phi) turned: rho < 1 inside.
    void local(LD x, LD y, LD& rho, LD& phi) const {
        LD dx = x - cx, dy = y - cy;
        LD u = std::cos(rad(t)) * dx + std::sin(rad(t)) * dy;
        LD v = (std::cos(rad(t)) * dy - std::sin(rad(t)) * dx) / h;
        rho = std::hypot(u, v) / a;
        phi = fold(std::atan2(v, u) * 180 / PI_L);
    }
};

LD seg_dist(LD x, LD y, LD x1, LD y1, LD x2, LD y2) {
    LD ex = x2 - x1, ey = y2 - y1, ee = ex * ex + ey * ey;
    LD t = ee > 0 ? ((x - x1) * ex + (y - y1) * ey) / ee : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return std::hypot(x1 + t * ex - x, y1 + t * ey - y);
}

struct Region {
    Ell e;
    int mode; // 1 whole, 2 sector, 3 segment
    LD sk, span;
    LD e1x, e1y, e2x, e2y, mx, my; // the arc's ends and middle
    bool in_arc(LD phi, LD slack = 0) const {
        return mode == 1 || fold(phi - sk + slack) <= span + 2 * slack;
    }
    LD side(LD x, LD y) const { return (e2x - e1x) * (y - e1y) - (e2y - e1y) * (x - e1x); }
    bool inside(LD x, LD y) const {
        LD rho, phi;
        e.local(x, y, rho, phi);
        if (!(rho < 1)) return false;
        if (mode == 2) return in_arc(phi);
        if (mode == 3) return (side(x, y) > 0) == (side(mx, my) > 0);
        return true;
    }
    LD straight(LD x, LD y) const {
        if (mode == 2)
            return std::fmin(seg_dist(x, y, e1x, e1y, e.cx, e.cy),
                             seg_dist(x, y, e2x, e2y, e.cx, e.cy));
        if (mode == 3) return seg_dist(x, y, e1x, e1y, e2x, e2y);
        return 1e300;
    }
    // Lower bound of the distance from the edge: the whole ellipse lies no nearer than
    // |rho - 1| times the smaller semi-axis.
    LD clearance(LD x, LD y) const {
        LD rho, phi;
        e.local(x, y, rho, phi);
        return std::fmin(std::fabs(rho - 1) * e.a * std::fmin(LD(1), std::fabs(e.h)),
                         straight(x, y));
    }
    // Upper bound of the distance from the edge.
    LD reach(LD x, LD y) const {
        LD rho, phi;
        e.local(x, y, rho, phi);
        LD d = straight(x, y);
        if (in_arc(phi, 1e-6))
            d = std::fmin(d, std::fabs(rho - 1) * e.a * std::fmax(LD(1), std::fabs(e.h)));
        return d;
    }
};

class CurveProperty : public ClipFixture {
  protected:
    // Runs the clipper on the current circle; the pieces it wrote as own-angle ranges, or the
    // whole range when it kept the record.
    struct Piece {
        double s, e;
    };
    Piece got[32];
    int ngot = 0;

    void cut(bool short_form, bool& whole, bool& fields_ok) {
        sink.clear();
        writer_open_memory(fpw, sink);
        int back = Del_c_c(short_form);
        writer_close(fpw);
        whole = back == 1;
        fields_ok = true;
        ngot = 0;
        const char* p = sink.c_str();
        double v[7];
        int used = 0;
        while (*p && std::sscanf(p, "ci %lf %lf %lf %lf %lf %lf %lf\r\n%n", &v[0], &v[1], &v[2],
                                 &v[3], &v[4], &v[5], &v[6], &used) == 7) {
            // Written with 13 decimals.
            auto same = [](double a, double b) { return std::fabs(a - b) < 1e-12; };
            fields_ok = fields_ok && same(v[0], CX) && same(v[1], CY) && same(v[2], CR) &&
                        same(v[5], short_form ? 1.0 : HP) && same(v[6], short_form ? 0.0 : JK) &&
                        v[3] >= 0 && v[3] < 360 && v[4] > 0 && v[4] <= 360;
            if (ngot < 32) got[ngot++] = {v[3], v[4]};
            p += used;
        }
        fields_ok = fields_ok && *p == '\0' && !(whole && ngot > 0) && ngot < 32;
    }
};

TEST_F(CurveProperty, PiecesHoldWhatLiesOutsideAndEndOnTheEdge) {
    Rng rng{0x2545F4914F6CDD1Dull};
    int samples = 0, checked_cuts = 0, pieces_total = 0;
    LD worst_cut = 0;
    for (int trial = 0; trial < 1500; ++trial) {
        reset_all();
        gomi = 0.00025;
        const int mode = 1 + rng.below(3);
        const double bx = rng.uni(-50, 50), by = rng.uni(-50, 50), br = rng.uni(5, 30);
        int kind = rng.below(3); // circle, long-form circle, ellipse
        double bh = kind == 0 ? 0 : kind == 1 ? 1 : rng.uni(0.3, 1.8);
        double bt = rng.below(2) ? rng.uni(-180, 180) : 0;
        double bsk = 0, bek = 0;
        if (mode == 1) {
            if (kind == 1) bek = 360;
        } else {
            bsk = rng.uni(-360, 360);
            bek = bsk + rng.uni(20, 340);
        }
        isCrop = rng.below(2);
        designate(bx, by, br, bsk, bek, bh, bt, mode == 1 ? 1 : mode == 2 ? 2 : 4);

        Region R;
        R.e = {bx, by, br, bh == 0 ? 1 : bh, bt};
        R.mode = mode;
        R.sk = fold(bsk);
        R.span = mode == 1 ? 360 : fold(bek - bsk);
        R.e.at(bsk, R.e1x, R.e1y);
        R.e.at(bek, R.e2x, R.e2y);
        R.e.at(bsk + R.span / 2, R.mx, R.my);

        // The curve: near the region, of any size, form and range.
        bool short_form = rng.below(4) == 0;
        CX = bx + rng.uni(-1.5, 1.5) * br, CY = by + rng.uni(-1.5, 1.5) * br;
        CR = rng.uni(0.2, 1.5) * br;
        SK = EK = HP = JK = 0;
        if (!short_form) {
            int form = rng.below(4);
            HP = form == 0 ? 0 : form == 1 ? 1 : rng.uni(0.2, 2.5);
            JK = rng.below(2) ? rng.uni(-360, 360) : 0;
            if (rng.below(2)) {
                SK = rng.uni(-360, 360);
                EK = SK + rng.uni(5, 355);
            } else if (rng.below(2)) {
                EK = 360;
            }
        }
        bool whole = false, fields_ok = false;
        cut(short_form, whole, fields_ok);
        ASSERT_TRUE(fields_ok) << trial << ": " << sink;
        pieces_total += ngot;

        const Ell curve = {CX, CY, CR, HP == 0 || HP == 1 ? 1 : HP, JK};
        const bool closed = SK == EK || (SK == 0 && EK == 360);
        const LD from = fold(SK), span = closed ? 360 : fold(EK - SK);
        for (int i = 0; i <= 360; ++i) {
            LD a = from + span * i / 360;
            LD x, y;
            curve.at(a, x, y);
            if (R.clearance(x, y) < 1e-3) continue;
            bool want = R.inside(x, y) == (isCrop != 0);
            bool in = whole; // the written angles are rounded to 13 decimals
            for (int g = 0; g < ngot; ++g)
                in = in || fold(a - got[g].s + 1e-9) <= fold(got[g].e - got[g].s) + 2e-9;
            ++samples;
            ASSERT_EQ(in, want) << trial << " at " << static_cast<double>(a) << ": " << sink;
        }
        // Each end of a piece that is not an end of the record is a cut, on the edge.
        for (int g = 0; g < ngot; ++g)
            for (double end : {got[g].s, got[g].e}) {
                if (!closed && (std::fabs(fold(end - SK + 1e-7)) < 2e-7 ||
                                std::fabs(fold(end - EK + 1e-7)) < 2e-7))
                    continue;
                LD x, y;
                curve.at(end, x, y);
                LD d = R.reach(x, y);
                worst_cut = std::fmax(worst_cut, d);
                ++checked_cuts;
                EXPECT_LT(d, 0.00025 / 100) << trial << ": " << sink;
            }
    }
    EXPECT_GT(samples, 300000);
    EXPECT_GT(checked_cuts, 1000);
    std::printf("curves: %d samples, %d pieces, %d cuts, farthest cut from the edge %.3g\n",
                samples, pieces_total, checked_cuts, static_cast<double>(worst_cut));
}

} // namespace
