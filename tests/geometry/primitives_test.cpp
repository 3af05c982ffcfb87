#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "geo_fixture.h"

class GeoDeg : public GeoFixture {};
class GeoDsen : public GeoFixture {};

TEST_F(GeoDeg, FoldsStepwiseWithBothEndsClosed) {
    const double table[][2] = {{-90, 270},   {0, 0},     {360, 360},    {720, 360},
                               {1080, 360},  {-360, 0},  {-720, 0},     {370, 10},
                               {-180, 180},  {180, 180}, {-0.5, 359.5}, {360000.25, 0.25},
                               {-1e-20, 360}}; // the last +360 rounds to 360
    for (const auto& t : table) EXPECT_EQ(DEG_0_360(t[0]), t[1]) << t[0];
    EXPECT_FALSE(std::signbit(DEG_0_360(-720)));
}

TEST_F(GeoDeg, ReturnsForAnyMagnitude) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double a : {std::nan(""), inf, -inf}) EXPECT_TRUE(std::isnan(DEG_0_360(a)));
    for (double a : {1e300, -1e300, 1e17}) {
        double r = DEG_0_360(a);
        EXPECT_TRUE(r >= 0 && r <= 360) << a << " -> " << r;
    }
    const double turns = 360.0 * 100000; // far beyond the stepwise range, same rule
    EXPECT_EQ(DEG_0_360(turns), 360);
    EXPECT_FALSE(std::signbit(DEG_0_360(-turns)));
    EXPECT_EQ(DEG_0_360(-turns), 0);
    EXPECT_EQ(DEG_0_360(turns + 10.5), 10.5);
    EXPECT_EQ(DEG_0_360(-turns - 0.5), 359.5);
}

TEST_F(GeoDsen, QuadrantsAndDistance) {
    const double nan = std::nan("");
    const Segment s[] = {{0, 0, 1, 0},  {0, 0, 1, 1},   {0, 0, 0, 1},  {0, 0, -1, 1},
                         {0, 0, -1, 0}, {0, 0, -1, -1}, {0, 0, 0, -1}, {0, 0, 1, -1},
                         {5, 5, 5, 5},  {0, 0, nan, 1}};
    const int d[] = {1, 1, 2, 2, 2, 3, 3, 4, 1, 4};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Dsen(s[i]), d[i]) << i;
    EXPECT_EQ(__Distance({0, 0}, {3, 4}), 5);
    EXPECT_EQ(__Distance({-2.5, 7}, {-2.5, 7}), 0);
}

// The class as the angle defines it, with no shortcut.
static int dsen_by_angle(const Segment& s) {
    double a = std::atan2(s.y2 - s.y1, s.x2 - s.x1);
    double h = PAI * 0.5;
    if (0 <= a && a < h) return 1;
    if (h <= a && a <= PAI) return 2;
    if (-PAI <= a && a <= -h) return 3;
    return 4;
}

TEST_F(GeoDsen, AgreesWithTheAngleEverywhere) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double tiny = std::numeric_limits<double>::denorm_min();
    std::vector<Segment> segs;
    // From both a zero and a non-zero start, so the differences are formed as in use.
    auto add = [&segs](double x1, double y1, double dx, double dy) {
        segs.push_back({x1, y1, x1 + dx, y1 + dy});
        segs.push_back({0, 0, dx, dy});
    };
    const double specials[] = {0.0,   -0.0,   1.0,     -1.0,     tiny,    -tiny,   1e-310, -1e-310,
                               1e308, -1e308, DBL_MAX, -DBL_MAX, inf,     -inf,    nan,    -nan,
                               1e-12, -1e-12, 1e12,    -1e12,    DBL_MIN, -DBL_MIN};
    for (double dx : specials)
        for (double dy : specials) add(0, 0, dx, dy);
    // Infinities and NaN in each coordinate in turn.
    for (double bad : {inf, -inf, nan})
        for (int c = 0; c < 4; ++c)
            for (double other : {0.0, -0.0, 1.0, -1.0, 1e308, inf, -inf}) {
                double v[4] = {other, -other, 2 * other, 3.0};
                v[c] = bad;
                segs.push_back({v[0], v[1], v[2], v[3]});
            }
    std::mt19937_64 g(1212);
    std::uniform_real_distribution<double> unit(-1, 1), turn(-PAI, PAI);
    auto sign = [&g] { return g() % 2 ? 1.0 : -1.0; };
    for (int i = 0; i < 100000; ++i) {
        double r = std::ldexp(1.0, static_cast<int>(g() % 2000) - 1000);
        double t = turn(g);
        add(0, 0, r * std::cos(t), r * std::sin(t)); // any direction, any scale
        // Ratios about 1e12 and 1e-12, on both sides, in all four quadrants.
        double ratio = 1e12 * (1 + unit(g) * std::ldexp(1.0, -static_cast<int>(g() % 50)));
        double base = std::ldexp(1.0 + unit(g) * 0.5, static_cast<int>(g() % 1400) - 700);
        add(0, 0, sign() * base, sign() * base * ratio);
        add(0, 0, sign() * base * ratio, sign() * base);
        // Ratios from the shortcut's edge out to where the angle rounds onto an axis.
        double far = std::ldexp(1.0, 36 + static_cast<int>(g() % 30));
        add(unit(g) * 100, unit(g) * 100, sign() * unit(g), sign() * unit(g) * far);
        add(unit(g) * 100, unit(g) * 100, sign() * unit(g) * far, sign() * unit(g));
        // Subnormal and huge components.
        add(0, 0, sign() * tiny * static_cast<double>(g() % 1000),
            sign() * tiny * static_cast<double>(g() % 1000));
        add(0, 0, sign() * 1e308 * std::fabs(unit(g)), sign() * 1e308 * std::fabs(unit(g)));
        add(0, 0, sign() * 1e308 * std::fabs(unit(g)),
            sign() * tiny * static_cast<double>(g() % 8));
        // Exact axes with either zero.
        add(unit(g) * 10, unit(g) * 10, sign() * 0.0, unit(g) * r);
        add(unit(g) * 10, unit(g) * 10, unit(g) * r, sign() * 0.0);
    }
    int differ = 0;
    for (const Segment& s : segs) {
        int want = dsen_by_angle(s), got = Dsen(s);
        if (want != got && ++differ <= 12)
            ADD_FAILURE() << std::hexfloat << s.x1 << ", " << s.y1 << " - " << s.x2 << ", " << s.y2
                          << ": angle gives " << want << ", Dsen " << got;
    }
    EXPECT_EQ(differ, 0) << "of " << segs.size();
}
