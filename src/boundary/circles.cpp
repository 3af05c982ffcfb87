#include "boundary/circles.h"

#include <algorithm>
#include <cmath>

#include "base/constants.h"
#include "base/portable_math.h"
#include "boundary/boundary.h"
#include "exchange/attributes.h"
#include "exchange/record.h"
#include "exchange/settings.h"

std::vector<Circle> CIRCLES;

// A uniform grid over the circles' boxes: each cell lists the circles whose box meets it. A
// segment is looked up along the cells it passes, column by column (row by row where it is
// steep), so that its cost follows its length and the circles about it. A packed R-tree
// (sort-tile-recursive, fan-out 8) spent half as long again on each segment of a sheet of
// 10,000 circles: every lookup went down its levels, even for a segment that meets none.
static double X0, Y0, CELL; // the grid's lower left corner and the side of a cell
static int NX, NY;
static std::vector<int> cell_start; // cell c lists cell_item[cell_start[c] .. cell_start[c + 1])
static std::vector<int> cell_item;
static std::vector<unsigned> seen; // the lookup that last took each circle, so it is taken once
static unsigned lookup;

void reset_circles() {
    CIRCLES.clear();
    cell_start.clear();
    cell_item.clear();
    seen.clear();
    NX = NY = 0;
}

bool boundary_circle(bool short_form) {
    if (!isAll || SHARP != 0) return false;
    if (isAll == 2 && (COLOR != ALLiro || TYPE != ALLsyu)) return false;
    if (!CIRCLE_WHOLE) return false; // a field that did not read keeps an earlier circle's
    if (!short_form && !(SK == EK || (SK == 0 && EK == 360))) return false; // an arc
    if (!in_bound(CX) || !in_bound(CY) || !in_bound(CR) || !(CR >= GOMI_UNIT)) return false;
    if (short_form || HP == 0 || HP == 1) return true;
    return in_bound(HP) && in_bound(CR * HP) && std::isfinite(JK);
}

void add_circle() {
    Circle c{};
    c.cx = CX, c.cy = CY, c.r = CR;
    c.mapped = HP != 0 && HP != 1; // a short form has HP 0
    c.hp = c.mapped ? HP : 1;
    c.c = 1, c.s = 0;
    double hx = CR, hy = CR;
    if (c.mapped) {
        double t = JK * PAI / 180;
        c.c = portable::cos(t), c.s = portable::sin(t);
        // The ellipse's extent along x and y, from its two semi-axes.
        double a = CR, b = std::fabs(CR * HP);
        hx = portable::hypot(a * c.c, b * c.s), hy = portable::hypot(a * c.s, b * c.c);
        hx = hx * (1 + 1e-12) + 1e-9 * std::fabs(c.cx);
        hy = hy * (1 + 1e-12) + 1e-9 * std::fabs(c.cy);
    }
    c.box[0] = c.cx - hx, c.box[1] = c.cy - hy, c.box[2] = c.cx + hx, c.box[3] = c.cy + hy;
    CIRCLES.push_back(c);
}

// The cell of v along an axis of n cells from origin, the outermost for what lies beyond.
static int cell_of(double v, double origin, int n) {
    double c = std::floor((v - origin) / CELL);
    if (c < 0) return 0;
    return c < n - 1 ? static_cast<int>(c) : n - 1;
}

static int column(double x) { return cell_of(x, X0, NX); }
static int row(double y) { return cell_of(y, Y0, NY); }

void index_circles() {
    const std::size_t n = CIRCLES.size();
    cell_start.clear(), cell_item.clear(), NX = NY = 0;
    seen.assign(n, 0), lookup = 0;
    if (n == 0) return;
    double x1 = CIRCLES[0].box[2], y1 = CIRCLES[0].box[3], size = 0;
    X0 = CIRCLES[0].box[0], Y0 = CIRCLES[0].box[1];
    for (const Circle& c : CIRCLES) {
        X0 = std::min(X0, c.box[0]), Y0 = std::min(Y0, c.box[1]);
        x1 = std::max(x1, c.box[2]), y1 = std::max(y1, c.box[3]);
        size += std::max(c.box[2] - c.box[0], c.box[3] - c.box[1]);
    }
    // About one circle to a cell, and a cell no smaller than a circle is on average: a circle
    // then meets a few cells, and a cell holds a few circles.
    const double w = x1 - X0, h = y1 - Y0;
    CELL = std::max(portable::sqrt(w * h / double(n)), size / double(n));
    if (!(CELL > 0)) CELL = 1;
    const double most = 4.0 * double(n) + 16; // cells, however thin the spread
    NX = static_cast<int>(std::min(most, std::floor(w / CELL) + 1));
    NY = static_cast<int>(std::min(most / NX, std::floor(h / CELL) + 1));
    NX = std::max(NX, 1), NY = std::max(NY, 1);
    CELL = std::max({CELL, w / NX, h / NY}) * (1 + 1e-12);
    cell_start.assign(std::size_t(NX) * NY + 1, 0);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            const double* b = CIRCLES[i].box;
            for (int r = row(b[1]); r <= row(b[3]); ++r)
                for (int c = column(b[0]); c <= column(b[2]); ++c) {
                    const std::size_t cell = std::size_t(r) * NX + c;
                    if (pass == 0)
                        ++cell_start[cell + 1];
                    else
                        cell_item[cell_start[cell]++] = static_cast<int>(i);
                }
        }
        if (pass == 0) {
            for (std::size_t c = 1; c < cell_start.size(); ++c) cell_start[c] += cell_start[c - 1];
            cell_item.resize(cell_start.back());
        } else { // the fill moved each start to the next cell's
            for (std::size_t c = cell_start.size() - 1; c > 0; --c)
                cell_start[c] = cell_start[c - 1];
            cell_start[0] = 0;
        }
    }
}

