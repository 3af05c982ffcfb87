#include <cmath>
#include <iomanip>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "geo_fixture.h"

class KotenEnLn : public GeoFixture {};

TEST_F(KotenEnLn, RadiusTenCases) {
    const struct {
        Segment s;
        int n;
        Point a, b; // slots 3 and 4 after recording
    } table[] = {
        {{-20, 0, 20, 0}, 2, {10, 0}, {-10, 0}}, {{0, -20, 0, 20}, 2, {0, 10}, {0, -10}},
        {{0, 0, 20, 0}, 1, {10, 0}, {0, 0}},     {{-20, 10, 20, 10}, 2, {0, 10}, {0, 10}},
        {{-20, 11, 20, 11}, 0, {0, 0}, {0, 0}},  {{10.0002, -5, 10.0002, 5}, 0, {0, 0}, {0, 0}},
        {{0, 0, 10, 0}, 1, {10, 0}, {0, 0}}};
    for (const auto& t : table) {
        seed(t.s);
        EXPECT_EQ(Koten_en_ln(t.s, 1), t.n) << t.s.x1 << ", " << t.s.y1;
        EXPECT_EQ(KPcnt, 3);
        EXPECT_EQ(Koten_en_ln(t.s, 0), t.n);
        EXPECT_EQ(KPcnt, 3 + t.n);
        EXPECT_PT(KP[3], t.a.x, t.a.y);
        EXPECT_PT(KP[4], t.b.x, t.b.y);
    }
    KPcnt = 7; // recording never writes past the list
    EXPECT_EQ(Koten_en_ln({-20, 10, 20, 10}, 0), 1);
    EXPECT_EQ(KPcnt, 8);
}

// KDEG is only shown in the diagnostics, so it is kept where they are on.
TEST_F(KotenEnLn, AngleLimitsSetKdeg) {
    std::string sink;
    writer_open_memory(fpw, sink);
    set_test_mode(2);
    testing::internal::CaptureStdout();
    const Segment box = {-20, -20, 20, 20};
    EXPECT_EQ(__CROSS_C(box, {10, 0}), 1);
    EXPECT_EQ(KDEG, 360); // the +360 test wins at angle 0
    KRP[2] = 300, KRP[3] = 420;
    const double r10 = 10 * PAI / 180, r200 = 200 * PAI / 180;
    EXPECT_EQ(__CROSS_C(box, {10 * std::cos(r10), 10 * std::sin(r10)}), 1);
    EXPECT_NEAR(KDEG, 370, 1e-9);
    EXPECT_EQ(__CROSS_C(box, {10 * std::cos(r200), 10 * std::sin(r200)}), 0);
    EXPECT_EQ(KDEG, -1);
    KRP[2] = 90, KRP[3] = 180;
    EXPECT_EQ(__CROSS_C(box, {0, 10}), 1);
    EXPECT_EQ(KDEG, 90);
    EXPECT_EQ(__CROSS_C(box, {-10, 0}), 1);
    EXPECT_EQ(KDEG, 180);
    EXPECT_EQ(__CROSS_C({0, 0, 5, 5}, {-10, 0}), 0); // off the box: KDEG is left alone
    EXPECT_EQ(__CROSS_C(box, {std::nan(""), 10}), 0);
    EXPECT_EQ(KDEG, 180);
    testing::internal::GetCapturedStdout();
    writer_close(fpw);
}

