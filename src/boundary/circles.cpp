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

// Loose uniform grids: each circle lies in the one cell that holds its centre, and a lookup
// widens what it asks for by the farthest a box of the grid reaches from its centre. A circle is
// so met once, with no mark to keep, and the circles of a row's cells lie side by side. Sizes
// far apart would make the small ones pay for the reach of the large: each fourfold of size
// has a grid of its own. A lookup reads the boxes as floats first, rounded outwards, and passes
// over those apart from it without a branch for each. On a sheet of 1,000,000 segments and
// 10,000 circles the lookups take about 0.17 s; the uniform grid before (a circle listed in every
// cell its box met, each lookup marking those it met) took 0.35 s, a packed R-tree half as much
// again, and Boost.Geometry's R-tree about 0.5 s more in the whole run.
namespace {

struct Grid {
    double x0, y0;  // lower left corner
    double side;    // of a cell
    double inv;     // 1 / side
    double rx, ry;  // the farthest a box reaches from its centre, along x and y
    int nx, ny;     // cells across and up
    std::size_t at; // its cells are cell_start[at .. at + nx * ny]
};

struct Box {
    float x0, y0, x1, y1; // a circle's box, rounded outwards
};

std::vector<Grid> grids;
// Cell k of all grids holds CIRCLES[cell_start[k] .. cell_start[k + 1]).
std::vector<int> cell_start;
std::vector<Box> boxes; // of CIRCLES, place by place
std::vector<int> hits;  // a lookup's places whose boxes meet the box it asks about
double farthest;        // no float box reaches farther from the origin along x or y

// The cell of v along an axis of n cells from origin, the outermost for what lies beyond.
// Monotone in v, so a centre within a range lies in a cell of the range's cells.
int cell_of(double v, double origin, double inv, int n) {
    const double c = (v - origin) * inv;
    if (!(c > 0)) return 0;
    return c < n - 1 ? static_cast<int>(c) : n - 1; // truncated, as floored above 0
}

int column(const Grid& g, double x) { return cell_of(x, g.x0, g.inv, g.nx); }
int row(const Grid& g, double y) { return cell_of(y, g.y0, g.inv, g.ny); }

// The grid of a circle, by its reach from the smallest reach of all: one for each fourfold.
int grid_class(const Circle& c, double smallest) {
    double hx, hy;
    half_extents(c, hx, hy);
    return std::clamp(std::ilogb(std::max(hx, hy) / smallest) / 2, 0, 31);
}

// v as a float no greater, and no less: the nearest float moved out by more than its rounding,
// with no branch. Beyond the floats the sum is not a number, and a test of it fails: no box is
// then passed over.
float below(double v) {
    const float f = static_cast<float>(v);
    return f - (std::fabs(f) * 0x1p-22f + 0x1p-126f);
}

float above(double v) {
    const float f = static_cast<float>(v);
    return f + (std::fabs(f) * 0x1p-22f + 0x1p-126f);
}

// NaN is never apart: such a box is held against the line exactly.
bool apart(const Box& a, const Box& b) {
    return (a.x1 < b.x0) | (a.x0 > b.x1) | (a.y1 < b.y0) | (a.y0 > b.y1);
}

// The places in out, in the body's order.
void in_body_order(std::vector<int>& out) {
    std::sort(out.begin(), out.end(), [](int a, int b) { return CIRCLES[a].id < CIRCLES[b].id; });
}

bool finite(const Segment& s) {
    return std::isfinite(s.x1) && std::isfinite(s.y1) && std::isfinite(s.x2) && std::isfinite(s.y2);
}

} // namespace

void reset_circles() {
    CIRCLES.clear();
    grids.clear();
    cell_start.clear();
    boxes.clear();
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
    if (c.mapped) {
        double t = JK * PAI / 180;
        c.c = portable::cos(t), c.s = portable::sin(t);
    }
    c.id = static_cast<int>(CIRCLES.size());
    CIRCLES.push_back(c);
}

void half_extents(const Circle& c, double& hx, double& hy) {
    hx = hy = c.r;
    if (!c.mapped) return;
    // The ellipse's extent along x and y, from its two semi-axes.
    const double a = c.r, b = std::fabs(c.r * c.hp);
    hx = portable::hypot(a * c.c, b * c.s) * (1 + 1e-12) + 1e-9 * std::fabs(c.cx);
    hy = portable::hypot(a * c.s, b * c.c) * (1 + 1e-12) + 1e-9 * std::fabs(c.cy);
}

