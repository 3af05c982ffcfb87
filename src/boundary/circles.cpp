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

// A packed R-tree (sort-tile-recursive): the circles in an order where each run of FAN lies
// close together, and above them levels of boxes, each over FAN of the level below. Its size is
// fixed once the pre-scan is done; a query walks down only where a box meets the segment's.
static constexpr int FAN = 8;
struct Node {
    double box[4];
    int first, count; // children: nodes of the level below, or, in the lowest, entries of order
};
static std::vector<int> order;  // circles, tile by tile
static std::vector<Node> nodes; // the lowest level first, the root last
static std::vector<int> level_start;

void reset_circles() {
    CIRCLES.clear();
    order.clear();
    nodes.clear();
    level_start.clear();
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

static void cover(double* box, const double* other) {
    box[0] = std::min(box[0], other[0]), box[1] = std::min(box[1], other[1]);
    box[2] = std::max(box[2], other[2]), box[3] = std::max(box[3], other[3]);
}

void index_circles() {
    const int n = static_cast<int>(CIRCLES.size());
    order.resize(n);
    for (int i = 0; i < n; ++i) order[i] = i;
    auto mid = [](const Circle& c, int k) { return c.box[k] + c.box[k + 2]; };
    // Slices along x, each sorted along y, so that every FAN in a row lie near one another.
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return mid(CIRCLES[a], 0) < mid(CIRCLES[b], 0) ||
               (mid(CIRCLES[a], 0) == mid(CIRCLES[b], 0) && a < b);
    });
    const int leaves = (n + FAN - 1) / FAN;
    const int slices = std::max(1, static_cast<int>(std::ceil(portable::sqrt(double(leaves)))));
    const int per_slice = slices * FAN;
    for (int at = 0; at < n; at += per_slice) {
        auto end = order.begin() + std::min(n, at + per_slice);
        std::sort(order.begin() + at, end, [&](int a, int b) {
            return mid(CIRCLES[a], 1) < mid(CIRCLES[b], 1) ||
                   (mid(CIRCLES[a], 1) == mid(CIRCLES[b], 1) && a < b);
        });
    }
    nodes.clear();
    level_start.assign(1, 0);
    for (int at = 0; at < n; at += FAN) {
        Node node{{0, 0, 0, 0}, at, std::min(FAN, n - at)};
        std::copy(CIRCLES[order[at]].box, CIRCLES[order[at]].box + 4, node.box);
        for (int k = 1; k < node.count; ++k) cover(node.box, CIRCLES[order[at + k]].box);
        nodes.push_back(node);
    }
    // Upper levels over the one below, in the order they came.
    while (static_cast<int>(nodes.size()) - level_start.back() > 1) {
        const int from = level_start.back(), to = static_cast<int>(nodes.size());
        level_start.push_back(to);
        for (int at = from; at < to; at += FAN) {
            Node node{{0, 0, 0, 0}, at, std::min(FAN, to - at)};
            std::copy(nodes[at].box, nodes[at].box + 4, node.box);
            for (int k = 1; k < node.count; ++k) cover(node.box, nodes[at + k].box);
            nodes.push_back(node);
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

template <class Meets> static void query(Meets meets, std::vector<int>& out) {
    out.clear();
    if (nodes.empty()) return;
    // The levels are walked top down with a stack of nodes to look into; a leaf's entries are
    // circles.
    static std::vector<int> stack;
    stack.assign(1, static_cast<int>(nodes.size()) - 1);
    const int leaves_end = level_start.size() > 1 ? level_start[1] : static_cast<int>(nodes.size());
    while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        const Node& node = nodes[at];
        if (!meets(node.box)) continue;
        for (int k = node.first; k < node.first + node.count; ++k) {
            if (at >= leaves_end)
                stack.push_back(k);
            else if (meets(CIRCLES[order[k]].box))
                out.push_back(order[k]);
        }
    }
    std::sort(out.begin(), out.end());
}

void circles_near(const Segment& s, double e, std::vector<int>& out) {
    query([&](const double* box) { return meets(s, e, box); }, out);
}

void circles_in_box(const double box[4], std::vector<int>& out) {
    const Segment diagonal = {box[0], box[1], box[2], box[3]};
    query([&](const double* other) { return boxes_meet(diagonal, 0, other); }, out);
}

Point into_circle(const Circle& c, const Point& p) {
    double dx = p.x - c.cx, dy = p.y - c.cy;
    return {c.cx + c.c * dx + c.s * dy, c.cy + (c.c * dy - c.s * dx) / c.hp};
}

Point out_of_circle(const Circle& c, const Point& p) {
    double dx = p.x - c.cx, v = c.hp * (p.y - c.cy);
    return {c.cx + c.c * dx - c.s * v, c.cy + c.s * dx + c.c * v};
}
