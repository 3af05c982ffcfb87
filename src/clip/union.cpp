// -a: a line cut by the union of the boundaries, the designated region and the body's closed
// circles. Each boundary finds its crossings as it would alone; a crossing inside another
// boundary is no edge of the union and goes. A piece lies inside when its midpoint lies inside
// one boundary, judged as that boundary alone judges it. Only the circles about a place along
// the line are asked of it, so that a line through many circles costs in step with them.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "base/portable_math.h"
#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "clip/clip.h"
#include "clip/frame.h"
#include "clip/lines.h"
#include "clip/probes.h"
#include "clip/union.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "geometry/curves.h"
#include "geometry/geometry.h"

namespace {

struct Cut {
    double along; // position along the record's line, for the order
    Point p;      // in drawing coordinates
    int from;     // the boundary: a circle's index, or -1 for the designated region
    int seq;      // the order found in: the designated region's, then each near circle's
};

// Kept across records, so that a line allocates only when it meets more than any before it.
std::vector<int> near;
std::vector<Cut> cuts;
std::vector<Point> ends;
std::vector<Segment> pieces;
std::unique_ptr<bool[]> restyled;
std::size_t restyled_size;

// The tolerances of the single boundary: crossings are taken within gomi of the segment, and
// points within gomi / 100 of each other are one.
bool within_box(const Point& p, const Segment& s, double e) {
    return within(p.x, s.x1, s.x2, e) && within(p.y, s.y1, s.y2, e);
}

bool on_segment(const Point& p, const Segment& s) {
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double along = (p.x - s.x1) * dx + (p.y - s.y1) * dy;
    return !(along < 0 || along > dx * dx + dy * dy);
}

Segment into(const Circle& c, const Segment& s) {
    if (!c.mapped) return s;
    Point a = into_circle(c, {s.x1, s.y1}), b = into_circle(c, {s.x2, s.y2});
    return {a.x, a.y, b.x, b.y};
}

// The crossings of circle i with the record's line L, as the circle alone would cut it.
// Numbered seq and seq + 1.
void circle_cuts(int i, const Segment& L, int seq) {
    const Circle& c = CIRCLES[i];
    const Segment s = into(c, L);
    Point cand[2];
    if (circle_line_candidates(s, c.cx, c.cy, c.r, cand) == 0) return;
    for (int k = 0; k < 2; ++k)
        if (within_box(cand[k], s, gomi) && on_segment(cand[k], s))
            cuts.push_back({0, c.mapped ? out_of_circle(c, cand[k]) : cand[k], i, seq + k});
}

// A piece's midpoint inside circle i, by the probe to its centre as a line's piece is judged.
bool probe_in_circle(int i, const Point& p) {
    const Circle& c = CIRCLES[i];
    const Point q = c.mapped ? into_circle(c, p) : p;
    const int sure = probe_side(q, c.cx, c.cy, c.r, gomi);
    if (sure >= 0) return sure == 1;
    const Segment probe = {q.x, q.y, c.cx, c.cy};
    Point cand[2];
    if (circle_line_candidates(probe, c.cx, c.cy, c.r, cand) == 0) return true;
    return !within_box(cand[0], probe, gomi) && !within_box(cand[1], probe, gomi);
}

bool probe_in_designated(const ClipFrame& f, const Point& p) {
    int count = 0, edge = 0;
    return in_region(f.mapped ? into_frame(f, p) : p, f, true, &count, &edge);
}

// Appends the designated region's crossings, as cut_points finds them in its frame; false
// when the line lies beyond the bound there (it then stays whole, as without -a).
bool designated_cuts(const ClipFrame& f, const Segment& L) {
    if (f.mapped) {
        Point a = into_frame(f, {L.x1, L.y1}), b = into_frame(f, {L.x2, L.y2});
        if (!in_bound(a.x) || !in_bound(a.y) || !in_bound(b.x) || !in_bound(b.y)) return false;
        ILINE = {a.x, a.y, b.x, b.y};
        reach_below(a, b);
    }
    int change = 0;
    cut_points(f, &change);
    const Point a = {ILINE.x1, ILINE.y1}, b = {ILINE.x2, ILINE.y2};
    for (int k = 1; k < KPcnt; ++k) {
        const Point& p = KP[k];
        if ((p.x == a.x && p.y == a.y) || (p.x == b.x && p.y == b.y)) continue;
        cuts.push_back({0, f.mapped ? out_of_frame(f, p) : p, -1, static_cast<int>(cuts.size())});
    }
    ILINE = L;
    return true;
}

// Along the line, those at one place in the order found. Found circle by circle along the line,
// they come nearly in order: insertion sorts them at little cost, where it cannot take long.
void in_order(std::vector<Cut>& v) {
    auto before = [](const Cut& a, const Cut& b) {
        return a.along < b.along || (a.along == b.along && a.seq < b.seq);
    };
    if (v.size() > 32) return std::sort(v.begin(), v.end(), before);
    for (std::size_t i = 1; i < v.size(); ++i) {
        const Cut c = v[i];
        std::size_t j = i;
        for (; j > 0 && before(c, v[j - 1]); --j) v[j] = v[j - 1];
        v[j] = c;
    }
}

bool same_point(const Point& a, const Point& b) {
    const double e = gomi / 100;
    return std::fabs(a.x - b.x) < e && std::fabs(a.y - b.y) < e;
}

// The circles near the line (beyond FEW of them, in the order of their lowest point along it),
// each with the stretch along it that its box, widened, projects onto: no point outside that
// stretch lies in the circle or within the tolerance of it. A crossing or a piece's midpoint is
// then judged by the circles whose stretch holds it, found by a sweep along the line, not by all of
// them.
struct Stretch {
    double lo, hi;
    int at;  // the circle's place
    int nth; // and its place among the circles near the line
};
std::vector<Stretch> stretches;
std::vector<int> active;
constexpr std::size_t FEW = 4; // so few are all asked: cheaper than a sweep

void make_stretches(const Segment& L) {
    const double dx = L.x2 - L.x1, dy = L.y2 - L.y1, ax = std::fabs(dx), ay = std::fabs(dy);
    stretches.clear();
    for (std::size_t k = 0; k < near.size(); ++k) {
        const int i = near[k];
        const Circle& c = CIRCLES[i];
        double hx, hy;
        half_extents(c, hx, hy);
        const double w = 2 * gomi, mid = (c.cx - L.x1) * dx + (c.cy - L.y1) * dy;
        const double half = (hx + w) * ax + (hy + w) * ay;
        const double slack = 1e-9 * (std::fabs(mid) + half);
        stretches.push_back({mid - half - slack, mid + half + slack, i, static_cast<int>(k)});
    }
    if (stretches.size() > FEW)
        std::sort(stretches.begin(), stretches.end(),
                  [](const Stretch& a, const Stretch& b) { return a.lo < b.lo; });
}

// A sweep along the line: the circles whose stretch holds the place t, for t that do not go
// back (one that does starts the sweep again).
struct Sweep {
    std::size_t next = 0;
    double last = -HUGE_VAL;
    Sweep() {
        active.clear();
        if (stretches.size() <= FEW)
            for (next = 0; next < stretches.size(); ++next)
                active.push_back(static_cast<int>(next));
    }
    const std::vector<int>& at(double t) {
        if (stretches.size() <= FEW) return active;
        if (!(t >= last)) next = 0, active.clear(); // NaN too: every stretch is looked at
        last = t;
        for (; next < stretches.size() && !(stretches[next].lo > t); ++next)
            active.push_back(static_cast<int>(next));
        std::size_t n = 0;
        for (int k : active)
            if (!(stretches[k].hi < t)) active[n++] = k;
        active.resize(n);
        return active;
    }
};

} // namespace

