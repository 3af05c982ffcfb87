#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "base/portable_math.h"
#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "clip/clip.h"
#include "clip/frame.h"
#include "clip/union.h"
#include "exchange/attributes.h"
#include "exchange/output.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "geometry/curves.h"
#include "geometry/geometry.h"
#include "text/format.h"

// The circle's four crossings and the straight edges' four, with room to spare.
static constexpr int MAX_CUTS = 16;

static Point frame_vector(const Point& w, double c, double s) {
    return {c * w.x + s * w.y, (c * w.y - s * w.x) / K_HP};
}

// How a piece of the curve lies: inside the region, outside, or along the edge (within the
// tolerance all the way, which says nothing of the side).
enum Side { OUTSIDE, INSIDE, ALONG };

// Judged where the piece keeps farthest from the edge of three points. The boundary's own
// circle lies on the edge within the arc's range, which a crop keeps as it keeps the inside.
static Side side_of(const Conic& q, double a, double b, bool on_circle, const Point& E1,
                    const Point& E2, double tol) {
    if (on_circle) return within_arc(conic_at(q, 0.5 * (a + b) * PAI / 180)) ? INSIDE : OUTSIDE;
    Point best = {0, 0};
    double far = -1;
    for (double f : {0.5, 0.25, 0.75}) {
        Point p = conic_at(q, (a + (b - a) * f) * PAI / 180);
        double d = edge_distance(p, iMode, E1, E2);
        if (d > far) far = d, best = p;
    }
    if (!(far >= tol)) return ALONG;
    return inside_region(best, iMode, E1, E2) ? INSIDE : OUTSIDE;
}

static void write_piece(double a, double b, bool short_form) {
    double start = DEG_0_360(a);
    if (start >= 360) start -= 360;
    double end = start + (b - a);
    if (end > 360) end -= 360;
    WR_Z_BACK();
    emit("ci %.13f %.13f %.13f %.13f %.13f %.13f %.13f\n", CX, CY, CR, start, end,
         short_form ? 1.0 : HP, short_form ? 0.0 : JK);
}

// The current curve in the clipping's frame, and the tolerance there: false when the frame of
// a flat ellipse stretches it beyond the bound.
static bool curve_in_frame(const ClipFrame& f, Conic& q, double& tol) {
    double h = HP == 0 || HP == 1 ? 1 : HP;
    double t = JK * PAI / 180, ct = portable::cos(t), st = portable::sin(t);
    q = {{CX, CY}, {CR * ct, CR * st}, {-h * CR * st, h * CR * ct}};
    // The tolerance holds in drawing units: the circle frame stretches by up to 1 / K_HP.
    tol = std::fabs(gomi) / 100;
    if (!f.mapped) return true;
    q = {into_frame(f, q.c), frame_vector(q.u, f.c, f.s), frame_vector(q.v, f.c, f.s)};
    for (double v : {q.c.x, q.c.y, q.u.x, q.u.y, q.v.x, q.v.y})
        if (!in_bound(v)) return false;
    if (std::fabs(K_HP) > 1) tol /= std::fabs(K_HP);
    return true;
}

// The angles in [lo, hi] where the curve is cut, ascending; -1 when they cannot be computed.
// On the boundary's own circle the cuts are the arc's ends: (cos a, sin a) solves
// [u v] x = E - c.
static int curve_cuts(const Conic& q, const ClipFrame& f, bool on_circle, double lo, double hi,
                      double tol, double* cut) {
    if (!on_circle) return edge_candidates(q, iMode, f.E1, f.E2, lo, hi, tol, cut, MAX_CUTS);
    int k = 0;
    double det = q.u.x * q.v.y - q.u.y * q.v.x;
    for (const Point* E : {&f.E1, &f.E2}) {
        double px = E->x - q.c.x, py = E->y - q.c.y;
        double a =
            portable::atan2((q.u.x * py - q.u.y * px) / det, (q.v.y * px - q.v.x * py) / det);
        a = turned_into(a, lo);
        if (a <= hi) cut[k++] = a;
    }
    if (k == 2 && cut[1] < cut[0]) std::swap(cut[0], cut[1]);
    return k;
}

// The ends of the pieces, in the record's degrees, into b; returns the number of pieces. A
// closed curve's pieces run on across its start.
static int piece_ends(const double* cut, int k, bool closed, double s, double e, double* b) {
    int nb = 0;
    if (!closed) b[nb++] = s;
    for (int i = 0; i < k; ++i) {
        double a = cut[i] * 180 / PAI;
        if (closed) {
            if (a < s) a += 360;
            if (a >= s + 360) a -= 360;
        } else if (!(a > s && a < e)) {
            continue;
        }
        int j = nb++;
        for (; j > 0 && b[j - 1] > a; --j) b[j] = b[j - 1];
        b[j] = a;
    }
    if (closed && nb == 0) b[nb++] = s;
    b[nb] = closed ? b[0] + 360 : e;
    return nb;
}