// Each size class's grid, over the extent of its centres.
static void make_grids(double smallest, int grid_of[32]) {
    struct Class {
        double x0, y0, x1, y1, rx, ry, far;
        std::size_t n;
    } classes[32] = {};
    for (const Circle& c : CIRCLES) {
        Class& k = classes[grid_class(c, smallest)];
        double hx, hy;
        half_extents(c, hx, hy);
        if (k.n++ == 0) k.x0 = k.x1 = c.cx, k.y0 = k.y1 = c.cy;
        k.x0 = std::min(k.x0, c.cx), k.x1 = std::max(k.x1, c.cx);
        k.y0 = std::min(k.y0, c.cy), k.y1 = std::max(k.y1, c.cy);
        k.rx = std::max(k.rx, hx), k.ry = std::max(k.ry, hy);
        k.far = std::max({k.far, std::fabs(c.cx), std::fabs(c.cy)});
    }
    std::size_t cells = 0;
    for (int i = 0; i < 32; ++i) {
        const Class& k = classes[i];
        grid_of[i] = -1;
        if (k.n == 0) continue;
        Grid g{};
        g.x0 = k.x0, g.y0 = k.y0;
        // About two circles to a cell: fewer rows to walk outweigh more boxes to pass over (a
        // sheet of 10,000 circles ran 4 % faster than with two cells to a circle), and the
        // grid stays small.
        const double w = k.x1 - k.x0, h = k.y1 - k.y0, most = 2.0 * double(k.n) + 16;
        g.side = portable::sqrt(w * h / (0.5 * double(k.n)));
        if (!(g.side > 0)) g.side = std::max(w, h) / most;
        if (!(g.side > 0)) g.side = 1;
        g.nx = static_cast<int>(std::min(most, std::floor(w / g.side) + 1));
        g.ny = static_cast<int>(std::min(most / g.nx, std::floor(h / g.side) + 1));
        g.nx = std::max(g.nx, 1), g.ny = std::max(g.ny, 1);
        g.side = std::max({g.side, w / g.nx, h / g.ny}) * (1 + 1e-12);
        g.inv = 1 / g.side;
        // Widened past the rounding of a lookup's own sums, which is below this near the centres.
        g.rx = k.rx * (1 + 1e-9) + 1e-12 * k.far;
        g.ry = k.ry * (1 + 1e-9) + 1e-12 * k.far;
        g.at = cells;
        cells += std::size_t(g.nx) * std::size_t(g.ny);
        grid_of[i] = static_cast<int>(grids.size());
        grids.push_back(g);
    }
    cell_start.assign(cells + 1, 0);
}

