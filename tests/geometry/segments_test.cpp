#include <cmath>

#include "geo_fixture.h"

class KotenLnln : public GeoFixture {};

TEST_F(KotenLnln, RecordsWhatLiesOnBothSegments) {
    KPcnt = 3;
    EXPECT_EQ(Koten_lnln({0, 0, 2, 2}, {0, 2, 2, 0}, 1), 4);
    EXPECT_PT(KP[3], 1, 1);
    EXPECT_EQ(Koten_lnln({0, 0, 2, 2}, {2, 2, 4, 0}, 1), 5); // shared end point
    EXPECT_PT(KP[4], 2, 2);
    EXPECT_EQ(Koten_lnln({0, 0, 1, 1}, {0, 4, 4, 0}, 1), 5); // lines meet off A
    EXPECT_EQ(Koten_lnln({0, 0, 2, 2}, {0, 1, 2, 3}, 1), 5); // parallel
    EXPECT_EQ(Koten_lnln({1, 0, 1, 5}, {2, 0, 2, 5}, 1), 5);
    EXPECT_EQ(Koten_lnln({2, 0, 5, 0}, {0, 0, 10, 0}, 1),
              5); // collinear: A's ends are no candidates
    EXPECT_EQ(Koten_lnln({0, 0, 10, 0}, {2, 0, 5, 0}, 1), 7);
    EXPECT_PT(KP[5], 2, 0);
    EXPECT_PT(KP[6], 5, 0);
    EXPECT_EQ(Koten_lnln({1, 0, 1, 10}, {1, 5, 1, 20}, 1), 8);
    EXPECT_PT(KP[7], 1, 5);
    EXPECT_EQ(Koten_lnln({0, 0, 2, 2}, {0, 2, 2, 0}, 1), 8); // full
}

TEST_F(KotenLnln, ToleranceBoxesAndCountOnly) {
    const Segment A = {0, 0, 10, 0}, B = {10.0001, -1, 10.0001, 1}; // 0.0001 beyond A's end
    KPcnt = 3;
    EXPECT_EQ(Koten_lnln(A, B, 1), 4);
    EXPECT_PT(KP[3], 10.0001, 0);
    KP[3] = {-1, -1};
    KPcnt = 0;
    EXPECT_EQ(Koten_lnln(A, B, 0), 0);
    EXPECT_EQ(Koten_lnln({0, 0, 2, 2}, {0, 2, 2, 0}, 0), 1);
    EXPECT_PT(KP[0], 0, 0);
    EXPECT_PT(KP[3], -1, -1);
    gomi = 0.25; // the boxes are open
    EXPECT_EQ(__CROSS(A, A, {10.25, 0}, 1), 0);
    EXPECT_EQ(__CROSS(A, A, {std::nextafter(10.25, 0.0), 0}, 1), 1);
    EXPECT_EQ(__CROSS(A, A, {-0.25, 0}, 1), 0);
    EXPECT_EQ(__CROSS(A, A, {std::nan(""), 0}, 1), 0);
    gomi = 25;
    EXPECT_EQ(__CROSS(A, A, {10.25, 0}, 0), 0);
    EXPECT_EQ(__CROSS(A, A, {10.24, 0}, 0), 1);
}

TEST_F(KotenLnln, Diagnostics) {
    std::string sink;
    writer_open_memory(fpw, sink);
    set_test_mode(2);
    KPcnt = 3;
    testing::internal::CaptureStdout();
    Koten_lnln({0, 0, 0, 1}, {1, 5, 2, 6}, 1);   // refused: p 10
    Koten_lnln({1, 0, 1, 10}, {1, 5, 1, 20}, 1); // reports the refused second end
    Koten_lnln({0, 0, 2, 2}, {0, 1, 2, 3}, 1);   // parallel: entry lines only
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "# Koten_lnln() A1(0.0 , 0.0)---A2(0.0 , 1.0)\n"
              "#              B1(1.0 , 5.0)---B2(2.0 , 6.0)\n"
              "#      XXX  KP[2] kten(0 ,4)  XXX p(10)q(0) KPcnt(3) seido(1)\n"
              "# Koten_lnln() A1(1.0 , 0.0)---A2(1.0 , 10.0)\n"
              "#              B1(1.0 , 5.0)---B2(1.0 , 20.0)\n"
              "#      XXX  KP[3] kten(1 ,20)  XXX p(1)q(0) KPcnt(4) seido(1)\n"
              "# Koten_lnln() A1(0.0 , 0.0)---A2(2.0 , 2.0)\n"
              "#              B1(0.0 , 1.0)---B2(2.0 , 3.0)\n");
    set_test_mode(1); // into the file, and only for recording calls
    KPcnt = 0;
    Koten_lnln({0, 0, 2, 2}, {0, 2, 2, 0}, 0);
    Koten_lnln({0, 0, 2, 2}, {0, 2, 2, 0}, 1);
    writer_close(fpw);
    EXPECT_EQ(sink, "pt 1.0000000000000 1.0000000000000\r\n# # p(7) q(0) kten(1.0 , 1.0)\r\n");
}