// Which pieces the run keeps; false when every piece runs along the edge.
static bool kept_pieces(const Conic& q, const double* b, int pieces, bool on_circle,
                        const ClipFrame& f, double tol, bool* keep) {
    Side side[MAX_CUTS + 1];
    int known = -1;
    for (int i = 0; i < pieces; ++i) {
        side[i] = side_of(q, b[i], b[i + 1], on_circle, f.E1, f.E2, tol);
        if (side[i] != ALONG && known < 0) known = i;
    }
    if (known < 0) return false;
    // A piece along the edge sides with the one before it (the first known one, at the start).
    for (int i = 0; i < pieces; ++i)
        if (side[i] == ALONG) side[i] = i == 0 ? side[known] : side[i - 1];
    for (int i = 0; i < pieces; ++i) keep[i] = (side[i] == INSIDE) == (isCrop != 0);
    return true;
}

// A run narrower than the tolerance: a cut that falls a rounding off the record's own end
// leaves one, whose angles, once written, could read as the whole curve.
static bool sliver(double a, double b) {
    return (b - a) * PAI / 180 * std::fabs(CR) * std::fmax(1.0, std::fabs(HP)) <
           std::fabs(gomi) / 100;
}

// Neighbouring pieces of one side written as one record each, a closed curve's last run going
// on across its start into its first: the kept pieces, and with -k the others too, restyled.
static void write_runs(const double* b, int pieces, const bool* keep, bool closed,
                       bool short_form) {
    // -a may cut a curve at many circles: the runs are kept from curve to curve.
    static std::vector<double> run_a, run_b;
    static std::vector<char> run_kept;
    run_a.resize(pieces + 1), run_b.resize(pieces + 1), run_kept.resize(pieces + 1);
    int runs = 0;
    for (int i = 0; i < pieces; ++i) {
        if (!keep[i] && !isKeep) continue;
        if (i > 0 && keep[i - 1] == keep[i]) {
            run_b[runs - 1] = b[i + 1];
        } else {
            run_a[runs] = b[i], run_b[runs] = b[i + 1], run_kept[runs] = keep[i];
            ++runs;
        }
    }
    int first = 0;
    if (closed && keep[0] == keep[pieces - 1] && (keep[0] || isKeep)) {
        run_b[runs - 1] = run_b[0] + 360;
        first = 1;
    }
    for (int r = first; r < runs; ++r) {
        if (!run_kept[r] && sliver(run_a[r], run_b[r])) continue; // with -k only
        run_kept[r] ? restyle_end() : restyle_begin();
        write_piece(run_a[r], run_b[r], short_form);
    }
}

// What becomes of a curve that lies wholly on the side the run does not keep.
static int gone() { return isKeep ? 2 : 0; }