void index_circles() {
    const std::size_t n = CIRCLES.size();
    grids.clear(), cell_start.clear(), boxes.clear();
    if (n == 0) return;
    double smallest = CIRCLES[0].r;
    for (const Circle& c : CIRCLES) {
        double hx, hy;
        half_extents(c, hx, hy);
        smallest = std::min({smallest, hx, hy});
    }
    int grid_of[32];
    make_grids(smallest, grid_of);

    // Sorted by cell, then by body order, in place: a key holds the cell and the place.
    std::vector<unsigned long long> key(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Circle& c = CIRCLES[i];
        const Grid& g = grids[grid_of[grid_class(c, smallest)]];
        const std::size_t cell = g.at + std::size_t(row(g, c.cy)) * g.nx + column(g, c.cx);
        ++cell_start[cell + 1];
        key[i] = (static_cast<unsigned long long>(cell) << 32) | i;
    }
    for (std::size_t k = 1; k < cell_start.size(); ++k) cell_start[k] += cell_start[k - 1];
    std::sort(key.begin(), key.end());
    // Place j takes the circle at place key[j]'s low half: each cycle of that moved round once.
    for (std::size_t j = 0; j < n; ++j) {
        if (key[j] >> 63) continue; // moved already
        const Circle first = CIRCLES[j];
        for (std::size_t k = j;;) {
            const std::size_t from = key[k] & 0xffffffffu;
            key[k] |= 1ull << 63;
            if (from == j) {
                CIRCLES[k] = first;
                break;
            }
            CIRCLES[k] = CIRCLES[from];
            k = from;
        }
    }
    std::vector<unsigned long long>().swap(key);
    farthest = 0;
    boxes.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Circle& c = CIRCLES[i];
        double hx, hy;
        half_extents(c, hx, hy);
        const Box& b =
            boxes[i] = {below(c.cx - hx), below(c.cy - hy), above(c.cx + hx), above(c.cy + hy)};
        farthest = std::max({farthest, double(std::fabs(b.x0)), double(std::fabs(b.y0)),
                             double(std::fabs(b.x1)), double(std::fabs(b.y1))});
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

// The circles of g's row r with centres in the columns from x0 to x1 whose boxes meet q, into
// hits from n on; the new n. Each is written, and counted only when it meets: no branch to
// foretell for each.
static std::size_t take_row(const Grid& g, int r, double x0, double x1, const Box& q,
                            std::size_t n) {
    const std::size_t base = g.at + std::size_t(r) * g.nx;
    const int first = cell_start[base + column(g, x0)];
    const int end = cell_start[base + column(g, x1) + 1];
    if (hits.size() < n + (end - first)) hits.resize(2 * (n + (end - first)));
    for (int k = first; k < end; ++k) {
        hits[n] = k;
        n += !apart(q, boxes[k]);
    }
    return n;
}

// Every circle of g whose box may come within e of the segment s: row by row, the cells of the
// part of s whose y lies within reach of the row's centres, and of those the circles whose box
// meets that part's box widened by e.
static std::size_t walk(const Grid& g, const Segment& s, double e, std::size_t n) {
    const double rx = g.rx + e, ry = g.ry + e;
    const double xlo = std::min(s.x1, s.x2), xhi = std::max(s.x1, s.x2);
    const double ylo = std::min(s.y1, s.y2), yhi = std::max(s.y1, s.y2);
    const double dy = s.y2 - s.y1, run = (s.x2 - s.x1) / dy; // x per y
    const bool sloped = dy != 0 && std::isfinite(run);
    // Widened past the rounding of these sums and of the exact test's.
    const double slack =
        1e-9 * (std::fabs(xlo) + std::fabs(xhi) + std::fabs(ylo) + std::fabs(yhi) + g.side + e);
    const int last = row(g, yhi + ry);
    for (int r = row(g, ylo - ry); r <= last; ++r) {
        double u = xlo, v = xhi; // clamped to the segment's ends; NaN keeps them
        const double b0 = std::max(ylo, g.y0 + r * g.side - ry - slack);
        const double b1 = std::min(yhi, g.y0 + (r + 1) * g.side + ry + slack);
        if (sloped) {
            const double p = s.x1 + (b0 - s.y1) * run, q = s.x1 + (b1 - s.y1) * run;
            u = std::max(xlo, std::min(p, q) - slack), v = std::min(xhi, std::max(p, q) + slack);
        }
        const Box q = {below(u - e - slack), below(std::min(b0, b1) - e - slack),
                       above(v + e + slack), above(std::max(b0, b1) + e + slack)};
        n = take_row(g, r, u - rx, v + rx, q, n);
    }
    return n;
}

static void every_circle(std::vector<int>& out) {
    for (std::size_t i = 0; i < CIRCLES.size(); ++i) out.push_back(static_cast<int>(i));
    in_body_order(out);
}

static void box_of(int k, double box[4]) {
    const Circle& c = CIRCLES[k];
    double hx, hy;
    half_extents(c, hx, hy);
    box[0] = c.cx - hx, box[1] = c.cy - hy, box[2] = c.cx + hx, box[3] = c.cy + hy;
}

void circles_near(const Segment& s, double e, std::vector<int>& out) {
    out.clear();
    if (grids.empty()) return;
    // A coordinate that is not finite lies in no cell, and no test of it fails.
    if (!finite(s) || !std::isfinite(e)) return every_circle(out);
    std::size_t n = 0;
    for (const Grid& g : grids) n = walk(g, s, e, n);
    // The float boxes hold the exact ones: where the line keeps clear of a float box by more
    // than the rounding of either test, it keeps clear of the exact box, which is not read.
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1, length = std::fabs(dx) + std::fabs(dy);
    const double far =
        std::max({std::fabs(s.x1), std::fabs(s.y1), std::fabs(s.x2), std::fabs(s.y2), farthest});
    const double reach = e * length + 1e-12 * length * (far + 1);
    for (std::size_t j = 0; j < n; ++j) {
        const Box& b = boxes[hits[j]];
        const double x0 = b.x0 - s.x1, x1 = b.x1 - s.x1, y0 = b.y0 - s.y1, y1 = b.y1 - s.y1;
        const double c[4] = {dx * y0 - dy * x0, dx * y1 - dy * x0, dx * y0 - dy * x1,
                             dx * y1 - dy * x1};
        const bool left = (c[0] > reach) & (c[1] > reach) & (c[2] > reach) & (c[3] > reach);
        const bool right = (c[0] < -reach) & (c[1] < -reach) & (c[2] < -reach) & (c[3] < -reach);
        if (left | right) continue;
        double box[4];
        box_of(hits[j], box);
        if (meets(s, e, box)) out.push_back(hits[j]);
    }
    in_body_order(out);
}

void circles_in_box(const double box[4], std::vector<int>& out) {
    out.clear();
    if (grids.empty()) return;
    const Segment diagonal = {box[0], box[1], box[2], box[3]};
    if (!finite(diagonal)) return every_circle(out);
    const double x0 = std::min(box[0], box[2]), x1 = std::max(box[0], box[2]);
    const double y0 = std::min(box[1], box[3]), y1 = std::max(box[1], box[3]);
    const Box q = {below(x0), below(y0), above(x1), above(y1)};
    std::size_t n = 0;
    for (const Grid& g : grids) {
        const int last = row(g, y1 + g.ry);
        for (int r = row(g, y0 - g.ry); r <= last; ++r)
            n = take_row(g, r, x0 - g.rx, x1 + g.rx, q, n);
    }
    for (std::size_t j = 0; j < n; ++j) {
        double other[4];
        box_of(hits[j], other);
        if (boxes_meet(diagonal, 0, other)) out.push_back(hits[j]);
    }
    in_body_order(out);
}

Point into_circle(const Circle& c, const Point& p) {
    double dx = p.x - c.cx, dy = p.y - c.cy;
    return {c.cx + c.c * dx + c.s * dy, c.cy + (c.c * dy - c.s * dx) / c.hp};
}

Point out_of_circle(const Circle& c, const Point& p) {
    double dx = p.x - c.cx, v = c.hp * (p.y - c.cy);
    return {c.cx + c.c * dx - c.s * v, c.cy + c.s * dx + c.c * v};
}
