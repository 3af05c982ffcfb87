#include <cmath>
#include <limits>

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