// -a: the curve q (in drawing coordinates) cut by the union of the boundaries: each boundary's
// crossings as it alone finds them, those deep inside another dropped; a piece lies inside
// where its middle lies inside one boundary. Answers as Del_c_c; -1 where no circle is near a
// designated boundary's curve: it goes as without -a.
static int cut_by_union(const Conic& q, bool closed, double s, double e, bool short_form) {
    static std::vector<int> near, from;
    static std::vector<double> cut, b;
    static std::vector<char> keep;
    const double reach = std::fabs(CR) * std::fmax(1.0, std::fabs(HP)) + std::fabs(gomi);
    const double box[4] = {CX - reach, CY - reach, CX + reach, CY + reach};
    circles_in_box(box, near);
    if (near.empty() && isDesignated) return -1;
    const double lo = s * PAI / 180, hi = e * PAI / 180;
    const ClipFrame f = isDesignated ? clip_frame() : ClipFrame{false, 0, 0, {0, 0}, {0, 0}};
    cut.clear(), from.clear();
    double found[MAX_CUTS];
    if (isDesignated) {
        Conic qd;
        double tol;
        if (!curve_in_frame(f, qd, tol)) return 1;
        int k = edge_candidates(qd, iMode, f.E1, f.E2, lo, hi, tol, found, MAX_CUTS);
        if (k < 0) return 1; // crossings that cannot be computed are no reason to erase
        cut.assign(found, found + k), from.assign(k, -1);
    }
    for (int i : near) {
        const Circle& c = CIRCLES[i];
        Conic qc = q;
        double tol = std::fabs(gomi) / 100;
        if (c.mapped) {
            auto vec = [&](const Point& w) {
                return Point{c.c * w.x + c.s * w.y, (c.c * w.y - c.s * w.x) / c.hp};
            };
            qc = {into_circle(c, q.c), vec(q.u), vec(q.v)};
            if (std::fabs(c.hp) > 1) tol /= std::fabs(c.hp);
        }
        int k = conic_circle_crossings(qc, {c.cx, c.cy}, c.r, lo, hi, tol, found, MAX_CUTS);
        if (k < 0) return 1;
        cut.insert(cut.end(), found, found + k), from.insert(from.end(), k, i);
    }
    // Only crossings on the union's edge cut.
    std::size_t kept = 0;
    for (std::size_t k = 0; k < cut.size(); ++k) {
        const Point p = conic_at(q, cut[k]);
        bool deep = from[k] >= 0 && isDesignated && deep_in_designated(f, p);
        for (std::size_t j = 0; j < near.size() && !deep; ++j)
            deep = near[j] != from[k] && deep_in_circle(near[j], p);
        if (!deep) cut[kept++] = cut[k];
    }
    cut.resize(kept);
    std::sort(cut.begin(), cut.end());
    b.resize(cut.size() + 2);
    const int pieces = piece_ends(cut.data(), static_cast<int>(cut.size()), closed, s, e, b.data());
    keep.resize(pieces);
    int kept_pieces = 0;
    for (int i = 0; i < pieces; ++i) {
        const Point m = conic_at(q, 0.5 * (b[i] + b[i + 1]) * PAI / 180);
        bool inside = false;
        if (isDesignated)
            inside = inside_region(f.mapped ? into_frame(f, m) : m, iMode, f.E1, f.E2);
        for (std::size_t j = 0; j < near.size() && !inside; ++j) inside = in_circle(near[j], m);
        keep[i] = inside == (isCrop != 0);
        kept_pieces += keep[i];
    }
    if (kept_pieces == pieces) return 1;
    if (kept_pieces == 0) return gone();
    static std::unique_ptr<bool[]> flags;
    static int flags_size;
    if (flags_size < pieces) flags_size = 2 * pieces, flags = std::make_unique<bool[]>(flags_size);
    for (int i = 0; i < pieces; ++i) flags[i] = keep[i];
    write_runs(b.data(), pieces, flags.get(), closed, short_form);
    return 0;
}

int Del_c_c(bool short_form) {
    // Beyond the bound the curve's squares would overflow: it stays whole, in a crop too.
    for (double v : {CX, CY, CR, SK, EK, HP, JK, CR * HP})
        if (!in_bound(v)) return 1;
    if (iMode > 3 && isDesignated) return isCrop ? 1 : gone(); // everything is inside
    double s, e;
    const bool closed = arc_range(SK, EK, s, e);
    if (isAll) {
        const double h = HP == 0 || HP == 1 ? 1 : HP;
        const double t = JK * PAI / 180, ct = portable::cos(t), st = portable::sin(t);
        const Conic drawn = {{CX, CY}, {CR * ct, CR * st}, {-h * CR * st, h * CR * ct}};
        int answer = cut_by_union(drawn, closed, s, e, short_form);
        if (answer >= 0) return answer;
    }
    const ClipFrame f = clip_frame();
    Conic q;
    double tol;
    if (!curve_in_frame(f, q, tol)) return 1;

    // Most curves keep clear of the boundary's circle, and the region lies within it.
    double uu = q.u.x * q.u.x + q.u.y * q.u.y, vv = q.v.x * q.v.x + q.v.y * q.v.y;
    double uv = q.u.x * q.v.x + q.u.y * q.v.y;
    double off = portable::hypot(q.c.x - K_CX, q.c.y - K_CY);
    if (off - portable::sqrt(uu + vv) > K_CR + tol) return isCrop ? gone() : 1;
    // The curve's distances from its centre run from smin to smax.
    double mid = 0.5 * (uu + vv), dev = portable::hypot(0.5 * (uu - vv), uv);
    double smax = portable::sqrt(mid + dev), smin = portable::sqrt(std::fmax(0, mid - dev));
    const bool on_circle = off + std::fmax(std::fabs(smax - K_CR), std::fabs(smin - K_CR)) < tol;
    // Along the edge all the way, or outside beyond the arc: an erase keeps it all.
    if (on_circle && (!isCrop || (iMode != 2 && iMode != 3))) return 1;

    double cut[MAX_CUTS];
    int k = curve_cuts(q, f, on_circle, s * PAI / 180, e * PAI / 180, tol, cut);
    if (k < 0) return 1; // crossings that cannot be computed are no reason to erase
    double b[MAX_CUTS + 2];
    const int pieces = piece_ends(cut, k, closed, s, e, b);
    bool keep[MAX_CUTS + 1];
    if (!kept_pieces(q, b, pieces, on_circle, f, tol, keep)) return 1; // along the edge all the way
    int kept = 0;
    for (int i = 0; i < pieces; ++i) kept += keep[i];
    if (kept == pieces) return 1;
    if (kept == 0) return gone();
    write_runs(b, pieces, keep, closed, short_form);
    return 0;
}