// Without diagnostics a range of every angle skips the angle: the answers must be those of
// the diagnostic run, which computes it, for points anywhere, infinite and NaN included.
TEST_F(KotenEnLn, QuietRunsAnswerAsDiagnosticRuns) {
    std::string sink;
    writer_open_memory(fpw, sink);
    std::mt19937_64 g(3);
    const double odd[] = {0.0, -0.0, 10, -10, 1e300, -1e300, INFINITY, -INFINITY, NAN, 1e-310};
    auto coord = [&] {
        if (g() % 5 == 0) return odd[g() % std::size(odd)];
        return std::ldexp(static_cast<double>(g() % 4001) - 2000, -static_cast<int>(g() % 8));
    };
    const double ranges[][2] = {{0, 360}, {-5, 400}, {0, 359.999}, {1e-9, 360}, {300, 420}};
    // Only a range from 0 or below takes the short way: an angle just above 0 is left out.
    KRP[2] = 1e-5, KRP[3] = 360;
    EXPECT_EQ(__CROSS_C({-20, -20, 20, 20}, {10, 1.745e-7}), 0); // at 1e-6 degrees
    int hits = 0, mismatches = 0;
    std::ostringstream first;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 20000; ++i) {
        const auto& r = ranges[g() % std::size(ranges)];
        KRP[2] = r[0], KRP[3] = r[1];
        K_CX = g() % 3 == 0 ? coord() : 0, K_CY = g() % 3 == 0 ? coord() : 0;
        if (g() % 50 == 0) (g() % 2 ? K_CX : K_CY) = NAN; // a centre that is not a number
        const Segment s = {coord(), coord(), coord(), coord()};
        const Point P = {coord(), coord()};
        set_test_mode(0);
        int quiet = __CROSS_C(s, P);
        set_test_mode(2);
        int shown = __CROSS_C(s, P);
        if (quiet != shown && mismatches++ == 0) // reported once the capture is over
            first << "(" << s.x1 << " " << s.y1 << " " << s.x2 << " " << s.y2 << ") P(" << P.x
                  << " " << P.y << ") K_C(" << K_CX << " " << K_CY << ") KRP " << r[0] << "-"
                  << r[1] << ": quiet " << quiet << ", shown " << shown;
        hits += shown;
    }
    testing::internal::GetCapturedStdout();
    writer_close(fpw);
    EXPECT_EQ(mismatches, 0) << first.str();
    EXPECT_GT(hits, 1000);
}

// Segments anywhere, of every slope, near and far, against circles anywhere: the quiet run's
// short cuts find what the diagnostic run, which tries every candidate, finds.
TEST_F(KotenEnLn, QuietCrossingsAreTheDiagnosticRunsCrossings) {
    std::string sink;
    writer_open_memory(fpw, sink);
    std::mt19937_64 g(17);
    auto real = [&](double scale) {
        return (static_cast<double>(g() % 2000001) / 1000000 - 1) * scale;
    };
    const double odd[] = {0.0, 1e300, -1e300, INFINITY, NAN, 1e13};
    int mismatches = 0, found = 0;
    std::ostringstream first;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 40000; ++i) {
        double size = std::ldexp(1.0, static_cast<int>(g() % 40) - 10);
        K_CX = real(size), K_CY = real(size), K_CR = std::fabs(real(size)) + size * 1e-3;
        gomi = g() % 4 ? 0.00025 : real(0.01);
        KRP[2] = 0, KRP[3] = 360;
        Segment s;
        if (g() % 2) { // through or near the circle's box
            double x = K_CX + real(3 * K_CR), y = K_CY + real(3 * K_CR);
            double len = K_CR * std::ldexp(1.0, static_cast<int>(g() % 12) - 6);
            double a = real(PAI),
                   k = g() % 4 == 0 ? std::ldexp(1.0, -static_cast<int>(g() % 40)) : 1;
            s = {x, y, x + len * std::cos(a) * k, y + len * std::sin(a)};
        } else {
            s = {real(4 * size), real(4 * size), real(4 * size), real(4 * size)};
        }
        if (g() % 20 == 0) (&s.x1)[g() % 4] = odd[g() % std::size(odd)];
        if (g() % 10 == 0) s.y2 = s.y1 + real(1e-9); // nearly level
        const int flag = static_cast<int>(g() % 2);
        set_test_mode(0);
        seed(s);
        int quiet = Koten_en_ln(s, flag);
        const int quiet_cnt = KPcnt;
        const Point q3 = KP[3], q4 = KP[4];
        set_test_mode(2);
        seed(s);
        int shown = Koten_en_ln(s, flag);
        auto same = [](Point a, Point b) {
            auto eq = [](double u, double v) { return u == v || (std::isnan(u) && std::isnan(v)); };
            return eq(a.x, b.x) && eq(a.y, b.y);
        };
        if ((quiet != shown || quiet_cnt != KPcnt || !same(q3, KP[3]) || !same(q4, KP[4])) &&
            mismatches++ == 0)
            first << "(" << s.x1 << " " << s.y1 << " " << s.x2 << " " << s.y2 << ") circle ("
                  << K_CX << " " << K_CY << " " << K_CR << ") gomi " << gomi << ": quiet " << quiet
                  << ", shown " << shown;
        found += shown > 0;
    }
    testing::internal::GetCapturedStdout();
    writer_close(fpw);
    EXPECT_EQ(mismatches, 0) << first.str();
    EXPECT_GT(found, 3000);
}

