#include <cmath>
#include <initializer_list>

#include "geo_fixture.h"

class KPsortGeo : public GeoFixture {
  protected:
    static int sort(std::initializer_list<Point> pts) {
        KPcnt = 1;
        for (const Point& p : pts) KP[KPcnt++] = p;
        return KPsort();
    }
};
class SortOline : public GeoFixture {};
class KotenKoGen : public GeoFixture {};

TEST_F(KPsortGeo, RemovesLaterDuplicatesThenOrders) {
    EXPECT_EQ(sort({{0, 0}, {10, 0}, {5, 0}, {10.000001, 0}}), 1);
    EXPECT_EQ(KPcnt, 4);
    EXPECT_PT(KP[2], 5, 0);
    EXPECT_PT(KP[3], 10, 0); // the line's own end survives, not the crossing
    EXPECT_EQ(sort({{10, 0}, {0, 0}, {5, 0}}), 0);
    EXPECT_PT(KP[1], 0, 0);
    EXPECT_PT(KP[3], 10, 0);
    EXPECT_EQ(sort({{3, 9}, {3, 1}, {3, 5}}), 0);
    EXPECT_PT(KP[1], 3, 1);
    EXPECT_PT(KP[2], 3, 5);
    // Close in x alone is no duplicate; close in both is, also between two crossings.
    EXPECT_EQ(sort({{0, 0}, {10, 0}, {1, 0}, {1.000001, 5}, {1.000002, 0.000001}}), 1);
    EXPECT_EQ(KPcnt, 5);
    EXPECT_PT(KP[2], 1, 0);
    EXPECT_PT(KP[3], 1.000001, 5);
    // Along a steep line y orders the cuts, whatever the rounding noise in x says.
    EXPECT_EQ(sort({{3, 20},
                    {3.0000000000001, -20},
                    {3.00000000000002, 9.5},
                    {3.00000000000008, -9.5},
                    {3.00000000000002, -1}}),
              0);
    EXPECT_PT(KP[1], 3.0000000000001, -20);
    EXPECT_PT(KP[2], 3.00000000000008, -9.5);
    EXPECT_PT(KP[3], 3.00000000000002, -1);
    EXPECT_PT(KP[4], 3.00000000000002, 9.5);
    EXPECT_PT(KP[5], 3, 20);
    KPcnt = 9;
    EXPECT_EQ(KPsort(), 2);
    EXPECT_EQ(KPcnt, 9);
}

TEST_F(SortOline, TurnsOrdersAndSnaps) {
    ILINE = {10, 0, 0, 0};
    OLINE[1] = {0, 0, 2, 0}, OLINE[2] = {8, 0, 10, 0};
    EXPECT_EQ(SORT_OLINE(ILINE, 3), 0);
    EXPECT_SEG(OLINE[1], 10, 0, 8, 0);
    EXPECT_SEG(OLINE[2], 2, 0, 0, 0);
    ILINE = {0, 0, 10, 0};
    OLINE[1] = {0.0001, 0, 9.9999, 0};
    SORT_OLINE(ILINE, 2);
    EXPECT_SEG(OLINE[1], 0, 0, 10, 0);
    OLINE[1] = {0.0003, 0, 9.9997, 0.0003};
    SORT_OLINE(ILINE, 2);
    EXPECT_SEG(OLINE[1], 0.0003, 0, 9.9997, 0.0003);
    // A cut near the record's end in one coordinate only is a cut, not the end.
    ILINE = {0, 0, 10, 0.001};
    OLINE[1] = {0.5, 0.00005, 9.9999, 0.0009999};
    SORT_OLINE(ILINE, 2);
    EXPECT_SEG(OLINE[1], 0.5, 0.00005, 10, 0.001);
}

// A cut a rounding below a horizontal line (as on a radius that is vertical but for rounding)
// puts the first piece in class 4.
TEST_F(SortOline, RoundingOffAQuadrantDoesNotTurnAPiece) {
    ILINE = {-5, 5, 5, 5};
    const Point c = {3e-16, std::nextafter(5.0, 0.0)};
    OLINE[1] = {-5, 5, c.x, c.y}, OLINE[2] = {c.x, c.y, 5, 5};
    ASSERT_EQ(Dsen(OLINE[1]), 4);
    SORT_OLINE(ILINE, 3);
    EXPECT_SEG(OLINE[1], -5, 5, c.x, c.y);
    EXPECT_SEG(OLINE[2], c.x, c.y, 5, 5);
}

TEST_F(KotenKoGen, ChordAndRadii) {
    PTd[1] = {10, 0}, PTd[2] = {0, 10}; // the mapped flag takes the circle-frame ends
    PT[1] = PT[2] = {50, 50};
    seed({0, 0, 10, 10});
    EXPECT_EQ(Koten_Gen({0, 0, 10, 10}, 0), 0);
    EXPECT_EQ(Koten_Gen({0, 0, 10, 10}, 1), 1);
    EXPECT_PT(KP[3], 5, 5);
    PT[1] = {10, 0}, PT[2] = {0, 10};
    seed({-5, 5, 5, 5});
    EXPECT_EQ(Koten_Ko({-5, 5, 5, 5}, 0), 1);
    EXPECT_PT(KP[3], 0, 5);
}
