#include <cmath>

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

TEST_F(KotenEnLn, AngleLimitsSetKdeg) {
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
}

TEST_F(KotenEnLn, DiagnosticsPerCandidate) {
    std::string sink;
    writer_open_memory(fpw, sink);
    isTest = 1;
    seed({0, 0, 20, 0});
    testing::internal::CaptureStdout();
    Koten_en_ln({0, 0, 20, 0}, 0);
    Koten_en_ln({-20, 11, 20, 11}, 0); // misses: nothing at all
    isTest = 2;
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
