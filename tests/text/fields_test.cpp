#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "text/fields.h"

// The readers must take what C's sscanf takes; the C library is the reference here.
static void expect_like_sscanf(const std::string& text) {
    double want = -7.5, got = -7.5;
    int n = std::sscanf(text.c_str(), "%lf", &want);
    Fields f = fields(text, 0).lf(got);
    ASSERT_EQ(f.ok, n == 1) << "'" << text << "'";
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got)) << text;
        EXPECT_EQ(std::signbit(want), std::signbit(got)) << text;
    } else {
        EXPECT_EQ(std::memcmp(&want, &got, sizeof want), 0)
            << "'" << text << "' " << want << " " << got;
    }
}

TEST(Fields, RealsAsSscanfReadsThem) {
    const char* table[] = {
        "0",
        "-0",
        "+1.5",
        "  \t\n\v\f\r 12.25",
        "1e5",
        "1E-5",
        "-.5",
        "5.",
        ".",
        "e5",
        "1e",
        "1e+",
        "0x1p3",
        "0X1.8P-2",
        "-0x.8",
        "0x",
        "0xg",
        "inf",
        "-INF",
        "Infinity",
        "infinit",
        "nan",
        "-NaN",
        "nan(123)",
        "+",
        "-",
        "+-1",
        "",
        "   ",
        "12abc",
        "1.5.5",
        "1e400",
        "-1e400",
        "1e-400",
        "4.9e-324",
        "2.2250738585072011e-308",
        "0x1p-1080",
        "0x1p2000",
        "1,5",
        "0.1e-3x",
        "0x.",
        "-0x",
        "infi",
        "infx",
        "nan(12",
        "1e+",
        "0x1p+",
        "i",
        "na",
        "179769313486231570000000000000000000000000000000000000000000000000000000"
        "000000000000000000000000000000000000000000000000000000000000000000000000"
        "000000000000000000000000000000000000000000000000000000000000000000000000"
        "000000000000000000000000000000000000000000000000000000000000000000000000"
        "0000000000000000000000000000000000000000000000000000000000"};
    for (const char* t : table) expect_like_sscanf(t);
    expect_like_sscanf("1" + std::string(400, '0'));
    expect_like_sscanf("0." + std::string(400, '0') + "1");
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        char buf[64];
        std::snprintf(buf, sizeof buf, (i & 1) ? "%.17g" : "%a", v);
        expect_like_sscanf(buf);
    }
}

TEST(Fields, IntegersLikeSscanfAndSaturated) {
    const int X = static_cast<int>(0xFFFFFFFFu); // %x saturates to the all-ones pattern
    struct Case {
        const char* text;
        bool ok_d;
        int d;
        bool ok_x;
        int x;
    } table[] = {
        {"12", true, 12, true, 0x12},
        {"  -10", true, -10, true, static_cast<int>(0xFFFFFFF0u)},
        {"+7z", true, 7, true, 7},
        {"0x1A", true, 0, true, 0x1A},
        {"ff", false, 0, true, 0xFF},
        {"2147483647", true, INT_MAX, true, X},
        {"2147483648", true, INT_MAX, true, X},
        {"-2147483648", true, INT_MIN, true, X},
        {"-99999999999999999999", true, INT_MIN, true, X},
        {"FFFFFFFF", false, 0, true, X},
        {"-FFFFFFFF", false, 0, true, 1},
        {"-", false, 0, false, 0},
        {"", false, 0, false, 0},
    };
    for (const auto& c : table) {
        int d = 0, x = 0;
        EXPECT_EQ(fields(c.text, 0).d(d).ok, c.ok_d) << c.text;
        EXPECT_EQ(fields(c.text, 0).x(x).ok, c.ok_x) << c.text;
        EXPECT_EQ(d, c.d) << c.text;
        EXPECT_EQ(x, c.x) << c.text;
        // Where the value fits, the C library agrees.
        long long wide = 0;
        if (std::sscanf(c.text, "%lld", &wide) == 1 && wide >= INT_MIN && wide <= INT_MAX) {
            EXPECT_EQ(d, wide) << c.text;
        }
        unsigned wx = 0;
        if (c.ok_x && c.x != X && std::sscanf(c.text, "%x", &wx) == 1) {
            EXPECT_EQ(static_cast<unsigned>(x), wx) << c.text;
        }
    }
}