bool in_circle(int i, const Point& p) {
    const Circle& c = CIRCLES[i];
    const Point q = c.mapped ? into_circle(c, p) : p;
    const double dx = q.x - c.cx, dy = q.y - c.cy;
    return dx * dx + dy * dy < c.r * c.r;
}

bool deep_in_designated(const ClipFrame& f, const Point& p) {
    const Point q = f.mapped ? into_frame(f, p) : p;
    const double e = gomi / 100;
    if (iMode > 3) return true;
    if (iMode <= 1) {
        const double dx = q.x - K_CX, dy = q.y - K_CY;
        return K_CR > e && dx * dx + dy * dy < (K_CR - e) * (K_CR - e);
    }
    return inside_region(q, iMode, f.E1, f.E2) && edge_distance(q, iMode, f.E1, f.E2) > e;
}

bool deep_in_circle(int i, const Point& p) {
    const Circle& c = CIRCLES[i];
    const Point q = c.mapped ? into_circle(c, p) : p;
    const double dx = q.x - c.cx, dy = q.y - c.cy, e = gomi / 100;
    return c.r > e && dx * dx + dy * dy < (c.r - e) * (c.r - e);
}

bool in_boundary_circle(const Point& p) {
    circles_near({p.x, p.y, p.x, p.y}, 0, near);
    for (int i : near) {
        const Circle& c = CIRCLES[i];
        const Point q = c.mapped ? into_circle(c, p) : p;
        if (!(portable::sqrt((q.x - c.cx) * (q.x - c.cx) + (q.y - c.cy) * (q.y - c.cy)) > c.r))
            return true;
    }
    return false;
}