// The segment passes within e of the box: the boxes meet, and the box's corners do not all lie
// on one side of the segment's line farther than e.
static bool boxes_meet(const Segment& s, double e, const double* box) {
    return !(std::max(s.x1, s.x2) < box[0] - e || std::min(s.x1, s.x2) > box[2] + e ||
             std::max(s.y1, s.y2) < box[1] - e || std::min(s.y1, s.y2) > box[3] + e);
}

static bool meets(const Segment& s, double e, const double* box) {
    if (!boxes_meet(s, e, box)) return false;
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double reach = e * (std::fabs(dx) + std::fabs(dy)); // e times a bound on the length
    int above = 0, below = 0;
    for (double x : {box[0], box[2]})
        for (double y : {box[1], box[3]}) {
            double side = dx * (y - s.y1) - dy * (x - s.x1);
            above += side > reach, below += side < -reach;
        }
    return above < 4 && below < 4; // NaN keeps it
}

// The circles of cells (c, r0 .. r1) not yet taken by this lookup that pass the test.
template <class Meets> static void take(int c, int r0, int r1, Meets meets, std::vector<int>& out) {
    for (int r = r0; r <= r1; ++r) {
        const std::size_t cell = std::size_t(r) * NX + c;
        for (int k = cell_start[cell]; k < cell_start[cell + 1]; ++k) {
            const int i = cell_item[k];
            if (seen[i] == lookup) continue;
            seen[i] = lookup;
            if (meets(CIRCLES[i].box)) out.push_back(i);
        }
    }
}

static void new_lookup() {
    if (++lookup == 0) std::fill(seen.begin(), seen.end(), 0), lookup = 1;
}

void circles_near(const Segment& s, double e, std::vector<int>& out) {
    out.clear();
    if (NX == 0) return;
    // A coordinate that is not a number lies in no cell, and no test of it fails: every circle.
    if (std::isnan(s.x1) || std::isnan(s.y1) || std::isnan(s.x2) || std::isnan(s.y2)) {
        for (std::size_t i = 0; i < CIRCLES.size(); ++i) out.push_back(static_cast<int>(i));
        return;
    }
    new_lookup();
    auto meets_box = [&](const double* box) { return meets(s, e, box); };
    // Along x, column by column, the rows the widened segment spans in each; a steep segment
    // goes along y the same way, with the axes swapped.
    const bool steep = std::fabs(s.y2 - s.y1) > std::fabs(s.x2 - s.x1);
    const double a1 = steep ? s.y1 : s.x1, a2 = steep ? s.y2 : s.x2;
    const double b1 = steep ? s.x1 : s.y1, b2 = steep ? s.x2 : s.y2;
    const double lo = std::min(a1, a2) - e, hi = std::max(a1, a2) + e;
    const double slope = a2 != a1 ? (b2 - b1) / (a2 - a1) : 0;
    const double origin = steep ? Y0 : X0;
    const int first = steep ? row(lo) : column(lo), last = steep ? row(hi) : column(hi);
    for (int k = first; k <= last; ++k) {
        // The segment's other coordinate over this column's span, clamped to its own ends.
        double from = std::max(lo, origin + k * CELL), to = std::min(hi, origin + (k + 1) * CELL);
        from = std::min(std::max(from, std::min(a1, a2)), std::max(a1, a2));
        to = std::min(std::max(to, std::min(a1, a2)), std::max(a1, a2));
        double u = b1 + slope * (from - a1), v = b1 + slope * (to - a1);
        if (u > v) std::swap(u, v);
        if (!(u <= v)) u = std::min(b1, b2), v = std::max(b1, b2); // NaN: the whole extent
        const int m0 = steep ? column(u - e) : row(u - e), m1 = steep ? column(v + e) : row(v + e);
        if (steep)
            for (int c = m0; c <= m1; ++c) take(c, k, k, meets_box, out);
        else
            take(k, m0, m1, meets_box, out);
    }
    std::sort(out.begin(), out.end());
}

void circles_in_box(const double box[4], std::vector<int>& out) {
    out.clear();
    if (NX == 0) return;
    new_lookup();
    const Segment diagonal = {box[0], box[1], box[2], box[3]};
    auto meets_box = [&](const double* other) { return boxes_meet(diagonal, 0, other); };
    for (int c = column(box[0]); c <= column(box[2]); ++c)
        take(c, row(box[1]), row(box[3]), meets_box, out);
    std::sort(out.begin(), out.end());
}

Point into_circle(const Circle& c, const Point& p) {
    double dx = p.x - c.cx, dy = p.y - c.cy;
    return {c.cx + c.c * dx + c.s * dy, c.cy + (c.c * dy - c.s * dx) / c.hp};
}

Point out_of_circle(const Circle& c, const Point& p) {
    double dx = p.x - c.cx, v = c.hp * (p.y - c.cy);
    return {c.cx + c.c * dx - c.s * v, c.cy + c.s * dx + c.c * v};
}