// Where the short answer says a probe to the centre crosses, the computation finds a crossing:
// points just outside, far from the origin, at slopes up to the limit, with tight tolerances.
TEST_F(KotenEnLn, ShortAnswerForProbesNeverMissesACrossing) {
    std::mt19937_64 g(23);
    auto unit = [&] { return static_cast<double>(g() >> 11) / 9007199254740992.0; };
    int answered = 0, wrong = 0;
    std::ostringstream first;
    for (int i = 0; i < 200000; ++i) {
        double size = std::ldexp(1.0, static_cast<int>(g() % 60) - 20);
        K_CX = (unit() * 2 - 1) * size, K_CY = (unit() * 2 - 1) * size;
        K_CR = size * std::ldexp(unit() + 0.01, -static_cast<int>(g() % 24));
        gomi = std::ldexp(0.00025, static_cast<int>(g() % 30) - 15);
        double a = g() % 3 == 0 ? std::atan(16.0) + (unit() - 0.5) * 1e-3 : unit() * 2 * PAI;
        if (g() % 5 == 0) a = PAI / 2 + std::ldexp(unit(), -static_cast<int>(g() % 40));
        if (g() % 2) a = PAI - a;
        double d = K_CR * (g() % 2 ? 1 + std::ldexp(unit(), -static_cast<int>(g() % 50))
                                   : 1 + unit() * 100);
        const Point p = {K_CX + d * std::cos(a), K_CY + d * std::sin(a)};
        if (!crosses_on_way_to_centre(p)) continue;
        ++answered;
        if (Koten_en_ln({p.x, p.y, K_CX, K_CY}, 1) == 0 && wrong++ == 0)
            first << std::setprecision(17) << "p(" << p.x << " " << p.y << ") circle (" << K_CX
                  << " " << K_CY << " " << K_CR << ") gomi " << gomi;
    }
    EXPECT_EQ(wrong, 0) << first.str();
    EXPECT_GT(answered, 15000);
}

TEST_F(KotenEnLn, DiagnosticsPerCandidate) {
    std::string sink;
    writer_open_memory(fpw, sink);
    set_test_mode(1);
    seed({0, 0, 20, 0});
    testing::internal::CaptureStdout();
    Koten_en_ln({0, 0, 20, 0}, 0);
    Koten_en_ln({-20, 11, 20, 11}, 0); // misses: nothing at all
    set_test_mode(2);
    Koten_en_ln({0, 0, 20, 0}, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "#Koten_en_ln() __CROSS_C(1) KPcnt(3) KDEG(360.0) deg(0.0) KRP(0.0-360.0)\n"
              "#Koten_en_ln() __CROSS_C(0) KPcnt(4) KDEG(360.0) deg(-360.0) KRP(0.0-360.0)\n"
              "#Koten_en_ln() __CROSS_C(1) KPcnt(4) KDEG(360.0) deg(0.0) KRP(0.0-360.0)\n"
              "#Koten_en_ln() __CROSS_C(0) KPcnt(4) KDEG(360.0) deg(-360.0) KRP(0.0-360.0)\n");
    writer_close(fpw);
    const std::string p = "pt 10.0000000000000 0.0000000000000\r\n";
    const std::string m = "pt -10.0000000000000 0.0000000000000\r\n";
    EXPECT_EQ(sink, p + "#Koten_en_ln() __CROSS_C(1) KPcnt(3) KDEG(360.0)\r\n" + p +     //
                        m + "#Koten_en_ln() __CROSS_C(0) KPcnt(4) KDEG(360.0)\r\n" + m + // mode 1
                        "#Koten_en_ln() __CROSS_C(1) KPcnt(4) KDEG(360.0)\r\n" + p +     // mode 2
                        "#Koten_en_ln() __CROSS_C(0) KPcnt(4) KDEG(360.0)\r\n" + m);
}
