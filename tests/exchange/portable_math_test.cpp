#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "exchange/portable_math.h"

// Within one unit in the last place of the runtime's (nearly correctly rounded here) results,
// over the angles and lengths a drawing gives; the same bits on Windows are the cross-check's.
TEST(PortableMath, WithinAnUlpOfTheRuntime) {
    auto ulps = [](double got, double want) {
        if (got == want) return 0.0;
        return std::fabs(got - want) / std::fabs(std::nextafter(want, INFINITY) - want);
    };
    std::mt19937_64 g(11);
    std::uniform_real_distribution<double> angle(-40, 40), unit(-1, 1), size(-1e7, 1e7);
    for (int i = 0; i < 200000; ++i) {
        double a = angle(g), k = unit(g), x = size(g), y = size(g);
        ASSERT_LE(ulps(portable::sin(a), std::sin(a)), 1) << a;
        ASSERT_LE(ulps(portable::cos(a), std::cos(a)), 1) << a;
        ASSERT_LE(ulps(portable::atan2(x, y), std::atan2(x, y)), 1) << x << " " << y;
        ASSERT_LE(ulps(portable::acos(k), std::acos(k)), 1) << k;
        ASSERT_LE(ulps(portable::hypot(x, y), std::hypot(x, y)), 1) << x << " " << y;
    }
    EXPECT_EQ(portable::sin(0), 0);
    EXPECT_EQ(portable::cos(0), 1);
    EXPECT_EQ(portable::acos(1), 0);
    EXPECT_EQ(portable::atan2(0, -1), std::atan2(0, -1));
    EXPECT_TRUE(std::isnan(portable::sin(INFINITY)) && std::isnan(portable::cos(NAN)));
    EXPECT_LE(std::fabs(portable::sin(1e12)), 1); // whole turns go first there: a number still
}