bool clip_by_union() {
    const Segment L = ILINE;
    circles_near(L, gomi, near);
    if (near.empty() && isDesignated) return false; // as without -a, byte for byte
    const ClipFrame f = isDesignated ? clip_frame() : ClipFrame{false, 0, 0, {0, 0}, {0, 0}};
    cuts.clear();
    if (isDesignated && !designated_cuts(f, L)) return false;
    make_stretches(L);
    const int first = static_cast<int>(cuts.size());
    for (const Stretch& st : stretches) circle_cuts(st.at, L, first + 2 * st.nth);

    // In order along the line; only crossings on the union's edge cut: in no other boundary.
    const double dx = L.x2 - L.x1, dy = L.y2 - L.y1;
    auto along = [&](const Point& p) { return (p.x - L.x1) * dx + (p.y - L.y1) * dy; };
    for (Cut& c : cuts) c.along = along(c.p);
    in_order(cuts);
    Sweep cut_sweep;
    std::size_t kept = 0;
    for (const Cut& c : cuts) {
        bool deep = c.from >= 0 && isDesignated && deep_in_designated(f, c.p);
        for (int k : cut_sweep.at(c.along)) {
            if (deep) break;
            const int i = stretches[k].at;
            deep = i != c.from && deep_in_circle(i, c.p);
        }
        if (!deep) cuts[kept++] = c;
    }
    cuts.resize(kept);

    // The record's own ends, then the cuts in order; the ends win over cuts on them.
    const Point start = {L.x1, L.y1}, end = {L.x2, L.y2};
    ends.assign(1, start);
    for (const Cut& c : cuts)
        if (!same_point(c.p, ends.back()) && !same_point(c.p, end)) ends.push_back(c.p);
    ends.push_back(end);

    pieces.clear();
    if (restyled_size < ends.size()) {
        restyled_size = 2 * ends.size();
        restyled = std::make_unique<bool[]>(restyled_size);
    }
    Sweep piece_sweep;
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        const Point a = ends[k], b = ends[k + 1];
        if (a.x == b.x && a.y == b.y) continue;
        const Point m = {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5};
        bool inside = isDesignated && probe_in_designated(f, m);
        for (int j : piece_sweep.at(along(m))) {
            if (inside) break;
            inside = probe_in_circle(stretches[j].at, m);
        }
        const bool keep = inside == (isCrop != 0);
        if (!keep && !isKeep) continue;
        restyled[pieces.size()] = !keep;
        pieces.push_back({a.x, a.y, b.x, b.y});
    }
    olineMAX = static_cast<int>(pieces.size()) + 1;
    write_line_pieces(pieces.data(), restyled.get(), static_cast<int>(pieces.size()));
    return true;
}
