#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "base/portable_math.h"

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

// The nearest double to the root, checked in integers: r = R 2^e, and x lies strictly between
// the squares of the midpoints about r (the one below closer under a power of two).
static bool rounded_once(double x, double r) {
    using u128 = unsigned __int128;
    int ex, er;
    const auto X = static_cast<u128>(std::ldexp(std::frexp(x, &ex), 53));
    const auto R = static_cast<u128>(std::ldexp(std::frexp(r, &er), 53));
    const int shift = ex - 2 * er + 57; // x in units of 2^(2 er - 110)
    if (shift < 0 || shift > 70) return false;
    const u128 down = 4 * R - (R == u128{1} << 52 ? 1 : 2), up = 4 * R + 2;
    return down * down < X << shift && X << shift < up * up;
}

TEST(PortableMath, SquareRootRoundedOnce) {
    std::mt19937_64 g(29);
    for (int i = 0; i < 200000; ++i) {
        // Any positive finite double, and one whose root lies within 2^-54 of a midpoint, where
        // a root rounded first to the x87's 64 bits goes astray.
        std::uint64_t bits = g() >> 1;
        if (bits >> 52 == 0x7ff) continue;
        double x = std::bit_cast<double>(bits);
        ASSERT_TRUE(rounded_once(x, portable::sqrt(x))) << std::hexfloat << x;
        const auto m = 2 * static_cast<unsigned __int128>((g() >> 11) | std::uint64_t{1} << 52) + 1;
        const double near =
            std::ldexp(static_cast<double>(m * m), static_cast<int>(g() % 200) - 208);
        ASSERT_TRUE(rounded_once(near, portable::sqrt(near))) << std::hexfloat << near;
    }
    // The root a crossing of a line with a circle takes (its end-to-end case).
    EXPECT_EQ(portable::sqrt(0x1.15b4ca773330ep+2), 0x1.0aa1df54f24a9p+1); // twice: ...aap+1
    EXPECT_EQ(portable::sqrt(2.25), 1.5);
    EXPECT_TRUE(std::signbit(portable::sqrt(-0.0)) && portable::sqrt(0.0) == 0);
    EXPECT_EQ(portable::sqrt(INFINITY), INFINITY);
    EXPECT_TRUE(std::isnan(portable::sqrt(-1)) && std::isnan(portable::sqrt(NAN)));
}
