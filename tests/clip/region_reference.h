// The region computed from the geometry alone, in long double: inside the circle (in the
// circle frame), within the arc's angles, on the arc's side of the chord. The clipper's own
// probes and the kernel play no part in it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace reference {

using LD = long double;

struct P2 {
    LD x, y;
};
inline P2 operator+(P2 a, P2 b) { return {a.x + b.x, a.y + b.y}; }
inline P2 operator-(P2 a, P2 b) { return {a.x - b.x, a.y - b.y}; }
inline P2 operator*(LD k, P2 a) { return {k * a.x, k * a.y}; }
inline LD dot(P2 a, P2 b) { return a.x * b.x + a.y * b.y; }
inline LD cross(P2 a, P2 b) { return a.x * b.y - a.y * b.x; }
inline LD norm(P2 a) { return std::sqrt(dot(a, a)); }

inline const LD PI_L = 3.141592653589793238462643383279502884L;

// Distance from x to the segment a-b.
inline LD seg_distance(P2 x, P2 a, P2 b) {
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

    // The boundary record "ci cx cy r sk ek hp jk" in mode 1 (whole), 2 (sector) or 3 (segment).
    static Region of(int mode, double cx, double cy, double r, double sk, double ek, double hp,
                     double jk) {
        Region g{};
        g.mode = mode;
        g.cx = cx, g.cy = cy, g.r = r, g.hp = hp;
        g.ellipse = hp != 0 && hp != 1;
        LD t = LD(jk) * PI_L / 180;
        g.ct = std::cos(t), g.st = std::sin(t);
        // A circle's arc is in drawing angles, an ellipse's in its own.
        g.a0 = g.ellipse ? LD(sk) : LD(sk) + LD(jk);
        LD span = std::fmod(LD(ek) - LD(sk), LD(360));
        if (span < 0) span += 360;
        g.span = mode == 1 ? 360 : span;
        return g;
    }

    P2 frame(P2 p) const {
        if (!ellipse) return p;
        LD dx = p.x - cx, dy = p.y - cy;
        return {cx + ct * dx + st * dy, cy + (ct * dy - st * dx) / hp};
    }
    P2 unframe(P2 p) const {
        if (!ellipse) return p;
        LD dx = p.x - cx, v = hp * (p.y - cy);
        return {cx + ct * dx - st * v, cy + st * dx + ct * v};
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

} // namespace reference
