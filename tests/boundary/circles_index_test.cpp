// The circles' index against every circle asked in turn: random sheets of circles of sizes
// fourfolds apart, ellipses, shared centres, sheets in one row, one column or one point, far
// from the origin; random segments and boxes, many grazing a circle's box. The index is only a
// filter before the exact test: it must return what that test accepts, no more, no less.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "boundary/boundary.h"
#include "boundary/circles.h"

namespace {

std::mt19937_64 rng(31); // raw draws only, for the same sheets on every platform
double in(double lo, double hi) { return lo + (hi - lo) * double(rng() >> 11) * 0x1p-53; }
int pick(int n) { return int(rng() % std::uint64_t(n)); }

void box_of(const Circle& c, double b[4]) {
    double hx, hy;
    half_extents(c, hx, hy);
    b[0] = c.cx - hx, b[1] = c.cy - hy, b[2] = c.cx + hx, b[3] = c.cy + hy;
}

bool boxes_meet(const double q[4], const double b[4]) {
    return !(q[2] < b[0] || q[0] > b[2] || q[3] < b[1] || q[1] > b[3]);
}

// The contract: b widened by e meets the box of s, and its corners are not all on one side of
// s's line farther than e * (|dx| + |dy|).
bool near(const Segment& s, double e, const double b[4]) {
    const double q[4] = {std::min(s.x1, s.x2), std::min(s.y1, s.y2), std::max(s.x1, s.x2),
                         std::max(s.y1, s.y2)};
    const double w[4] = {b[0] - e, b[1] - e, b[2] + e, b[3] + e};
    if (!boxes_meet(q, w)) return false;
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1, reach = e * (std::fabs(dx) + std::fabs(dy));
    int above = 0, below = 0;
    for (int i : {0, 2})
        for (int j : {1, 3}) {
            const double side = dx * (b[j] - s.y1) - dy * (b[i] - s.x1);
            above += side > reach, below += side < -reach;
        }
    return above < 4 && below < 4;
}

// The ids of the places got, against those of every circle the test accepts, in id order. A
// coordinate not finite takes every circle.
::testing::AssertionResult same(const std::vector<int>& got, const double q[4], double e,
                                bool box) {
    std::vector<int> ids, want;
    for (int k : got) ids.push_back(CIRCLES[k].id);
    const bool all = !std::isfinite(q[0] + q[1] + q[2] + q[3] + e);
    for (const Circle& c : CIRCLES) {
        double b[4];
        box_of(c, b);
        if (all || (box ? boxes_meet(q, b) : near({q[0], q[1], q[2], q[3]}, e, b)))
            want.push_back(c.id);
    }
    std::sort(want.begin(), want.end());
    if (ids == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << (box ? "box " : "segment ") << q[0] << ' ' << q[1] << ' ' << q[2] << ' ' << q[3]
           << " e " << e << " over " << CIRCLES.size() << " circles: got "
           << testing::PrintToString(ids) << ", want " << testing::PrintToString(want);
}

// A sheet of n circles: 0 spread, 1 in one row, 2 in one column, 3 on one centre.
void make_sheet(int kind, int n, double ox, double oy, double w) {
    static const double sizes[] = {0.00025, 0.8, 2.5, 500};
    reset_circles();
    for (int i = 0; i < n; ++i) {
        if (i == 0 || pick(6) != 0) // else the centre before, again
            CX = ox + (kind == 2 || kind == 3 ? 0 : in(0, w)),
            CY = oy + (kind == 1 || kind == 3 ? 0 : in(0, w));
        CR = sizes[pick(20) == 0 ? 3 : pick(3)];
        CR *= in(0.5, 2); // apart: the order of a product's operands is not fixed
        HP = pick(3) == 0 ? in(-3, 3) : pick(2), JK = in(-180, 180);
        add_circle();
    }
}

TEST(CirclesIndex, FindsExactlyWhatTheExactTestAccepts) {
    std::vector<int> out;
    for (int sheet = 0; sheet < 60; ++sheet) {
        const double far = pick(2) ? 0 : 1e7 + in(0, 1e6),
                     w = std::vector{0.0, 3.0, 60.0, 4000.0}[pick(4)];
        const double ox = pick(2) ? far : -far, oy = far;
        const int kind = pick(4), n = pick(8) == 0 ? 1 : 2 + pick(70);
        make_sheet(kind, n, ox, oy, w);
        const std::vector<Circle> before = CIRCLES;
        index_circles();
        std::vector<bool> seen(before.size());
        auto fields = [](const Circle& c) {
            return std::tie(c.cx, c.cy, c.r, c.hp, c.c, c.s, c.id, c.mapped);
        };
        for (const Circle& c : CIRCLES) {
            ASSERT_TRUE(c.id >= 0 && c.id < int(seen.size()) && !seen[c.id]) << c.id;
            seen[c.id] = true;
            EXPECT_TRUE(fields(c) == fields(before[c.id])) << c.id;
        }
        ASSERT_EQ(CIRCLES.size(), before.size());

        const double lo = -w * 0.2 - 1200, hi = w * 1.2 + 1200;
        for (int i = 0; i < 60; ++i) {
            const double e = std::vector{0.0, 1e-6, 0.01, 0.7, in(0, 50)}[pick(5)];
            double q[4] = {ox + in(lo, hi), oy + in(lo, hi), ox + in(lo, hi), oy + in(lo, hi)};
            const double step = std::vector{1e-4, 1.0, 100.0}[pick(3)];
            double b[4];
            box_of(CIRCLES[pick(int(CIRCLES.size()))], b);
            const int k = pick(9);
            if (k == 0) q[2] = q[0] + in(-step, step), q[3] = q[1] + in(-step, step);
            if (k == 1) q[3] = q[1];                                 // horizontal
            if (k == 2) q[2] = q[0];                                 // vertical
            if (k == 3) q[2] = q[0] + in(-1e-3, 1e-3);               // steep
            if (k == 4) q[2] = q[0], q[3] = q[1];                    // a point
            if (k == 5) q[0] += 1e9, q[2] += 1e9;                    // far beyond every circle
            if (k == 6) q[0] = q[2] = pick(2) ? b[0] - e : b[2] + e; // grazing a side
            if (k == 7) q[1] = q[3] = pick(2) ? b[1] - e : b[3] + e;
            if (k == 8) q[0] = b[2] + e, q[1] = b[3] + e; // from a corner
            if (i == 0) q[pick(4)] = std::numeric_limits<double>::quiet_NaN();
            circles_near({q[0], q[1], q[2], q[3]}, e, out);
            ASSERT_TRUE(same(out, q, e, false)) << "sheet " << sheet;

            if (pick(2)) q[2] = q[0], q[3] = q[1];                        // a point
            if (pick(3) == 0) q[pick(2) ? 0 : 2] = pick(2) ? b[0] : b[2]; // touching a side
            double box[4] = {std::min(q[0], q[2]), std::min(q[1], q[3]), std::max(q[0], q[2]),
                             std::max(q[1], q[3])};
            if (i == 0) box[pick(4)] = (pick(2) ? 1 : -1) * std::numeric_limits<double>::infinity();
            circles_in_box(box, out);
            ASSERT_TRUE(same(out, box, 0, true)) << "sheet " << sheet;
        }
    }
}

} // namespace