TEST(Fields, AFailedFieldStopsTheRest) {
    double a = 1, b = 2, c = 3;
    Fields f = fields(" 5 x 7", 0).lf(a).lf(b).lf(c);
    EXPECT_FALSE(f.ok);
    EXPECT_EQ(f.count, 1);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c, 3);
    // Reading starts at the offset, and a NUL byte ends the record for the readers.
    double h = 0;
    fields("hs12", 3).lf(h);
    EXPECT_EQ(h, 2);
    std::string nul("pt 1\0 2", 7);
    double x = 0, y = 9;
    EXPECT_FALSE(fields(nul, 2).lf(x).lf(y).ok);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 9);
    char tag[3] = {0, 0, 0};
    EXPECT_TRUE(fields("cv 1", 0).c2(tag).ok);
    EXPECT_STREQ(tag, "cv");
    // A record that ends after one byte still gives it, as scanf does; none fails.
    char one[3] = {'x', 'y', 0};
    EXPECT_TRUE(fields("c", 0).c2(one).ok);
    EXPECT_STREQ(one, "cy");
    EXPECT_FALSE(fields("", 0).c2(one).ok);
    int n = 0;
    EXPECT_FALSE(fields("hp1+", 2).d(n).lit('-').ok);
    EXPECT_EQ(n, 1);
}

TEST(Fields, WritersAsPrintfWritesThem) {
    std::mt19937_64 rng(11);
    auto check = [](double v, int decimals) {
        char want[512], got[512];
        std::snprintf(want, sizeof want, "%.*f", decimals, v);
        *put_fixed(got, v, decimals) = '\0';
        EXPECT_STREQ(got, want) << decimals;
    };
    const double table[] = {0.0,    -0.0,   0.125,   0.375,          2.5,  -2.5, 1e308,
                            -1e308, 5e-324, 1.0 / 3, 123456789.0125, 0.05, 0.15, 0.25,
                            9.995,  1e22,   1e-22};
    for (double v : table)
        for (int d : {0, 1, 2, 13}) check(v, d);
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        check(v, i % 14);
    }
    // Drawing coordinates and their rounding ties, where the writer takes its integer path.
    std::uniform_real_distribution<double> coord(-1e6, 1e6);
    for (int i = 0; i < 200000; ++i) {
        double v = coord(rng);
        if (i % 4 == 1) v = std::round(v * 1000) / 1000; // as a CAD program writes them
        if (i % 4 == 2) v = std::ldexp(std::round(std::ldexp(v, 20)), -20 - i % 30);
        check(v, i % 3 == 0 ? 13 : i % 14);
    }
    for (double v : {0.5, 1.5, 2.5, -0.5, 0.05, 0.25, 0.125, 0.375, 1e-14, 5e-14, 0.99999999999995,
                     9.99999999999995, 4503599627370495.5, 1.0 / 1024, 3.0 / 65536})
        for (int d : {0, 1, 2, 13}) check(v, d);
    // Every width of the whole part at 13 decimals, where its digits are counted, and 10^8,
    // where the path ends.
    for (double p = 1; p <= 1e9; p *= 10)
        for (double v : {p, std::nextafter(p, 0.0), p + 5e-14, p - 1e-9, p * 9.999999999999})
            check(v, 13), check(-v, 13);
    char buf[32];
    *put_int(buf, -2147483648LL) = '\0';
    EXPECT_STREQ(buf, "-2147483648");
    *put_hex(buf, 20) = '\0';
    EXPECT_STREQ(buf, "14");
    *put_hex(buf, -1) = '\0';
    EXPECT_STREQ(buf, "ffffffff");
    *put_fixed(buf, NAN, 13) = '\0';
    EXPECT_STREQ(buf, "nan");
    *put_fixed(buf, -INFINITY, 1) = '\0';
    EXPECT_STREQ(buf, "-inf");
    EXPECT_EQ(atoi_sat("  -25x"), -25);
    EXPECT_EQ(atoi_sat("99999999999"), INT_MAX);
    EXPECT_EQ(atoi_sat("x"), 0);
}
