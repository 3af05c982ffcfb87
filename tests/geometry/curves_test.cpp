#include <gtest/gtest.h>

#include <cmath>

#include "geometry/curves.h"

namespace {

const double PI = 3.141592653589793;
const double TOL = 0.00025 / 100;

Conic circle(double cx, double cy, double r) { return {{cx, cy}, {r, 0}, {0, r}}; }

// Each angle's point lies on the circle of radius r about o, to far below the tolerance.
void on_circle(const Conic& q, const double* a, int n, const Point& o, double r) {
    for (int i = 0; i < n; ++i) {
        Point p = conic_at(q, a[i]);
        double size = 1 + r + std::fabs(o.x) + std::fabs(o.y);
        EXPECT_LT(std::fabs(std::hypot(p.x - o.x, p.y - o.y) - r), 4e-15 * size) << a[i];
    }
}

TEST(CurveCrossings, CircleAgainstCircle) {
    double a[8];
    const Point o = {0, 0};
    // Two: a circle through the centre of another of its size.
    Conic q = circle(10, 0, 10);
    ASSERT_EQ(conic_circle_crossings(q, o, 10, 0, 2 * PI, TOL, a, 8), 2);
    EXPECT_NEAR(a[0], 2 * PI / 3, 1e-13);
    EXPECT_NEAR(a[1], 4 * PI / 3, 1e-13);
    on_circle(q, a, 2, o, 10);
    // One: an arc whose range holds one of them.
    ASSERT_EQ(conic_circle_crossings(q, o, 10, 0, PI, TOL, a, 8), 1);
    EXPECT_NEAR(a[0], 2 * PI / 3, 1e-13);
    // None: apart, within, concentric.
    EXPECT_EQ(conic_circle_crossings(circle(30, 0, 5), o, 10, 0, 2 * PI, TOL, a, 8), 0);
    EXPECT_EQ(conic_circle_crossings(circle(2, 1, 5), o, 10, 0, 2 * PI, TOL, a, 8), 0);
    EXPECT_EQ(conic_circle_crossings(circle(0, 0, 5), o, 10, 0, 2 * PI, TOL, a, 8), 0);
    // Touching from outside and from inside is no crossing.
    EXPECT_EQ(conic_circle_crossings(circle(20, 0, 10), o, 10, 0, 2 * PI, TOL, a, 8), 0);
    EXPECT_EQ(conic_circle_crossings(circle(0, 5, 5), o, 10, 0, 2 * PI, TOL, a, 8), 0);
    // Far from the origin and on a range that starts elsewhere: the same crossings, in range.
    Conic far = circle(1e6 + 10, -1e6, 10);
    ASSERT_EQ(conic_circle_crossings(far, {1e6, -1e6}, 10, 3, 3 + 2 * PI, TOL, a, 8), 2);
    EXPECT_NEAR(a[0], 4 * PI / 3, 1e-9);
    EXPECT_NEAR(a[1], 2 * PI / 3 + 2 * PI, 1e-9);
    on_circle(far, a, 2, {1e6, -1e6}, 10);
}

TEST(CurveCrossings, CircleAgainstRadiusAndChord) {
    double a[2];
    Conic q = circle(0, 0, 10);
    // The line of a radius through the centre: at 0 and at pi.
    ASSERT_EQ(conic_line_crossings(q, {10, 0}, {0, 0}, 0, 2 * PI, a), 2);
    EXPECT_NEAR(a[0], 0, 1e-15);
    EXPECT_NEAR(a[1], PI, 1e-15);
    // A chord at height 5.
    ASSERT_EQ(conic_line_crossings(q, {-8, 5}, {8, 5}, 0, 2 * PI, a), 2);
    EXPECT_NEAR(a[0], PI / 6, 1e-15);
    EXPECT_NEAR(a[1], 5 * PI / 6, 1e-15);
    // An arc that holds one of them; a line that only touches; one that misses.
    ASSERT_EQ(conic_line_crossings(q, {-8, 5}, {8, 5}, PI / 2, 2 * PI, a), 1);
    EXPECT_NEAR(a[0], 5 * PI / 6, 1e-15);
    EXPECT_EQ(conic_line_crossings(q, {-8, 10}, {8, 10}, 0, 2 * PI, a), 0);
    EXPECT_EQ(conic_line_crossings(q, {-8, 11}, {8, 11}, 0, 2 * PI, a), 0);
}

TEST(CurveCrossings, EllipseAgainstCircle) {
    double a[8];
    const Point o = {0, 0};
    // 144 cos^2 + 36 sin^2 = 100: four crossings.
    Conic q = {{0, 0}, {12, 0}, {0, 6}};
    double c = std::acos(std::sqrt(64.0 / 108));
    ASSERT_EQ(conic_circle_crossings(q, o, 10, 0, 2 * PI, TOL, a, 8), 4);
    const double want[4] = {c, PI - c, PI + c, 2 * PI - c};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(a[i], want[i], 1e-12);
    on_circle(q, a, 4, o, 10);
    // An elliptic arc over half a turn holds two of them.
    ASSERT_EQ(conic_circle_crossings(q, o, 10, 0, PI, TOL, a, 8), 2);
    EXPECT_NEAR(a[1], PI - c, 1e-12);
    // Tilted and off centre: the same four crossings of its own circle's image.
    Conic t = {{3, -2}, {12 * 0.6, 12 * 0.8}, {-6 * 0.8, 6 * 0.6}};
    ASSERT_EQ(conic_circle_crossings(t, {3, -2}, 10, 0, 2 * PI, TOL, a, 8), 4);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(a[i], want[i], 1e-12);
    // Touching at both ends of its major axis: no crossing; reaching 1e-4 beyond: four, close
    // together in pairs about 0 and pi.
    EXPECT_EQ(conic_circle_crossings({{0, 0}, {10, 0}, {0, 5}}, o, 10, 0, 2 * PI, TOL, a, 8), 0);
    Conic out = {{0, 0}, {10.0001, 0}, {0, 5}};
    ASSERT_EQ(conic_circle_crossings(out, o, 10, -1, 2 * PI - 1, TOL, a, 8), 4);
    on_circle(out, a, 4, o, 10);
    EXPECT_LT(std::fabs(a[0]), 0.01);
    EXPECT_LT(std::fabs(a[1]), 0.01);
    EXPECT_LT(std::fabs(a[2] - PI), 0.01);
    EXPECT_LT(std::fabs(a[3] - PI), 0.01);
}

TEST(CurveRange, ClosedAndCounterClockwise) {
    const struct {
        double sk, ek;
        bool closed;
        double s, e;
    } table[] = {{30, 30, true, 30, 390},
                 {0, 360, true, 0, 360},
                 {-90, 270, true, 270, 630},
                 {300, 60, false, 300, 420},
                 {-90, 90, false, 270, 450}};
    for (const auto& t : table) {
        double s, e;
        EXPECT_EQ(arc_range(t.sk, t.ek, s, e), t.closed) << t.sk << " " << t.ek;
        EXPECT_EQ(s, t.s) << t.sk << " " << t.ek;
        EXPECT_EQ(e, t.e) << t.sk << " " << t.ek;
    }
}

} // namespace
